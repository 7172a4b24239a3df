#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "runtime/platform/sdl_input.h"

using namespace gb;

namespace {

class TRecordingEvents : public TWindowEvents {
public:
    void KeyDown(TVirtualKey& key, TShiftState shift) override { Add("down", key, shift); }
    void KeyUp(TVirtualKey& key, TShiftState shift) override { Add("up", key, shift); }
    void MouseMove(TShiftState shift, int x, int y) override { Add("move", 0, shift, x, y); }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        Add("press", static_cast<int>(button), shift, x, y);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
        Add("release", static_cast<int>(button), shift, x, y);
    }
    // The event loop hands focus changes on, not the input.
    void FocusChanged(bool) override {}
    void Add(const std::string& what, int code, TShiftState shift, int x = -1, int y = -1) {
        std::string line = what + " " + std::to_string(code) + " s" + std::to_string(shift);
        if (x >= 0) line += " " + std::to_string(x) + "," + std::to_string(y);
        Log.push_back(line);
    }
    std::vector<std::string> Log;
};

SDL_Event KeyEvent(bool down, SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat ? 1 : 0;
    return e;
}

SDL_Event MouseButtonEvent(bool down, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event WindowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

TVirtualKey Code(SDL_Scancode scancode, SDL_Keycode sym) {
    SDL_Keysym key{};
    key.scancode = scancode;
    key.sym = sym;
    return VirtualKeyOf(key);
}

using Log = std::vector<std::string>;

}  // namespace

TEST(SdlInput, MapsKeysToTheVirtualKeyCodesTheGameNames) {
    EXPECT_EQ(Code(SDL_SCANCODE_RETURN, SDLK_RETURN), 13);
    EXPECT_EQ(Code(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER), 13);
    EXPECT_EQ(Code(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), 27);
    EXPECT_EQ(Code(SDL_SCANCODE_SPACE, SDLK_SPACE), 32);
    EXPECT_EQ(Code(SDL_SCANCODE_1, SDLK_1), 49);
    EXPECT_EQ(Code(SDL_SCANCODE_4, SDLK_4), 52);
    EXPECT_EQ(Code(SDL_SCANCODE_0, SDLK_0), 48);
    EXPECT_EQ(Code(SDL_SCANCODE_LEFT, SDLK_LEFT), 0x25);
    EXPECT_EQ(Code(SDL_SCANCODE_UP, SDLK_UP), 0x26);
    EXPECT_EQ(Code(SDL_SCANCODE_RIGHT, SDLK_RIGHT), 0x27);
    EXPECT_EQ(Code(SDL_SCANCODE_DOWN, SDLK_DOWN), 0x28);
    EXPECT_EQ(Code(SDL_SCANCODE_A, SDLK_a), 'A');
    EXPECT_EQ(Code(SDL_SCANCODE_Z, SDLK_z), 'Z');
    // Letters follow the layout (AZERTY's A key), digits the key's position.
    EXPECT_EQ(Code(SDL_SCANCODE_Q, SDLK_a), 'A');
    EXPECT_EQ(Code(SDL_SCANCODE_2, SDLK_2 + 100), '2');
    EXPECT_EQ(Code(SDL_SCANCODE_F1, SDLK_F1), 0x70);
    EXPECT_EQ(Code(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT), 0x10);
}

TEST(SdlInput, EveryOtherKeyHasTheDesktopsCodeToo) {
    const std::pair<SDL_Scancode, TVirtualKey> keys[] = {
        {SDL_SCANCODE_COMMA, 0xBC},       {SDL_SCANCODE_PERIOD, 0xBE},       {SDL_SCANCODE_MINUS, 0xBD},
        {SDL_SCANCODE_EQUALS, 0xBB},      {SDL_SCANCODE_SLASH, 0xBF},        {SDL_SCANCODE_SEMICOLON, 0xBA},
        {SDL_SCANCODE_LEFTBRACKET, 0xDB}, {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, {SDL_SCANCODE_APOSTROPHE, 0xDE},
        {SDL_SCANCODE_BACKSLASH, 0xDC},   {SDL_SCANCODE_NONUSHASH, 0xDC},    {SDL_SCANCODE_GRAVE, 0xC0},
        {SDL_SCANCODE_NONUSBACKSLASH, 0xE2}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x90}, {SDL_SCANCODE_SCROLLLOCK, 0x91},
        {SDL_SCANCODE_PRINTSCREEN, 0x2C}, {SDL_SCANCODE_PAUSE, 0x13},        {SDL_SCANCODE_LGUI, 0x5B},
        {SDL_SCANCODE_RGUI, 0x5C},        {SDL_SCANCODE_APPLICATION, 0x5D},  {SDL_SCANCODE_MENU, 0x5D},
        {SDL_SCANCODE_F12, 0x7B},         {SDL_SCANCODE_F13, 0x7C},          {SDL_SCANCODE_F18, 0x81},
        {SDL_SCANCODE_F24, 0x87},         {SDL_SCANCODE_CAPSLOCK, 0x14},     {SDL_SCANCODE_KP_5, 0x65},
        {SDL_SCANCODE_KP_DIVIDE, 0x6F},   {SDL_SCANCODE_AUDIOPLAY, 0xB3},    {SDL_SCANCODE_VOLUMEUP, 0xAF},
        {SDL_SCANCODE_AC_BACK, 0xA6},     {SDL_SCANCODE_INTERNATIONAL3, 0xDC},
    };
    for (const auto& [scancode, code] : keys)
        EXPECT_EQ(Code(scancode, SDL_GetKeyFromScancode(scancode)), code) << SDL_GetScancodeName(scancode);
    // On a layout without Latin letters, the letter of the key's place.
    EXPECT_EQ(Code(SDL_SCANCODE_Q, 0x439), 'Q') << "Cyrillic short i";
}

