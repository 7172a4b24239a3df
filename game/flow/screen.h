#pragma once
// The screens the main window shows one at a time (intro, menu, game) and
// what it hands them: the shared services, and the operations it calls on
// the current screen. Time arguments are the tick counter's milliseconds
// (now) and the milliseconds since the previous frame (elapsed).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "runtime/input_events.h"
#include "runtime/keyboard_state.h"

namespace gb {

class TDisplay;
class TGfx;
class TSfx;
class TSurface;

// The process-wide services, owned by the main window; they outlive every
// screen.
struct TScreenServices {
    TDisplay& Display;  // off-screen surfaces are made in its format
    TGfx& Gfx;
    TSfx& Sfx;
    const std::string& Directory;  // the program's directory, ending with '/'
    const std::int32_t& MouseX;    // the pointer, in screen pixels
    const std::int32_t& MouseY;
};

// What the main window does after a screen's update or key press.
enum class TScreenResult {
    Stay,
    OpenMenu,     // this screen goes and a new menu comes
    NewGame,      // this screen goes and the game factory makes a game
    OpenWebPage,  // "WWW.html" opens with the desktop and the program ends
    Exit,
};

// What the main window calls on its one current screen; every operation does
// nothing unless the screen overrides it. Keys and presses do not reach the
// screen while the error screen shows; pointer moves do.
class TScreen {
public:
    TScreen() = default;
    TScreen(const TScreen&) = delete;
    TScreen& operator=(const TScreen&) = delete;
    virtual ~TScreen() = default;

    // Once per frame, after HeldArrows.
    virtual TScreenResult Advance(std::uint32_t /*now*/, std::uint32_t /*elapsed*/) { return TScreenResult::Stay; }
    // Once per frame, with the arrow keys held at that moment.
    virtual void HeldArrows(const TKeyboardState& /*held*/, std::uint32_t /*now*/, std::uint32_t /*elapsed*/) {}
    // A key went down; the handler may change the key (0 = handled).
    virtual TScreenResult KeyPressed(TVirtualKey& /*key*/, TShiftState /*shift*/) { return TScreenResult::Stay; }
    virtual void KeyUp(TVirtualKey& /*key*/, TShiftState /*shift*/) {}
    virtual void MouseMove(std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void MouseDown(TMouseButton /*button*/, TShiftState /*shift*/, std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void MouseUp(TMouseButton /*button*/, TShiftState /*shift*/, std::int32_t /*x*/, std::int32_t /*y*/) {}
    // On the back surface, which the main window has cleared to black.
    virtual void Draw(TSurface& /*target*/) {}
    // Whether the frame rate and the pointer are drawn over the screen.
    virtual bool ShowsPointer() const { return true; }
};

// The running game as the main window drives it: its own update, held-arrow
// and key operations behind the screen's. Creation reads the game data and
// may raise.
class TGameScreen : public TScreen {
public:
    // True when the game is over and a new menu is to come.
    virtual bool Update(std::uint32_t now, std::uint32_t elapsed) = 0;
    // Once per frame for each arrow key held: up, down, left, right.
    virtual void Accelerate(std::uint32_t now, std::uint32_t elapsed) = 0;
    virtual void Brake(std::uint32_t now, std::uint32_t elapsed) = 0;
    virtual void TurnLeft(std::uint32_t now, std::uint32_t elapsed) = 0;
    virtual void TurnRight(std::uint32_t now, std::uint32_t elapsed) = 0;
    virtual void KeyDown(TVirtualKey& key, TShiftState shift) = 0;

    TScreenResult Advance(std::uint32_t now, std::uint32_t elapsed) final {
        return Update(now, elapsed) ? TScreenResult::OpenMenu : TScreenResult::Stay;
    }
    void HeldArrows(const TKeyboardState& held, std::uint32_t now, std::uint32_t elapsed) final {
        // Several can act in one frame, always in this order.
        if (held.Up()) Accelerate(now, elapsed);
        if (held.Down()) Brake(now, elapsed);
        if (held.Left()) TurnLeft(now, elapsed);
        if (held.Right()) TurnRight(now, elapsed);
    }
    TScreenResult KeyPressed(TVirtualKey& key, TShiftState shift) final {
        KeyDown(key, shift);
        return TScreenResult::Stay;
    }
};

// Makes the game for "Nowa gra"; the main window is given one, so that the
// controller plugs in from outside.
using TGameFactory = std::function<std::unique_ptr<TGameScreen>(const TScreenServices& services)>;

}  // namespace gb
