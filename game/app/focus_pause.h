#pragma once
// The pause while the window is away: losing the focus stops the game's
// clock and holds the sound, and a "Pauza" band shows over the frozen
// picture. Getting the focus back does not end it by itself (the player may
// come back to the window in the middle of something else); the next key or
// click does, and that press only resumes: the game never sees it, nor its
// release. Other releases still reach the game, so that nothing it saw
// pressed stays held.

#include "runtime/input_events.h"

namespace gb {

class Tgfx_Font;
class TSoundLayer;
class TSurface;

class TFocusPause {
public:
    explicit TFocusPause(TSoundLayer& sound) : Sound(sound) {}

    void FocusChanged(bool focused);
    bool Paused() const { return IsPaused; }

    // Whether the press or release is the pause's own, not the game's: a
    // press while paused resumes, and its release follows it.
    bool TakeKeyDown(TVirtualKey key);
    bool TakeKeyUp(TVirtualKey key);
    bool TakeMouseDown(TMouseButton button);
    bool TakeMouseUp(TMouseButton button);

    // The band over the frame, while paused.
    void Draw(TSurface& target, const Tgfx_Font& font) const;

private:
    void Resume();

    TSoundLayer& Sound;
    bool IsPaused = false;
    // The press that resumed, until its release.
    TVirtualKey ResumingKey = 0;
    bool ResumingButtonHeld = false;
    TMouseButton ResumingButton = TMouseButton::Left;
};

}  // namespace gb
