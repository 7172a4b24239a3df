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

// The common base: every screen draws itself on the back surface, which
// the main window has cleared to black.
class TScreen {
public:
    TScreen() = default;
    TScreen(const TScreen&) = delete;
    TScreen& operator=(const TScreen&) = delete;
    virtual ~TScreen() = default;

    virtual void Draw(TSurface& target) = 0;
};

// The running game as the main window drives it. Creation reads the game
// data and may raise.
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
    virtual void KeyUp(TVirtualKey& key, TShiftState shift) = 0;
    virtual void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) = 0;
    virtual void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) = 0;
};

// Makes the game for "Nowa gra"; the main window is given one, so that the
// controller plugs in from outside.
using TGameFactory = std::function<std::unique_ptr<TGameScreen>(const TScreenServices& services)>;

}  // namespace gb
