#pragma once
// The game's main loop: handle the waiting events, then one frame timer
// tick while the window is active (focused, not minimised). With vsync the
// flip paces the loop; without it each pass waits out the rest of a
// millisecond, and an inactive window sleeps until its next event.

#include "runtime/display.h"
#include "runtime/frame_timer.h"
#include "runtime/input_events.h"
#include "runtime/platform/sdl_input.h"
#include "runtime/platform/sdl_window.h"

namespace gb {

class TSdlEventLoop {
public:
    TSdlEventLoop(TSdlWindow& window, TDisplay& display, TFrameTimer& timer, TWindowEvents& events);

    // Until Quit, Alt+F4 or the window's close request.
    void Run();
    // Handles the events waiting now; false once the loop is to end.
    bool HandleEvents();
    void Quit() { Running = false; }

private:
    void UpdateActivity();

    TSdlWindow& Window;
    TDisplay& Display;
    TFrameTimer& Timer;
    TSdlInput Input;
    bool Running = true;
    bool Focused = true;
    bool Minimized = false;
};

}  // namespace gb
