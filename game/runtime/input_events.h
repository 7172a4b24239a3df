#pragma once
// Keyboard and mouse input as the game sees it: virtual key codes, the
// shift state and mouse buttons of mouse_input.h, and positions in screen
// pixels of the 800 x 600 display.

#include <cstdint>

#include "runtime/mouse_input.h"

namespace gb {

using TVirtualKey = std::uint16_t;

// The virtual key codes of the desktop the game was written for; letters
// and digits are their upper-case ASCII codes. Every key has one: a key
// that has no code of its own is Unassigned, never dropped.
namespace vk {
inline constexpr TVirtualKey Cancel = 0x03, Back = 0x08, Tab = 0x09, Clear = 0x0C, Return = 0x0D, Shift = 0x10,
                             Control = 0x11, Menu = 0x12, Pause = 0x13, Capital = 0x14, Kana = 0x15, Kanji = 0x19,
                             Escape = 0x1B, Convert = 0x1C, NonConvert = 0x1D,
                             Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26,
                             Right = 0x27, Down = 0x28, Select = 0x29, Execute = 0x2B,
                             Snapshot = 0x2C, Insert = 0x2D, Delete = 0x2E, Help = 0x2F, LWin = 0x5B, RWin = 0x5C,
                             Apps = 0x5D, Sleep = 0x5F, Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B,
                             Separator = 0x6C, Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F, F1 = 0x70,
                             F12 = 0x7B, F13 = 0x7C, F24 = 0x87, NumLock = 0x90, Scroll = 0x91, OemNecEqual = 0x92,
                             BrowserBack = 0xA6, BrowserForward = 0xA7, BrowserRefresh = 0xA8, BrowserStop = 0xA9,
                             BrowserSearch = 0xAA, BrowserFavorites = 0xAB, BrowserHome = 0xAC, VolumeMute = 0xAD,
                             VolumeDown = 0xAE, VolumeUp = 0xAF, MediaNextTrack = 0xB0, MediaPrevTrack = 0xB1,
                             MediaStop = 0xB2, MediaPlayPause = 0xB3, LaunchMail = 0xB4, LaunchMediaSelect = 0xB5,
                             LaunchApp1 = 0xB6, LaunchApp2 = 0xB7,
                             Oem1 = 0xBA,  // ; :
                             OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE,
                             Oem2 = 0xBF,  // / ?
                             Oem3 = 0xC0,  // ` ~
                             Oem4 = 0xDB,  // [ {
                             Oem5 = 0xDC,  // \ |
                             Oem6 = 0xDD,  // ] }
                             Oem7 = 0xDE,  // ' "
                             Oem102 = 0xE2,  // the key beside the left Shift on ISO keyboards
                             CrSel = 0xF7, ExSel = 0xF8, OemClear = 0xFE, Unassigned = 0xFF;
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
    // The window gained or lost the keyboard focus.
    virtual void FocusChanged(bool focused) = 0;
};

}  // namespace gb
