#include "runtime/gfx_font.h"

#include <algorithm>

#include "core/code_page.h"
#include "core/errors.h"
#include "core/rounding.h"
#include "runtime/display.h"
#include "runtime/game_canvas.h"

namespace gb {
namespace {

constexpr unsigned char LineFeed = 10;
constexpr unsigned char Blank = 32;

// Black, or the first grey step from it that none of the colours uses. Each
// byte wraps on its own; after 256 steps every grey is taken and the search
// stops where it is.
bbx::TColor ChooseKey(const std::vector<bbx::TColor>& colors) {
    bbx::TColor key = 0;
    for (int step = 0; step < 256 && std::find(colors.begin(), colors.end(), key) != colors.end(); ++step)
        key = bbx::RGB(bbx::GetRValue(key) + 1, bbx::GetGValue(key) + 1, bbx::GetBValue(key) + 1);
    return key;
}

TTextRenderer& RendererOf(const TDisplay& display) {
    if (!display.TextRenderer()) throw bbx::Exception(bbx::Pl<"Ekran nie ma renderera tekstu">());
    return *display.TextRenderer();
}

}  // namespace

Tgfx_Font::Tgfx_Font(const TDisplay& display, const std::string& face, int size, TFontStyles style,
                     const std::vector<bbx::TColor>& colors)
    : Tgfx_Font(display.Format(), RendererOf(display), face, size, style, colors) {}

Tgfx_Font::Tgfx_Font(bbx::TPixelFormat format, TTextRenderer& renderer, const std::string& face, int size,
                     TFontStyles style, const std::vector<bbx::TColor>& colors)
    : GlyphStrip(format, &renderer) {
    if (colors.empty()) throw bbx::Exception(bbx::Pl<"Czcionka potrzebuje co najmniej jednego koloru">());
    Colors = static_cast<std::int32_t>(colors.size());
    const bbx::TColor key = ChooseKey(colors);
    const auto setFont = [&](TGameCanvas& canvas) {
        canvas.SetFontName(face);
        canvas.SetFontSize(size);
        canvas.SetFontStyle(style);
    };

    // Measure on a 1 x 1 strip.
    GlyphStrip.SetSize(1, 1);
    TGameCanvas& measure = GlyphStrip.Canvas();
    measure.SetBrushStyle(bbx::TBrushStyle::Clear);
    setFont(measure);
    measure.SetFontColor(colors[0]);
    std::string allCodes;
    for (int code = 0; code < 256; ++code) {
        const std::string one(1, static_cast<char>(code));
        if (code == 0) LineHeight = measure.TextHeight(one);
        // Never negative, so that a line only ever moves right as it is drawn.
        CharWidths[code] = std::max(measure.TextWidth(one), 0);
        GlyphLeft[code] = StripW;
        StripW += CharWidths[code];
        allCodes += one;
    }
    GlyphStrip.ReleaseCanvas();

    // One row of all glyphs per colour, on the key colour.
    GlyphStrip.SetSize(StripW, LineHeight * Colors);
    TGameCanvas& draw = GlyphStrip.Canvas();
    draw.SetBrushStyle(bbx::TBrushStyle::Solid);
    draw.SetBrushColor(key);
    setFont(draw);
    for (int k = 0; k < Colors; ++k) {
        draw.SetFontColor(colors[k]);
        draw.TextOut(0, k * LineHeight, allCodes);
    }
    GlyphStrip.ReleaseCanvas();
    GlyphStrip.SetTransparentColor(key);
}

int Tgfx_Font::DrawChar(TSurface& target, int x, int y, unsigned char code, int colorIndex) const {
    if (colorIndex >= 0 && colorIndex < Colors)
        target.Draw(x, y, GlyphStrip, Bounds(GlyphLeft[code], colorIndex * LineHeight, CharWidths[code], LineHeight),
                    true);
    return x + CharWidths[code];
}

void Tgfx_Font::DrawText(TSurface& target, int x, int y, std::string_view text, float horizontal, float vertical,
                         int colorIndex) const {
    if (horizontal != 0)
        x -= static_cast<int>(bbx::RoundHalfEven(static_cast<long double>(horizontal) * TextWidth(text)));
    y -= static_cast<int>(bbx::RoundHalfEven(static_cast<long double>(vertical) * LineHeight));
    // Only glyphs on the target are copied, and a line ends at its right
    // edge: a huge line costs no more than the part that shows.
    if (y >= target.Height() || y + LineHeight <= 0) return;
    for (const char c : text) {
        if (x >= target.Width()) return;
        const auto code = static_cast<unsigned char>(c);
        x = x + CharWidths[code] > 0 ? DrawChar(target, x, y, code, colorIndex) : x + CharWidths[code];
    }
}

int Tgfx_Font::TextWidth(std::string_view text) const {
    int width = 0;
    for (const char c : text) width += CharWidths[static_cast<unsigned char>(c)];
    return width;
}

int Tgfx_Font::LineFit(std::string_view text, int start, int width) const {
    const auto length = static_cast<int>(text.size());
    if (start < 1 || start > length) return 0;
    const auto at = [&](int position) { return static_cast<unsigned char>(text[position - 1]); };
    int n = 0;
    int used = 0;
    bool overflow = false;
    while (start + n <= length) {
        const unsigned char c = at(start + n);
        const int w = CharWidths[c];
        if (used + w > width || c == LineFeed) {
            // The blank, control character or line feed that ends the line belongs to it.
            if (c <= Blank) ++n;
            overflow = used + w > width;
            break;
        }
        if (c >= Blank) used += w;
        ++n;
    }
    if (!overflow) return n;
    for (int k = n; k >= n / 2 + 1; --k)
        if (at(start + k - 1) == Blank) return k;
    // A glyph wider than the whole width still makes a line of its own.
    return std::max(n, 1);
}

int Tgfx_Font::LineCount(int width, std::string_view text) const {
    int count = 0;
    for (int position = 1; position <= static_cast<int>(text.size()); position += LineFit(text, position, width))
        ++count;
    return count;
}

void Tgfx_Font::DrawTextRect(TSurface& target, const TRect& rect, int scroll, std::string_view text, float horizontal,
                             int colorIndex) const {
    int x = rect.Left;
    if (horizontal == 1)
        x = rect.Right;
    else if (horizontal == 0.5f)
        x = rect.Left + (rect.Right - rect.Left) / 2;
    int y = rect.Top - scroll;
    for (int position = 1; position <= static_cast<int>(text.size());) {
        const int n = LineFit(text, position, rect.Right - rect.Left);
        if (y + LineHeight >= rect.Bottom) return;
        // Below the target no more lines can show, however much text is left.
        if (y >= target.Height()) return;
        if (y >= rect.Top) {
            std::string_view line = text.substr(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(n));
            while (!line.empty() && static_cast<unsigned char>(line.back()) <= Blank) line.remove_suffix(1);
            DrawText(target, x, y, line, horizontal, 0, colorIndex);
        }
        position += n;
        y += LineHeight;
    }
}

}  // namespace gb
