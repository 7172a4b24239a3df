#pragma once
// The canvas a surface lends: the shared software canvas (pen, brush,
// ellipse, rectangle, pixel) plus a font and text drawing through the
// platform's text renderer.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/pixel_buffer.h"
#include "core/software_canvas.h"
#include "runtime/text_renderer.h"

namespace gb {

class TGameCanvas : public bbx::TSoftwareCanvas {
public:
    // `text` may be null for a canvas that never draws text.
    TGameCanvas(bbx::TPixelBuffer& target, TTextRenderer* text) : TSoftwareCanvas(target), Text(text) {}

    void SetFontName(std::string name) { Face.Name = std::move(name); }
    void SetFontSize(int points) { Face.Size = points; }
    void SetFontStyle(TFontStyles style) { Face.Style = style; }
    void SetFontColor(bbx::TColor color) { FontColor = color; }
    const TFontFace& Font() const { return Face; }
    bbx::TColor GetFontColor() const { return FontColor; }

    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);
    // The text's top-left corner at (x, y) in the font colour, its glyph
    // edges blended with what lies below: the brush colour over the whole
    // text cell with a solid brush, the surface's own pixels with a clear one.
    void TextOut(int x, int y, std::string_view text);

private:
    TTextRenderer& Renderer();
    // The advance width of each byte in the current face, measured once per face.
    const std::array<int, 256>& Advances();

    TTextRenderer* Text;
    TFontFace Face;
    bbx::TColor FontColor = 0;
    std::optional<TFontFace> MeasuredFace;
    std::array<int, 256> AdvanceOf{};
};

}  // namespace gb
