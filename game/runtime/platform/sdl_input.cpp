#include "runtime/platform/sdl_input.h"

#include <SDL.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "runtime/display.h"

namespace gb {
namespace {

// Keys found by their position on the keyboard, as virtual keys are (the
// OEM codes name the keys of the US layout). Letters, digits and F1-F24
// are found apart; a key found nowhere is vk::Unassigned.
constexpr std::pair<SDL_Scancode, TVirtualKey> ScancodeKeys[] = {
    {SDL_SCANCODE_RETURN, vk::Return},
    {SDL_SCANCODE_RETURN2, vk::Return},
    {SDL_SCANCODE_KP_ENTER, vk::Return},
    {SDL_SCANCODE_ESCAPE, vk::Escape},
    {SDL_SCANCODE_SPACE, vk::Space},
    {SDL_SCANCODE_BACKSPACE, vk::Back},
    {SDL_SCANCODE_TAB, vk::Tab},
    {SDL_SCANCODE_LSHIFT, vk::Shift},
    {SDL_SCANCODE_RSHIFT, vk::Shift},
    {SDL_SCANCODE_LCTRL, vk::Control},
    {SDL_SCANCODE_RCTRL, vk::Control},
    {SDL_SCANCODE_LALT, vk::Menu},
    {SDL_SCANCODE_RALT, vk::Menu},
    {SDL_SCANCODE_MODE, vk::Menu},
    {SDL_SCANCODE_LGUI, vk::LWin},
    {SDL_SCANCODE_RGUI, vk::RWin},
    {SDL_SCANCODE_APPLICATION, vk::Apps},
    {SDL_SCANCODE_MENU, vk::Apps},
    {SDL_SCANCODE_PAUSE, vk::Pause},
    {SDL_SCANCODE_CAPSLOCK, vk::Capital},
    {SDL_SCANCODE_NUMLOCKCLEAR, vk::NumLock},
    {SDL_SCANCODE_SCROLLLOCK, vk::Scroll},
    {SDL_SCANCODE_PRINTSCREEN, vk::Snapshot},
    {SDL_SCANCODE_SYSREQ, vk::Snapshot},
    {SDL_SCANCODE_PAGEUP, vk::Prior},
    {SDL_SCANCODE_PRIOR, vk::Prior},
    {SDL_SCANCODE_PAGEDOWN, vk::Next},
    {SDL_SCANCODE_END, vk::End},
    {SDL_SCANCODE_HOME, vk::Home},
    {SDL_SCANCODE_LEFT, vk::Left},
    {SDL_SCANCODE_UP, vk::Up},
    {SDL_SCANCODE_RIGHT, vk::Right},
    {SDL_SCANCODE_DOWN, vk::Down},
    {SDL_SCANCODE_INSERT, vk::Insert},
    {SDL_SCANCODE_DELETE, vk::Delete},
    {SDL_SCANCODE_SEMICOLON, vk::Oem1},
    {SDL_SCANCODE_EQUALS, vk::OemPlus},
    {SDL_SCANCODE_COMMA, vk::OemComma},
    {SDL_SCANCODE_MINUS, vk::OemMinus},
    {SDL_SCANCODE_PERIOD, vk::OemPeriod},
    {SDL_SCANCODE_SLASH, vk::Oem2},
    {SDL_SCANCODE_GRAVE, vk::Oem3},
    {SDL_SCANCODE_LEFTBRACKET, vk::Oem4},
    {SDL_SCANCODE_BACKSLASH, vk::Oem5},
    {SDL_SCANCODE_NONUSHASH, vk::Oem5},  // the same key on ISO keyboards
    {SDL_SCANCODE_RIGHTBRACKET, vk::Oem6},
    {SDL_SCANCODE_APOSTROPHE, vk::Oem7},
    {SDL_SCANCODE_NONUSBACKSLASH, vk::Oem102},
    {SDL_SCANCODE_KP_0, vk::Numpad0},
    {SDL_SCANCODE_KP_1, vk::Numpad0 + 1},
    {SDL_SCANCODE_KP_2, vk::Numpad0 + 2},
    {SDL_SCANCODE_KP_3, vk::Numpad0 + 3},
    {SDL_SCANCODE_KP_4, vk::Numpad0 + 4},
    {SDL_SCANCODE_KP_5, vk::Numpad0 + 5},
    {SDL_SCANCODE_KP_6, vk::Numpad0 + 6},
    {SDL_SCANCODE_KP_7, vk::Numpad0 + 7},
    {SDL_SCANCODE_KP_8, vk::Numpad0 + 8},
    {SDL_SCANCODE_KP_9, vk::Numpad0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, vk::Multiply},
    {SDL_SCANCODE_KP_PLUS, vk::Add},
    {SDL_SCANCODE_KP_MINUS, vk::Subtract},
    {SDL_SCANCODE_KP_PERIOD, vk::Decimal},
    {SDL_SCANCODE_KP_DIVIDE, vk::Divide},
    {SDL_SCANCODE_KP_COMMA, vk::Separator},
    {SDL_SCANCODE_SEPARATOR, vk::Separator},
    {SDL_SCANCODE_KP_EQUALS, vk::OemNecEqual},
    {SDL_SCANCODE_KP_EQUALSAS400, vk::OemNecEqual},
    {SDL_SCANCODE_CLEAR, vk::Clear},
    {SDL_SCANCODE_CLEARAGAIN, vk::OemClear},
    {SDL_SCANCODE_CANCEL, vk::Cancel},
    {SDL_SCANCODE_SELECT, vk::Select},
    {SDL_SCANCODE_EXECUTE, vk::Execute},
    {SDL_SCANCODE_HELP, vk::Help},
    {SDL_SCANCODE_CRSEL, vk::CrSel},
    {SDL_SCANCODE_EXSEL, vk::ExSel},
    {SDL_SCANCODE_SLEEP, vk::Sleep},
    {SDL_SCANCODE_INTERNATIONAL1, vk::Oem102},  // the Japanese Ro key
    {SDL_SCANCODE_INTERNATIONAL2, vk::Kana},
    {SDL_SCANCODE_INTERNATIONAL3, vk::Oem5},  // the Yen key
    {SDL_SCANCODE_INTERNATIONAL4, vk::Convert},
    {SDL_SCANCODE_INTERNATIONAL5, vk::NonConvert},
    {SDL_SCANCODE_LANG1, vk::Kana},  // Hangul
    {SDL_SCANCODE_LANG2, vk::Kanji},  // Hanja
    {SDL_SCANCODE_MUTE, vk::VolumeMute},
    {SDL_SCANCODE_AUDIOMUTE, vk::VolumeMute},
    {SDL_SCANCODE_VOLUMEDOWN, vk::VolumeDown},
    {SDL_SCANCODE_VOLUMEUP, vk::VolumeUp},
    {SDL_SCANCODE_AUDIONEXT, vk::MediaNextTrack},
    {SDL_SCANCODE_AUDIOPREV, vk::MediaPrevTrack},
    {SDL_SCANCODE_AUDIOSTOP, vk::MediaStop},
    {SDL_SCANCODE_AUDIOPLAY, vk::MediaPlayPause},
    {SDL_SCANCODE_MEDIASELECT, vk::LaunchMediaSelect},
    {SDL_SCANCODE_MAIL, vk::LaunchMail},
    {SDL_SCANCODE_COMPUTER, vk::LaunchApp1},
    {SDL_SCANCODE_APP1, vk::LaunchApp1},
    {SDL_SCANCODE_CALCULATOR, vk::LaunchApp2},
    {SDL_SCANCODE_APP2, vk::LaunchApp2},
    {SDL_SCANCODE_WWW, vk::BrowserHome},
    {SDL_SCANCODE_AC_HOME, vk::BrowserHome},
    {SDL_SCANCODE_AC_SEARCH, vk::BrowserSearch},
    {SDL_SCANCODE_AC_BACK, vk::BrowserBack},
    {SDL_SCANCODE_AC_FORWARD, vk::BrowserForward},
    {SDL_SCANCODE_AC_STOP, vk::BrowserStop},
    {SDL_SCANCODE_STOP, vk::BrowserStop},
    {SDL_SCANCODE_AC_REFRESH, vk::BrowserRefresh},
    {SDL_SCANCODE_AC_BOOKMARKS, vk::BrowserFavorites},
};

TShiftState ShiftStateOf(std::uint16_t modifiers, std::uint32_t buttons) {
    TShiftState shift = 0;
    if (modifiers & KMOD_SHIFT) shift |= ssShift;
    if (modifiers & KMOD_ALT) shift |= ssAlt;
    if (modifiers & KMOD_CTRL) shift |= ssCtrl;
    if (buttons & SDL_BUTTON_LMASK) shift |= ssLeft;
    if (buttons & SDL_BUTTON_RMASK) shift |= ssRight;
    if (buttons & SDL_BUTTON_MMASK) shift |= ssMiddle;
    return shift;
}

std::optional<TMouseButton> MouseButtonOf(std::uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return TMouseButton::Left;
        case SDL_BUTTON_RIGHT: return TMouseButton::Right;
        case SDL_BUTTON_MIDDLE: return TMouseButton::Middle;
        default: return std::nullopt;
    }
}

// The pointer may stand on the letterbox bars, outside the logical screen.
int ClampX(int x) { return std::clamp(x, 0, TDisplay::ScreenWidth - 1); }
int ClampY(int y) { return std::clamp(y, 0, TDisplay::ScreenHeight - 1); }

}  // namespace

