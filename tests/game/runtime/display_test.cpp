#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/display.h"
#include "runtime/frame_timer.h"
#include "runtime/game_canvas.h"
#include "runtime/keyboard_state.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/platform/null/null_presenter.h"

using namespace gb;
using bbx::TPixelFormat;

namespace {

using Log = std::vector<std::string>;

}  // namespace

TEST(Display, InitialiseSetsTheModeThenCallsItsHandlerWithTheBackSurfaceReady) {
    TNullPresenter presenter;
    TBoxTextRenderer text;
    TDisplay display(presenter, &text);
    EXPECT_EQ(display.BitsPerPixel(), 16);
    EXPECT_FALSE(display.CanDraw());
    int surfaceWidth = 0;
    display.OnInitialize = [&] {
        presenter.Log.push_back("handler");
        surfaceWidth = display.Surface().Width();
    };
    display.Initialize();
    EXPECT_EQ(presenter.Log, (Log{"open 800x600 16 full", "handler"}));
    EXPECT_EQ(surfaceWidth, 800);
    EXPECT_EQ(display.Surface().Height(), 600);
    EXPECT_EQ(display.Surface().Format(), TPixelFormat::Rgb565);
    EXPECT_TRUE(display.CanDraw());
    presenter.Lost = true;
    EXPECT_FALSE(display.CanDraw());
    presenter.Lost = false;

    // Surfaces made on the display share its format and text renderer.
    TSurface offscreen(display);
    EXPECT_EQ(offscreen.Format(), TPixelFormat::Rgb565);
    offscreen.SetSize(8, 8);
    EXPECT_EQ(offscreen.Canvas().TextWidth("abc"), 30);

    display.Initialize();
    EXPECT_EQ(presenter.Log.size(), 2u) << "a second initialise does nothing";
}

TEST(Display, DepthIsChosenBeforeInitialiseAndStaysFixedWhileSet) {
    TNullPresenter presenter;
    TDisplay display(presenter, nullptr);
    display.SetBitsPerPixel(32);
    EXPECT_EQ(display.Format(), TPixelFormat::Xrgb8888);
    display.Initialize();
    EXPECT_EQ(display.Surface().Format(), TPixelFormat::Xrgb8888);
    display.SetBitsPerPixel(24);
    EXPECT_EQ(display.BitsPerPixel(), 32) << "the running mode keeps its depth";
    display.Finalize();
    EXPECT_EQ(display.BitsPerPixel(), 16);
    EXPECT_EQ(presenter.Log, (Log{"open 800x600 32 full", "close"}));
}

TEST(Display, FlipPresentsTheBackSurfaceOnlyWhileItCanDraw) {
    TNullPresenter presenter;
    TDisplay display(presenter, nullptr);
    display.Flip();
    display.Initialize();
    display.Surface().Fill(bbx::RGB(255, 255, 255));
    display.Flip();
    EXPECT_EQ(presenter.LastFrame.GetPixel(10, 20), 0xFFFFu);
    presenter.Lost = true;
    display.Flip();
    EXPECT_EQ(presenter.Log, (Log{"open 800x600 16 full", "present"}));
}

TEST(Display, FinaliseCallsItsHandlerFirstAndReleasesTheModeEvenWhenTheHandlerFails) {
    TNullPresenter presenter;
    TDisplay display(presenter, nullptr);
    display.OnFinalize = [&] {
        presenter.Log.push_back("handler " + std::to_string(display.Surface().Width()));
        throw bbx::Exception("handler failed");
    };
    display.Finalize();
    EXPECT_TRUE(presenter.Log.empty()) << "nothing to finalise";
    display.Initialize();
    EXPECT_THROW(display.Finalize(), bbx::Exception);
    EXPECT_EQ(presenter.Log, (Log{"open 800x600 16 full", "handler 800", "close"}));
    EXPECT_FALSE(display.Initialized());
    EXPECT_EQ(display.Surface().Width(), 0);
}

