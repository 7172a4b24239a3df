#include "app/screenshots.h"

#include <ctime>

#include "app/overlay.h"
#include "core/code_page.h"
#include "core/png_image.h"
#include "runtime/display.h"
#include "runtime/gfx_font.h"
#include "runtime/screenshot_file.h"
#include "runtime/surface.h"

namespace gb {

void TScreenshots::Capture(const bbx::TPixelBuffer& frame, std::uint32_t now) {
    if (!Requested) return;
    Requested = false;
    NoteStart = now;
    try {
        const std::string directory = ScreenshotDirectory();
        if (directory.empty()) throw bbx::Exception("no pictures folder");
        const std::time_t clock = std::time(nullptr);
        std::tm local{};
        localtime_r(&clock, &local);
        const std::string name = SaveScreenshot(directory, bbx::EncodePng(frame, bbx::TPngAlpha::Opaque), local);
        NoteText = bbx::Pl<"Zapisano zrzut ekranu: ">() + bbx::Utf8ToCp1250(name);
    } catch (...) {
        // The picture is only lost; the game goes on.
        NoteText = bbx::Pl<"Nie udało się zapisać zrzutu ekranu">();
    }
}

void TScreenshots::DrawNote(TSurface& target, const Tgfx_Font& font, std::uint32_t now) const {
    if (!ShowsNote(now)) return;
    constexpr int kMargin = 6;
    // Above the head-up display and clear of a film's bottom band.
    constexpr int kBottom = TDisplay::ScreenHeight - 84;
    const int width = font.TextWidth(NoteText);
    const int left = (TDisplay::ScreenWidth - width) / 2;
    Dim(target, {left - kMargin, kBottom - font.Height() - kMargin, left + width + kMargin, kBottom + kMargin});
    font.DrawText(target, left, kBottom, NoteText, 0.0f, 1.0f, 1);
}

}  // namespace gb