TVirtualKey VirtualKeyOf(const SDL_Keysym& key) {
    if (key.scancode >= SDL_SCANCODE_1 && key.scancode <= SDL_SCANCODE_9)
        return static_cast<TVirtualKey>('1' + (key.scancode - SDL_SCANCODE_1));
    if (key.scancode == SDL_SCANCODE_0) return '0';
    // Letters follow the layout; on a layout without Latin letters they
    // keep the place they have on a Latin one.
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) return static_cast<TVirtualKey>('A' + (key.sym - SDLK_a));
    if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z)
        return static_cast<TVirtualKey>('A' + (key.scancode - SDL_SCANCODE_A));
    if (key.scancode >= SDL_SCANCODE_F1 && key.scancode <= SDL_SCANCODE_F12)
        return static_cast<TVirtualKey>(vk::F1 + (key.scancode - SDL_SCANCODE_F1));
    if (key.scancode >= SDL_SCANCODE_F13 && key.scancode <= SDL_SCANCODE_F24)
        return static_cast<TVirtualKey>(vk::F13 + (key.scancode - SDL_SCANCODE_F13));
    for (const auto& [scancode, code] : ScancodeKeys)
        if (scancode == key.scancode) return code;
    return vk::Unassigned;
}

bool IsKeyHeld(TVirtualKey key) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int i = 0; i < count; ++i) {
        if (!state[i]) continue;
        SDL_Keysym held{};
        held.scancode = static_cast<SDL_Scancode>(i);
        held.sym = SDL_GetKeyFromScancode(held.scancode);
        if (VirtualKeyOf(held) == key) return true;
    }
    return false;
}