TEST(Display, AFailedModeRaisesAndLeavesTheDisplayDown) {
    TNullPresenter presenter;
    presenter.FailOpen = true;
    TDisplay display(presenter, nullptr);
    bool handled = false;
    display.OnInitialize = [&] { handled = true; };
    EXPECT_THROW(display.Initialize(), EDisplayError);
    EXPECT_FALSE(handled);
    EXPECT_FALSE(display.Initialized());
    EXPECT_FALSE(display.CanDraw());
}

TEST(Display, WindowedOptionReachesTheModeAndTogglesAtAnyTime) {
    TNullPresenter presenter;
    {
        TDisplay display(presenter, nullptr);
        display.SetWindowed(true);
        display.Initialize();
        display.ToggleWindowed();
        EXPECT_FALSE(display.Windowed());
        display.ToggleWindowed();
        display.SetWindowed(true);
    }
    EXPECT_EQ(presenter.Log, (Log{"open 800x600 16 windowed", "full", "windowed", "close"}))
        << "destruction releases a mode still set";
}

TEST(FrameTimer, TicksOnlyWhileEnabledAndActive) {
    TFrameTimer timer;
    int ticks = 0, activations = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.OnActivate = [&] { ++activations; };
    timer.Idle(5);
    EXPECT_EQ(ticks, 0) << "disabled until enabled";
    timer.SetEnabled(true, 10);
    timer.Idle(11);
    timer.SetActive(false);
    timer.Idle(12);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(activations, 0);
    timer.SetActive(true);
    timer.SetActive(true);
    EXPECT_EQ(activations, 1) << "only a change to active counts";
    timer.Idle(13);
    EXPECT_EQ(ticks, 2);
}

TEST(FrameTimer, FrameRateIsTicksPerSecondOverAtLeastOneSecondRounded) {
    TFrameTimer timer;
    timer.SetEnabled(true, 1000);
    // 60 ticks, the last at 1590 ms: not yet a second.
    for (std::uint32_t i = 0; i < 60; ++i) timer.Idle(1000 + i * 10);
    EXPECT_EQ(timer.FrameRate(), 0);
    // The 61st tick after 1500 ms: 61 * 1000 / 1500 = 40.67.
    timer.Idle(2500);
    EXPECT_EQ(timer.FrameRate(), 41);

    // Three ticks over 1200 ms, across the wrap of the counter: 2.5 rounds to even.
    TFrameTimer wrapping;
    wrapping.SetEnabled(true, 0xFFFFFF00u);
    wrapping.Idle(0xFFFFFF80u);
    wrapping.Idle(100);
    wrapping.Idle(944);
    EXPECT_EQ(wrapping.FrameRate(), 2);
}

TEST(FrameTimer, TimeSpentInactiveDoesNotLowerTheFrameRate) {
    TFrameTimer timer;
    timer.SetEnabled(true, 0);
    timer.Idle(100);
    timer.SetActive(false);
    timer.SetActive(true);
    // 20 ticks between 60 000 and 61 000 ms.
    for (std::uint32_t t = 60000; t <= 61000; t += 50) timer.Idle(t);
    EXPECT_EQ(timer.FrameRate(), 21);
}

TEST(KeyboardState, HoldsTheFourArrowsAsOfTheLastUpdate) {
    std::vector<TVirtualKey> held{vk::Up, vk::Left};
    TKeyboardState keys([&](TVirtualKey key) { return std::find(held.begin(), held.end(), key) != held.end(); });
    EXPECT_FALSE(keys.Up());
    keys.Update();
    EXPECT_TRUE(keys.Up());
    EXPECT_TRUE(keys.Left());
    EXPECT_FALSE(keys.Down());
    EXPECT_FALSE(keys.Right());
    held = {vk::Down, vk::Right};
    EXPECT_TRUE(keys.Up()) << "unchanged until the next update";
    keys.Update();
    EXPECT_FALSE(keys.Up());
    EXPECT_TRUE(keys.Down());
    EXPECT_TRUE(keys.Right());
}
