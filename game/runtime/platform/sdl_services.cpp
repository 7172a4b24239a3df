#include "runtime/platform/sdl_services.h"

#include <SDL.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "runtime/platform/sdl_input.h"

namespace gb {

std::uint32_t TickCount() { return SDL_GetTicks(); }

std::string FileUrl(const std::string& absolutePath) {
    std::string url = "file://";
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                           byte == '/' || byte == '-' || byte == '_' || byte == '.' || byte == '~';
        if (plain) {
            url += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            url += escaped;
        }
    }
    return url;
}

namespace {

// The process's environment without LD_PRELOAD, which a launcher may have
// set for the game alone and which some browsers do not start with.
std::vector<char*> OpenerEnvironment() {
    std::vector<char*> environment;
    for (char** entry = environ; *entry; ++entry)
        if (std::string_view(*entry).substr(0, 11) != "LD_PRELOAD=") environment.push_back(*entry);
    environment.push_back(nullptr);
    return environment;
}

}  // namespace

bool OpenUrl(const std::string& url, std::chrono::milliseconds patience) {
    std::string program = "xdg-open";
    std::string argument = url;
    char* const arguments[] = {program.data(), argument.data(), nullptr};
    const std::vector<char*> environment = OpenerEnvironment();
    pid_t opener = 0;
    if (::posix_spawnp(&opener, program.c_str(), nullptr, nullptr, arguments, environment.data()) != 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(opener, &status, WNOHANG);
        if (ended == opener) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0 && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Still at work: it has found something to open the page with (an opener
    // often waits for the browser it starts). Its end is collected aside.
    try {
        std::thread([opener] { ::waitpid(opener, nullptr, 0); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the ended opener is left until the game ends.
    }
    return true;
}

bool OpenDocument(const std::string& path, std::chrono::milliseconds patience) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error || !std::filesystem::exists(absolute, error)) return false;
    return OpenUrl(FileUrl(absolute.string()), patience);
}

void ShowSystemCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

std::uint32_t TSdlSystemServices::TickCount() { return gb::TickCount(); }
bool TSdlSystemServices::IsKeyHeld(TVirtualKey key) { return gb::IsKeyHeld(key); }
bool TSdlSystemServices::OpenDocument(const std::string& path) { return gb::OpenDocument(path); }
void TSdlSystemServices::ShowCursor(bool show) { ShowSystemCursor(show); }

}  // namespace gb
