#include "runtime/platform/sdl_event_loop.h"

#include <SDL.h>

#include "runtime/platform/sdl_services.h"

namespace gb {

TSdlEventLoop::TSdlEventLoop(TSdlWindow& window, TDisplay& display, TFrameTimer& timer, TWindowEvents& events)
    : Window(window), Display(display), Timer(timer), Input(events) {}

void TSdlEventLoop::UpdateActivity() { Timer.SetActive(Focused && !Minimized); }

bool TSdlEventLoop::HandleEvents() {
    SDL_Event event;
    while (Running && SDL_PollEvent(&event)) {
        if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
            Window.ResetTexture();
            continue;
        }
        switch (Input.Dispatch(event)) {
            case TWindowChange::Quit: Running = false; break;
            case TWindowChange::ToggleWindowed: Display.ToggleWindowed(); break;
            case TWindowChange::FocusGained: Focused = true; break;
            case TWindowChange::FocusLost: Focused = false; break;
            case TWindowChange::Minimized: Minimized = true; break;
            case TWindowChange::Restored: Minimized = false; break;
            case TWindowChange::None: break;
        }
        UpdateActivity();
    }
    return Running;
}

void TSdlEventLoop::Run() {
    Running = true;
    Focused = Window.HasFocus();
    Minimized = Window.IsMinimized();
    UpdateActivity();
    const Uint64 slice = SDL_GetPerformanceFrequency() / 1000;
    while (HandleEvents()) {
        if (!Timer.Enabled() || !Timer.Active()) {
            SDL_WaitEventTimeout(nullptr, 100);
            continue;
        }
        const Uint64 start = SDL_GetPerformanceCounter();
        Timer.Idle(TickCount());
        if (!Window.HasVsync() && SDL_GetPerformanceCounter() - start < slice) SDL_Delay(1);
    }
}

}  // namespace gb
