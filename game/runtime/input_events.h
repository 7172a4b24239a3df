#pragma once
// Keyboard and mouse input as the game sees it: virtual key codes, the
// shift state and mouse buttons of mouse_input.h, and positions in screen
// pixels of the 800 x 600 display.

#include <cstdint>

#include "runtime/mouse_input.h"

namespace gb {

using TVirtualKey = std::uint16_t;

// The virtual key codes the game names; letters and digits are their
// upper-case ASCII codes.
namespace vk {
inline constexpr TVirtualKey Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12,
                             Pause = 0x13, Capital = 0x14, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22,
                             End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28,
                             Insert = 0x2D, Delete = 0x2E, Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B,
                             Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F, F1 = 0x70;
}  // namespace vk

// What the display window reports to the game's main window.
class TWindowEvents {
public:
    virtual ~TWindowEvents() = default;
    // The handler may change the key (0 = handled).
    virtual void KeyDown(TVirtualKey& key, TShiftState shift) = 0;
    virtual void KeyUp(TVirtualKey& key, TShiftState shift) = 0;
    virtual void MouseMove(TShiftState shift, int x, int y) = 0;
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) = 0;
};

}  // namespace gb
