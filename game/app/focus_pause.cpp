#include "app/focus_pause.h"

#include "app/overlay.h"
#include "core/code_page.h"
#include "runtime/display.h"
#include "runtime/gfx_font.h"
#include "runtime/sound_layer.h"
#include "runtime/surface.h"

namespace gb {
namespace {

constexpr TRect kBand{0, 250, TDisplay::ScreenWidth, 350};

}  // namespace

void TFocusPause::FocusChanged(bool focused) {
    if (focused || IsPaused) return;
    IsPaused = true;
    Sound.SetPaused(true);
}

void TFocusPause::Resume() {
    IsPaused = false;
    Sound.SetPaused(false);
}

bool TFocusPause::TakeKeyDown(TVirtualKey key) {
    if (!IsPaused) return false;
    Resume();
    ResumingKey = key;
    return true;
}

bool TFocusPause::TakeKeyUp(TVirtualKey key) {
    if (key == 0 || key != ResumingKey) return false;
    ResumingKey = 0;
    return true;
}

bool TFocusPause::TakeMouseDown(TMouseButton button) {
    if (!IsPaused) return false;
    Resume();
    ResumingButtonHeld = true;
    ResumingButton = button;
    return true;
}

bool TFocusPause::TakeMouseUp(TMouseButton button) {
    if (!ResumingButtonHeld || button != ResumingButton) return false;
    ResumingButtonHeld = false;
    return true;
}

void TFocusPause::Draw(TSurface& target, const Tgfx_Font& font) const {
    if (!IsPaused) return;
    Dim(target, kBand);
    const int middle = (kBand.Top + kBand.Bottom) / 2;
    font.DrawText(target, TDisplay::ScreenWidth / 2, middle - 4, bbx::Pl<"Pauza">(), 0.5f, 1.0f, 2);
    font.DrawText(target, TDisplay::ScreenWidth / 2, middle + 4, bbx::Pl<"Naciśnij dowolny klawisz...">(), 0.5f,
                  0.0f, 1);
}

}  // namespace gb
