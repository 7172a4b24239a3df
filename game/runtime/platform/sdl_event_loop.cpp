#include "runtime/platform/sdl_event_loop.h"

#include <SDL.h>

#include <chrono>
#include <thread>

#include "runtime/platform/sdl_services.h"

namespace gb {

TSdlEventLoop::TSdlEventLoop(TSdlWindow& window, TDisplay& display, TFrameTimer& timer, TWindowEvents& events)
    : Window(window), Display(display), Timer(timer), Events(events), Input(events) {}

void TSdlEventLoop::UpdateActivity() { Timer.SetActive(!Minimized); }

void TSdlEventLoop::SetFocused(bool focused) {
    if (focused == Focused) return;
    Focused = focused;
    Events.FocusChanged(focused);
}

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
            case TWindowChange::FocusGained: SetFocused(true); break;
            case TWindowChange::FocusLost: SetFocused(false); break;
            case TWindowChange::Minimized: Minimized = true; break;
            case TWindowChange::Restored: Minimized = false; break;
            case TWindowChange::None: break;
        }
        UpdateActivity();
    }
    return Running;
}

bool TSdlEventLoop::WaitForFrame() {
    if (Focused && Window.HasVsync()) return false;
    Pacer.SetRate(Focused ? TFramePacer::DisplayRate(Window.RefreshRate()) : UnfocusedRate);
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    const std::uint64_t wait = Pacer.Wait(static_cast<std::uint64_t>(now.count()));
    if (wait == 0) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(wait));
    return true;
}

void TSdlEventLoop::Run() {
    Running = true;
    Minimized = Window.IsMinimized();
    UpdateActivity();
    // Taken to have the focus until SDL says otherwise: before its first
    // events are handled even a focused window reports none.
    Focused = true;
    while (HandleEvents()) {
        if (!Timer.Enabled() || !Timer.Active()) {
            SDL_WaitEventTimeout(nullptr, 100);
            continue;
        }
        // The events that came in while sleeping are handled before the frame.
        if (WaitForFrame()) continue;
        Timer.Idle(TickCount());
    }
}

}  // namespace gb
