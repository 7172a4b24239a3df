#pragma once
// System services of the platform beside the display.

#include <chrono>
#include <cstdint>
#include <string>

#include "runtime/system_services.h"

namespace gb {

// Milliseconds since SDL started, 32-bit and wrapping.
std::uint32_t TickCount();

// How long opening a document waits for the opener's answer.
inline constexpr std::chrono::milliseconds OpenerPatience{1500};

// Hands the URL to xdg-open and waits up to `patience` for it to finish:
// false when it cannot be started or ends with a failure (as it does when
// no application can open the URL); true when it succeeds or is still at
// work when the time is up.
bool OpenUrl(const std::string& url, std::chrono::milliseconds patience = OpenerPatience);

// Opens a file with the desktop's default application, as OpenUrl; false
// at once when the file is missing.
bool OpenDocument(const std::string& path, std::chrono::milliseconds patience = OpenerPatience);

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
