#include "core/program_directory.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace bbx {
namespace {

// The install tree's data folder relative to its bin folder; the build's
// install rules keep to it.
constexpr std::string_view kDataFromBin = "../share/";

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The XDG base folder from the variable, or the default below the home.
std::string UserDirectory(const char* variable, std::string_view homeDefault, std::string_view name) {
    std::string base = Environment(variable);
    if (base.empty() || base[0] != '/') {
        const std::string home = Environment("HOME");
        if (home.empty() || home[0] != '/') return {};
        base = home + "/";
        base += homeDefault;
    }
    if (base.back() != '/') base += '/';
    base += name;
    return base + "/";
}

}  // namespace

std::string ProgramDirectory() {
    const std::string path = ExecutablePath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string ProgramFileName() {
    const std::string path = ExecutablePath();
    return path.substr(path.rfind('/') + 1);
}

std::string DataDirectory(const std::string& programDirectory, std::string_view name) {
    std::string installed = programDirectory;
    installed += kDataFromBin;
    installed += name;
    installed += '/';
    if (!IsDirectory(installed)) return programDirectory;
    // "/usr/share/glimmerbay/" rather than "/usr/bin/../share/glimmerbay/" in messages.
    return std::filesystem::path(installed).lexically_normal().string();
}

std::string DataDirectory(std::string_view name) { return DataDirectory(ProgramDirectory(), name); }

std::string UserConfigDirectory(std::string_view name) { return UserDirectory("XDG_CONFIG_HOME", ".config", name); }

std::string UserStateDirectory(std::string_view name) { return UserDirectory("XDG_STATE_HOME", ".local/state", name); }

}  // namespace bbx
