#pragma once
// The game's main loop: handle the waiting events, then one frame timer
// tick while the window is not minimised. With vsync the flip paces the
// loop; without it the frames are paced to the display's refresh rate (60 Hz
// when it tells none) and the time in between is slept. A window without
// focus ticks only a few times a second: enough to show what the game shows
// then, at little cost. A minimised window sleeps until its next event.
// Focus changes are handed on to the game.

#include "runtime/display.h"
#include "runtime/frame_pacer.h"
#include "runtime/frame_timer.h"
#include "runtime/input_events.h"
#include "runtime/platform/sdl_input.h"
#include "runtime/platform/sdl_window.h"

namespace gb {

class TSdlEventLoop {
public:
    // Frames per second while the window has no focus.
    static constexpr int UnfocusedRate = 10;

    TSdlEventLoop(TSdlWindow& window, TDisplay& display, TFrameTimer& timer, TWindowEvents& events);

    // Until Quit, Alt+F4 or the window's close request.
    void Run();
    // Handles the events waiting now; false once the loop is to end.
    bool HandleEvents();
    void Quit() { Running = false; }

private:
    void SetFocused(bool focused);
    void UpdateActivity();
    // Sleeps until the next frame is due; false when there was no need.
    bool WaitForFrame();

    TSdlWindow& Window;
    TDisplay& Display;
    TFrameTimer& Timer;
    TWindowEvents& Events;
    TSdlInput Input;
    TFramePacer Pacer;
    bool Running = true;
    bool Focused = true;
    bool Minimized = false;
};

}  // namespace gb
