#include "runtime/keyboard_state.h"

namespace gb {

void TKeyboardState::Update() {
    HeldUp = IsHeld(vk::Up);
    HeldDown = IsHeld(vk::Down);
    HeldLeft = IsHeld(vk::Left);
    HeldRight = IsHeld(vk::Right);
}

}  // namespace gb
