#pragma once
// A fingerprint of what the player's input and the clock have made of the
// game: the current screen, the pointer, the error screen and, in a game,
// the script's state and every world object's place, heading and speed.
// Replays compare it at their checkpoints to tell the moment a run leaves
// the recorded one. What only shows (pixels, text measures, the sprite
// cache) is left out, so that a run drawn with another text renderer has
// the same fingerprints.

#include <cstdint>

namespace gb {

class TfrmMain;

std::uint64_t GameStateHash(const TfrmMain& form);

}  // namespace gb