TWindowChange TSdlInput::Key(const SDL_Event& event, bool down) {
    const SDL_Keysym& keysym = event.key.keysym;
    const auto scancode = static_cast<std::size_t>(keysym.scancode) % Kept.size();
    if (!down && Kept[scancode]) {
        Kept[scancode] = false;
        return TWindowChange::None;
    }
    const bool alt = (keysym.mod & KMOD_ALT) != 0;
    if (down && alt && (keysym.scancode == SDL_SCANCODE_RETURN || keysym.scancode == SDL_SCANCODE_KP_ENTER)) {
        Kept[scancode] = true;
        return event.key.repeat ? TWindowChange::None : TWindowChange::ToggleWindowed;
    }
    if (down && alt && keysym.scancode == SDL_SCANCODE_F4) {
        Kept[scancode] = true;
        return TWindowChange::Quit;
    }
    if (down && event.key.repeat) return TWindowChange::None;
    TVirtualKey key = VirtualKeyOf(keysym);
    const TShiftState shift = ShiftStateOf(keysym.mod, SDL_GetMouseState(nullptr, nullptr));
    if (down)
        Events.KeyDown(key, shift);
    else
        Events.KeyUp(key, shift);
    return TWindowChange::None;
}

TWindowChange TSdlInput::Dispatch(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT: return TWindowChange::Quit;
        case SDL_KEYDOWN: return Key(event, true);
        case SDL_KEYUP: return Key(event, false);
        case SDL_MOUSEMOTION:
            Events.MouseMove(ShiftStateOf(SDL_GetModState(), event.motion.state), ClampX(event.motion.x),
                             ClampY(event.motion.y));
            return TWindowChange::None;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const std::optional<TMouseButton> button = MouseButtonOf(event.button.button);
            if (!button) return TWindowChange::None;
            // The shift state holds the buttons as they are after this event.
            std::uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
            if (event.type == SDL_MOUSEBUTTONDOWN)
                buttons |= SDL_BUTTON(event.button.button);
            else
                buttons &= ~SDL_BUTTON(event.button.button);
            const TShiftState shift = ShiftStateOf(SDL_GetModState(), buttons);
            const int x = ClampX(event.button.x), y = ClampY(event.button.y);
            if (event.type == SDL_MOUSEBUTTONDOWN)
                Events.MouseDown(*button, shift, x, y);
            else
                Events.MouseUp(*button, shift, x, y);
            return TWindowChange::None;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: return TWindowChange::Quit;
                case SDL_WINDOWEVENT_FOCUS_GAINED: return TWindowChange::FocusGained;
                case SDL_WINDOWEVENT_FOCUS_LOST: return TWindowChange::FocusLost;
                case SDL_WINDOWEVENT_MINIMIZED: return TWindowChange::Minimized;
                case SDL_WINDOWEVENT_RESTORED: return TWindowChange::Restored;
                default: return TWindowChange::None;
            }
        default: return TWindowChange::None;
    }
}

}  // namespace gb
