#pragma once
// The system services the main window uses beside the display, as an
// interface so that tests and a headless run can stand in for the platform.

#include <cstdint>
#include <string>

#include "runtime/input_events.h"

namespace gb {

// What the main window needs of the system beside the display.
class TSystemServices {
public:
    virtual ~TSystemServices() = default;
    // Milliseconds, 32-bit and wrapping.
    virtual std::uint32_t TickCount() = 0;
    virtual bool IsKeyHeld(TVirtualKey key) = 0;
    // With the desktop's default application; false when it cannot be opened.
    virtual bool OpenDocument(const std::string& path) = 0;
    virtual void ShowCursor(bool show) = 0;
};

}  // namespace gb
