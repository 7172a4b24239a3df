#pragma once
// The held state of the four arrow keys, refreshed once per frame from the
// platform's keyboard state.

#include <functional>
#include <utility>

#include "runtime/input_events.h"

namespace gb {

class TKeyboardState {
public:
    using TKeyQuery = std::function<bool(TVirtualKey key)>;

    explicit TKeyboardState(TKeyQuery isHeld) : IsHeld(std::move(isHeld)) {}

    void Update();

    bool Up() const { return HeldUp; }
    bool Down() const { return HeldDown; }
    bool Left() const { return HeldLeft; }
    bool Right() const { return HeldRight; }

private:
    TKeyQuery IsHeld;
    bool HeldUp = false;
    bool HeldDown = false;
    bool HeldLeft = false;
    bool HeldRight = false;
};

}  // namespace gb
