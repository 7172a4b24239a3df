#include "runtime/screenshot_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/code_page.h"
#include "core/errors.h"
#include "core/file_descriptor.h"

namespace gb {
namespace {

constexpr std::string_view kFolderName = "GlimmerBay";
// More shots in one second than anyone takes; beyond it the folder is
// taken to be unusable.
constexpr int kMostSameSecond = 1000;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

// The value of one line of user-dirs.dirs: a shell-quoted path, absolute or
// starting with $HOME; empty when it is neither.
std::string UserDirsValue(std::string_view quoted, const std::string& home) {
    if (quoted.size() < 2 || quoted.front() != '"') return {};
    std::string value;
    for (std::size_t i = 1; i < quoted.size() && quoted[i] != '"'; ++i) {
        if (quoted[i] == '\\' && i + 1 < quoted.size()) ++i;
        value += quoted[i];
    }
    if (value == "$HOME" || value.starts_with("$HOME/")) return IsAbsolute(home) ? home + value.substr(5) : std::string();
    return IsAbsolute(value) ? value : std::string();
}

std::string PicturesFromUserDirs(const std::string& home) {
    std::string config = Environment("XDG_CONFIG_HOME");
    if (!IsAbsolute(config)) {
        if (!IsAbsolute(home)) return {};
        config = home + "/.config";
    }
    std::ifstream file(config + "/user-dirs.dirs");
    constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
    std::string picked;
    for (std::string line; std::getline(file, line);) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, kKey.size(), kKey) != 0) continue;
        // The last assignment wins, as in the shell.
        picked = UserDirsValue(std::string_view(line).substr(start + kKey.size()), home);
    }
    return picked;
}

std::string FileName(const std::tm& when, int number) {
    char stamp[64];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &when);
    std::string name = std::string(kFolderName) + " " + std::string(stamp, length);
    if (number > 1) name += " (" + std::to_string(number) + ")";
    return name + ".png";
}

[[noreturn]] void ThrowWriteError(int code, const std::string& path) {
    throw bbx::EInOutError(code, bbx::Pl<"Nie można zapisać zrzutu ekranu ">() + bbx::Utf8ToCp1250(path) + ": " +
                                     bbx::Utf8ToCp1250(std::generic_category().message(code)));
}

}  // namespace

std::string ScreenshotDirectory() {
    const std::string home = Environment("HOME");
    std::string pictures = Environment("XDG_PICTURES_DIR");
    if (!IsAbsolute(pictures)) pictures = PicturesFromUserDirs(home);
    if (pictures.empty()) {
        if (!IsAbsolute(home)) return {};
        pictures = home + "/Pictures";
    }
    if (pictures.back() != '/') pictures += '/';
    return pictures + std::string(kFolderName) + "/";
}

std::string SaveScreenshot(const std::string& directory, std::string_view png, const std::tm& when) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) ThrowWriteError(error.value(), directory);
    for (int number = 1; number <= kMostSameSecond; ++number) {
        const std::string name = FileName(when, number);
        const std::string path = directory + name;
        // O_EXCL: a file of that name, or a link by it, is never written through.
        bbx::TFileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (file.Get() < 0) {
            if (errno == EEXIST) continue;
            ThrowWriteError(errno, path);
        }
        if (!bbx::WriteAll(file.Get(), png) || file.Close() != 0) {
            const int code = errno;
            ::unlink(path.c_str());
            ThrowWriteError(code, path);
        }
        return name;
    }
    ThrowWriteError(EEXIST, directory + FileName(when, kMostSameSecond));
}

}  // namespace gb
