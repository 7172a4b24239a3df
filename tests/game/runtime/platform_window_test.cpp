#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "runtime/display.h"
#include "runtime/frame_timer.h"
#include "runtime/game_canvas.h"
#include "runtime/platform/sdl_event_loop.h"
#include "runtime/platform/sdl_window.h"

using namespace gb;

namespace {

class TCountingEvents : public TWindowEvents {
public:
    void KeyDown(TVirtualKey& key, TShiftState) override { Keys.push_back(key); }
    void KeyUp(TVirtualKey&, TShiftState) override {}
    void MouseMove(TShiftState, int, int) override {}
    void MouseDown(TMouseButton, TShiftState, int, int) override {}
    void MouseUp(TMouseButton, TShiftState, int, int) override {}
    void FocusChanged(bool focused) override { Focus.push_back(focused); }
    std::vector<TVirtualKey> Keys;
    std::vector<bool> Focus;
};

void PushKey(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void PushWindowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    SDL_PushEvent(&e);
}

// The one window the test has open.
SDL_Window* OpenWindow() {
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; !window && id < 64; ++id) window = SDL_GetWindowFromID(id);
    return window;
}

// The logical pixel (x, y) as the window shows it, as 0xRRGGBB.
Uint32 ShownPixel(int x, int y) {
    SDL_Renderer* renderer = SDL_GetRenderer(OpenWindow());
    Uint32 pixel = 0;
    SDL_Rect one{x, y, 1, 1};
    SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_RGB888, &pixel, 4);
    return pixel & 0xFFFFFF;
}

struct SdlEventLoop : ::testing::Test {
    void SetUp() override { Display.Initialize(); }
    void TearDown() override { Display.Finalize(); }

    TSdlWindow Window{"Glimmer Bay"};
    TDisplay Display{Window, nullptr};
    TFrameTimer Timer;
    TCountingEvents Events;
    TSdlEventLoop Loop{Window, Display, Timer, Events};
};

}  // namespace

TEST(SdlWindow, ShowsTheBackSurfaceInEitherDepth) {
    for (int bits : {16, 32}) {
        TSdlWindow window("Glimmer Bay");
        TDisplay display(window, nullptr);
        display.SetBitsPerPixel(bits);
        display.SetWindowed(true);
        display.Initialize();
        ASSERT_TRUE(window.IsOpen());
        EXPECT_TRUE(display.CanDraw());
        display.Surface().Fill(bbx::RGB(0, 0, 255));
        display.Surface().Canvas().SetPixel(10, 20, bbx::RGB(255, 0, 0));
        display.Surface().ReleaseCanvas();
        display.Flip();
        // The software renderer reads back what was presented last.
        EXPECT_EQ(ShownPixel(10, 20), 0xFF0000u) << bits;
        EXPECT_EQ(ShownPixel(11, 20), 0x0000FFu) << bits;
        display.Finalize();
        EXPECT_FALSE(window.IsOpen());
    }
}

TEST(SdlWindow, StartsFullScreenAndTogglesToAWindowAndBack) {
    TSdlWindow window("Glimmer Bay");
    TDisplay display(window, nullptr);
    display.Initialize();
    SDL_Window* native = OpenWindow();
    ASSERT_NE(native, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_STREQ(SDL_GetWindowTitle(native), "Glimmer Bay");
    display.ToggleWindowed();
    EXPECT_TRUE(window.IsWindowed());
    EXPECT_EQ(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    int w = 0, h = 0;
    SDL_GetWindowSize(native, &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    display.ToggleWindowed();
    EXPECT_NE(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    display.Finalize();
}

TEST_F(SdlEventLoop, HandsKeysToTheGameTogglesOnAltEnterAndEndsOnQuit) {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

    PushKey(SDL_SCANCODE_B, SDLK_b, KMOD_NONE);
    PushKey(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT);
    EXPECT_TRUE(Loop.HandleEvents());
    EXPECT_EQ(Events.Keys, std::vector<TVirtualKey>{'B'});
    EXPECT_TRUE(Display.Windowed());

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(Loop.HandleEvents());
    EXPECT_TRUE(Timer.Active()) << "a window without focus still shows what the game shows then";
    EXPECT_EQ(Events.Focus, std::vector<bool>{false}) << "each change told once";
    int activations = 0;
    Timer.OnActivate = [&] { ++activations; };
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    EXPECT_TRUE(Loop.HandleEvents());
    EXPECT_EQ(Events.Focus, (std::vector<bool>{false, true}));
    EXPECT_FALSE(Timer.Active()) << "minimised";
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    EXPECT_TRUE(Loop.HandleEvents());
    EXPECT_TRUE(Timer.Active());
    EXPECT_EQ(activations, 1);

    PushKey(SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT);
    EXPECT_FALSE(Loop.HandleEvents());
}

TEST_F(SdlEventLoop, RunTicksTheTimerUntilTheCloseRequest) {
    int ticks = 0;
    Timer.OnTimer = [&] {
        if (++ticks == 5) PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        Display.Flip();
    };
    Timer.SetEnabled(true, 0);
    ASSERT_FALSE(Window.HasVsync()) << "the dummy driver's software renderer";
    const Uint32 start = SDL_GetTicks();
    Loop.Run();
    EXPECT_EQ(ticks, 5);
    // Paced to 60 Hz: the first frame at once, four more a period apart.
    EXPECT_GE(SDL_GetTicks() - start, 4 * 16u);
}

TEST_F(SdlEventLoop, AWindowWithoutFocusTicksSlowly) {
    int ticks = 0;
    Timer.OnTimer = [&] {
        if (++ticks == 3) PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        Display.Flip();
    };
    Timer.SetEnabled(true, 0);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    const Uint32 start = SDL_GetTicks();
    Loop.Run();
    EXPECT_EQ(ticks, 3);
    EXPECT_GE(SDL_GetTicks() - start, 2 * 1000u / TSdlEventLoop::UnfocusedRate);
    EXPECT_EQ(Events.Focus, std::vector<bool>{false});
}
