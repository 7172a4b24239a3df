#include "flow/ui_button.h"

#include "runtime/sfx.h"
#include "world/gfx.h"
#include "world/sound_ids.h"

namespace gb {

TUIButton::TUIButton(TGfx& gfx, TSfx& sfx, std::int32_t x, std::int32_t y) : Gfx(gfx), Sfx(sfx) {
    Bounds = {x, y, x + ButtonWidth, y + ButtonHeight};
}

void TUIButton::MouseDown(TMouseButton, TShiftState, std::int32_t, std::int32_t) { Pressed = true; }

void TUIButton::MouseUp(TMouseButton, TShiftState, std::int32_t, std::int32_t) {
    Pressed = false;
    if (Hovered && OnClick) OnClick();
}

void TUIButton::MouseEnter(std::int32_t, std::int32_t) {
    Hovered = true;
    Sfx.Play(sound::ButtonHover);
}

void TUIButton::MouseLeave(std::int32_t, std::int32_t) { Hovered = false; }

void TUIButton::Draw(TSurface& target) {
    const bool sunk = Pressed && Hovered;
    const std::size_t look = sunk ? 2 : (Pressed || Hovered) ? 1 : 0;
    const TSurface& image = *Gfx.ButtonImages[look];
    target.Draw(Bounds.Left, Bounds.Top, image, image.ClientRect(), false);
    // The caption sinks with the pressed image.
    const int shift = sunk ? 2 : 0;
    const int centreX = Bounds.Left + (Bounds.Right - Bounds.Left) / 2 + shift;
    const int centreY = Bounds.Top + (Bounds.Bottom - Bounds.Top) / 2 + shift;
    Gfx.Font.DrawText(target, centreX, centreY, Caption, 0.5f, 0.5f, 1);
}

}  // namespace gb