TEST(SdlInput, NoKeyIsWithoutACode) {
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const auto key = static_cast<SDL_Scancode>(scancode);
        EXPECT_NE(Code(key, SDL_GetKeyFromScancode(key)), 0) << scancode;
    }
    EXPECT_EQ(Code(SDL_SCANCODE_EJECT, SDLK_EJECT), vk::Unassigned) << "a key the desktop has no code for";
    EXPECT_EQ(Code(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN), vk::Unassigned);
}

TEST(SdlInput, KeyPressesReachTheGameWithTheirShiftStateButNotTheirAutoRepeat) {
    TRecordingEvents events;
    TSdlInput input(events);
    EXPECT_EQ(input.Dispatch(KeyEvent(true, SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT | KMOD_RCTRL)), TWindowChange::None);
    input.Dispatch(KeyEvent(true, SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT, true));
    input.Dispatch(KeyEvent(false, SDL_SCANCODE_A, SDLK_a));
    EXPECT_EQ(events.Log, (Log{"down 65 s5", "up 65 s0"}));
}

TEST(SdlInput, KeysWithoutACodeOfTheirOwnReachTheGameAsWell) {
    TRecordingEvents events;
    TSdlInput input(events);
    input.Dispatch(KeyEvent(true, SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE));
    input.Dispatch(KeyEvent(false, SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE));
    input.Dispatch(KeyEvent(true, SDL_SCANCODE_EJECT, SDLK_EJECT));
    input.Dispatch(KeyEvent(false, SDL_SCANCODE_EJECT, SDLK_EJECT));
    input.Dispatch(KeyEvent(true, SDL_SCANCODE_F13, SDLK_F13, KMOD_LSHIFT));
    EXPECT_EQ(events.Log, (Log{"down 192 s0", "up 192 s0", "down 255 s0", "up 255 s0", "down 124 s1"}));
}

TEST(SdlInput, AltEnterAndAltF4BelongToTheWindow) {
    TRecordingEvents events;
    TSdlInput input(events);
    EXPECT_EQ(input.Dispatch(KeyEvent(true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT)),
              TWindowChange::ToggleWindowed);
    EXPECT_EQ(input.Dispatch(KeyEvent(true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, true)), TWindowChange::None)
        << "holding the keys toggles once";
    // The release belongs to the window too, even with Alt already up.
    EXPECT_EQ(input.Dispatch(KeyEvent(false, SDL_SCANCODE_RETURN, SDLK_RETURN)), TWindowChange::None);
    EXPECT_EQ(input.Dispatch(KeyEvent(true, SDL_SCANCODE_F4, SDLK_F4, KMOD_RALT)), TWindowChange::Quit);
    input.Dispatch(KeyEvent(false, SDL_SCANCODE_F4, SDLK_F4, KMOD_RALT));
    EXPECT_TRUE(events.Log.empty());

    // A plain Enter is the game's.
    input.Dispatch(KeyEvent(true, SDL_SCANCODE_RETURN, SDLK_RETURN));
    input.Dispatch(KeyEvent(false, SDL_SCANCODE_RETURN, SDLK_RETURN));
    EXPECT_EQ(events.Log, (Log{"down 13 s0", "up 13 s0"}));
}

TEST(SdlInput, MouseButtonsAreZeroOneTwoInsideTheLogicalScreen) {
    TRecordingEvents events;
    TSdlInput input(events);
    input.Dispatch(MouseButtonEvent(true, SDL_BUTTON_LEFT, 10, 20));
    input.Dispatch(MouseButtonEvent(false, SDL_BUTTON_LEFT, 10, 20));
    input.Dispatch(MouseButtonEvent(true, SDL_BUTTON_RIGHT, 799, 599));
    input.Dispatch(MouseButtonEvent(true, SDL_BUTTON_MIDDLE, -30, 900));
    input.Dispatch(MouseButtonEvent(true, SDL_BUTTON_X1, 5, 5));
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = 1000;
    move.motion.y = -4;
    move.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
    input.Dispatch(move);
    EXPECT_EQ(events.Log, (Log{"press 0 s8 10,20", "release 0 s0 10,20", "press 1 s16 799,599", "press 2 s32 0,599",
                               "move 0 s24 799,0"}));
}

TEST(SdlInput, WindowEventsAreReportedNotPassedOn) {
    TRecordingEvents events;
    TSdlInput input(events);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(input.Dispatch(quit), TWindowChange::Quit);
    EXPECT_EQ(input.Dispatch(WindowEvent(SDL_WINDOWEVENT_CLOSE)), TWindowChange::Quit);
    EXPECT_EQ(input.Dispatch(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)), TWindowChange::FocusGained);
    EXPECT_EQ(input.Dispatch(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)), TWindowChange::FocusLost);
    EXPECT_EQ(input.Dispatch(WindowEvent(SDL_WINDOWEVENT_MINIMIZED)), TWindowChange::Minimized);
    EXPECT_EQ(input.Dispatch(WindowEvent(SDL_WINDOWEVENT_RESTORED)), TWindowChange::Restored);
    EXPECT_EQ(input.Dispatch(WindowEvent(SDL_WINDOWEVENT_MOVED)), TWindowChange::None);
    EXPECT_TRUE(events.Log.empty());
}
