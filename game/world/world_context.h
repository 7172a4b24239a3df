#pragma once
// What every world object reaches besides itself: the sprite bank it draws
// with, the sound player, and the running game controller. Each object is
// given one at construction; the services outlive every object.

namespace gb {

class TGameInterface;
class TGfx;
class TSfx;

struct TWorldContext {
    TGfx& Gfx;
    TSfx& Sfx;
    TGameInterface& Game;
};

}  // namespace gb
