#pragma once
// The game's bitmap font: all 256 Windows-1250 codes drawn once by the
// platform's text renderer into a strip surface, one row of glyphs per
// colour; afterwards every character is a colour-keyed copy from the strip.
// On top: aligned one-line text, width measuring and word-wrapped text in a
// rectangle with vertical scrolling.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/render_canvas.h"
#include "runtime/rect.h"
#include "runtime/surface.h"
#include "runtime/text_renderer.h"

namespace gb {

class TDisplay;

class Tgfx_Font {
public:
    // Raises when the colour list is empty or the renderer finds no typeface.
    Tgfx_Font(const TDisplay& display, const std::string& face, int size, TFontStyles style,
              const std::vector<bbx::TColor>& colors);
    Tgfx_Font(bbx::TPixelFormat format, TTextRenderer& renderer, const std::string& face, int size, TFontStyles style,
              const std::vector<bbx::TColor>& colors);

    // Copies the glyph with its top-left corner at (x, y); returns the next x.
    // A colour index outside 0 .. ColorCount - 1 draws nothing.
    int DrawChar(TSurface& target, int x, int y, unsigned char code, int colorIndex) const;
    // One line; horizontal 0 / 0.5 / 1 puts x at its left / centre / right,
    // vertical likewise for y and the line's top / middle / bottom.
    void DrawText(TSurface& target, int x, int y, std::string_view text, float horizontal, float vertical,
                  int colorIndex) const;
    // Word-wrapped lines inside the rectangle, the first `scroll` pixels
    // scrolled off its top; a line that would reach the bottom edge ends it.
    void DrawTextRect(TSurface& target, const TRect& rect, int scroll, std::string_view text, float horizontal,
                      int colorIndex) const;

    int TextWidth(std::string_view text) const;
    int Height() const { return LineHeight; }
    // How many characters from the 1-based `start` make the next line of at
    // most `width` pixels; at least 1 while `start` is within the text.
    int LineFit(std::string_view text, int start, int width) const;
    int LineCount(int width, std::string_view text) const;

    const std::array<std::int32_t, 256>& Widths() const { return CharWidths; }
    const TSurface& Strip() const { return GlyphStrip; }
    std::int32_t StripWidth() const { return StripW; }
    std::int32_t ColorCount() const { return Colors; }

private:
    std::array<std::int32_t, 256> CharWidths{};
    std::array<std::int32_t, 256> GlyphLeft{};  // sum of the widths of all lower codes
    TSurface GlyphStrip;
    std::int32_t StripW = 0;
    std::int32_t LineHeight = 0;
    std::int32_t Colors = 0;
};

}  // namespace gb
