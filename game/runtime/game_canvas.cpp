#include "runtime/game_canvas.h"

#include "core/code_page.h"
#include "core/errors.h"

namespace gb {
namespace {

unsigned Mix(unsigned background, unsigned glyph, unsigned coverage) {
    return (background * (255 - coverage) + glyph * coverage + 127) / 255;
}

bbx::TColor Blend(bbx::TColor background, bbx::TColor glyph, unsigned coverage) {
    return bbx::RGB(Mix(bbx::GetRValue(background), bbx::GetRValue(glyph), coverage),
                    Mix(bbx::GetGValue(background), bbx::GetGValue(glyph), coverage),
                    Mix(bbx::GetBValue(background), bbx::GetBValue(glyph), coverage));
}

}  // namespace

TTextRenderer& TGameCanvas::Renderer() {
    if (!Text) throw bbx::Exception(bbx::Pl<"Ta powierzchnia nie ma renderera tekstu">());
    return *Text;
}

int TGameCanvas::TextWidth(std::string_view text) { return Renderer().Measure(Face, text).Width; }

int TGameCanvas::TextHeight(std::string_view text) { return Renderer().Measure(Face, text).Height; }

const std::array<int, 256>& TGameCanvas::Advances() {
    if (MeasuredFace != Face) {
        for (int code = 0; code < 256; ++code) {
            const char byte = static_cast<char>(code);
            AdvanceOf[static_cast<std::size_t>(code)] = Renderer().Measure(Face, std::string_view(&byte, 1)).Width;
        }
        MeasuredFace = Face;
    }
    return AdvanceOf;
}

void TGameCanvas::TextOut(int x, int y, std::string_view text) {
    // Glyphs stand side by side by their advance widths, so only those that
    // meet the target are rendered: a line of any length costs at most a
    // target's width of glyphs.
    const std::array<int, 256>& advance = Advances();
    const auto width = [&advance](char c) { return static_cast<long long>(advance[static_cast<unsigned char>(c)]); };
    long long left = x;
    std::size_t first = 0;
    while (first < text.size() && left + width(text[first]) <= 0) left += width(text[first++]);
    std::size_t end = first;
    for (long long right = left; end < text.size() && right < Buffer().Width(); ++end) right += width(text[end]);
    text = text.substr(first, end - first);
    x = static_cast<int>(left);

    const TGlyphMask mask = Renderer().Render(Face, text);
    bbx::TPixelBuffer& target = Buffer();
    const bool opaque = GetBrushStyle() == bbx::TBrushStyle::Solid;
    const bbx::TColor brush = GetBrushColor();
    const std::uint32_t solidGlyph = target.MapColor(FontColor);
    for (int row = 0; row < mask.Height; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= target.Height()) continue;
        for (int col = 0; col < mask.Width; ++col) {
            const int tx = x + col;
            if (tx < 0 || tx >= target.Width()) continue;
            const unsigned coverage = mask.Coverage[static_cast<std::size_t>(row) * mask.Width + col];
            if (coverage == 255) {
                target.SetPixel(tx, ty, solidGlyph);
            } else if (opaque) {
                target.SetPixel(tx, ty, target.MapColor(Blend(brush, FontColor, coverage)));
            } else if (coverage != 0) {
                const bbx::TColor below = target.UnmapPixel(target.GetPixel(tx, ty));
                target.SetPixel(tx, ty, target.MapColor(Blend(below, FontColor, coverage)));
            }
        }
    }
}

}  // namespace gb
