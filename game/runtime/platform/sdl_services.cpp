#include "runtime/platform/sdl_services.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

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

bool OpenDocument(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error || !std::filesystem::exists(absolute, error)) return false;
    return SDL_OpenURL(FileUrl(absolute.string()).c_str()) == 0;
}

void ShowSystemCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

std::uint32_t TSdlSystemServices::TickCount() { return gb::TickCount(); }
bool TSdlSystemServices::IsKeyHeld(TVirtualKey key) { return gb::IsKeyHeld(key); }
bool TSdlSystemServices::OpenDocument(const std::string& path) { return gb::OpenDocument(path); }
void TSdlSystemServices::ShowCursor(bool show) { ShowSystemCursor(show); }

}  // namespace gb
