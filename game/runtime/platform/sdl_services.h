#pragma once
// System services of the platform beside the display.

#include <cstdint>
#include <string>

#include "runtime/system_services.h"

namespace gb {

// Milliseconds since SDL started, 32-bit and wrapping.
std::uint32_t TickCount();

// Opens a file with the desktop's default application (through xdg-open);
// false when the file is missing or could not be handed over.
bool OpenDocument(const std::string& path);

// The file URL of a path: "file://" and the absolute path, percent-encoded.
std::string FileUrl(const std::string& absolutePath);

void ShowSystemCursor(bool show);

// The main window's system services on SDL.
class TSdlSystemServices final : public TSystemServices {
public:
    std::uint32_t TickCount() override;
    bool IsKeyHeld(TVirtualKey key) override;
    bool OpenDocument(const std::string& path) override;
    void ShowCursor(bool show) override;
};

}  // namespace gb
