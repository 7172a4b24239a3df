#pragma once
// SDL's keyboard, mouse and window events turned into the game's input:
// virtual key codes, shift states, mouse buttons 0 / 1 / 2 and positions in
// the 800 x 600 logical screen. Alt+Enter and Alt+F4 belong to the window
// and never reach the game.

#include <bitset>
#include <cstdint>

#include "runtime/input_events.h"

union SDL_Event;
struct SDL_Keysym;

namespace gb {

// The key's virtual key code; never 0 (a key without a code of its own is
// vk::Unassigned).
TVirtualKey VirtualKeyOf(const SDL_Keysym& key);

// Whether a key with this code is held now, by SDL's keyboard state.
bool IsKeyHeld(TVirtualKey key);

// What an event means for the window itself.
enum class TWindowChange { None, Quit, ToggleWindowed, FocusGained, FocusLost, Minimized, Restored };

class TSdlInput {
public:
    explicit TSdlInput(TWindowEvents& events) : Events(events) {}

    // Hands keyboard and mouse events to the game; reports the rest.
    TWindowChange Dispatch(const SDL_Event& event);

private:
    TWindowChange Key(const SDL_Event& event, bool down);

    TWindowEvents& Events;
    // Keys whose press the window kept for itself: their release is kept too.
    std::bitset<512> Kept;
};

}  // namespace gb
