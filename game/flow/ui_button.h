#pragma once
// The menu button: a 200 x 65 window with three looks (normal, hovered,
// pressed) and a centred caption. It clicks when released while hovered.

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/ui_window.h"

namespace gb {

class TGfx;
class TSfx;

class TUIButton : public TUIWindow {
public:
    static constexpr std::int32_t ButtonWidth = 200;
    static constexpr std::int32_t ButtonHeight = 65;

    // Top-left corner at (x, y); draws with the bank's button images and
    // font, plays the hover sound through the player.
    TUIButton(TGfx& gfx, TSfx& sfx, std::int32_t x, std::int32_t y);

    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseEnter(std::int32_t x, std::int32_t y) override;
    void MouseLeave(std::int32_t x, std::int32_t y) override;
    void Draw(TSurface& target) override;

    std::function<void()> OnClick;
    bool Hovered = false;
    bool Pressed = false;  // a press on the button has not been released yet
    std::string Caption;   // Windows-1250

private:
    TGfx& Gfx;
    TSfx& Sfx;
};

}  // namespace gb
