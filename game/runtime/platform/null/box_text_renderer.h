#pragma once
// A text renderer without fonts: every glyph is a solid box inside its cell,
// so that text can be measured and drawn without a font library, with widths
// the caller chooses.

#include <array>
#include <string_view>

#include "runtime/text_renderer.h"

namespace gb {

class TBoxTextRenderer final : public TTextRenderer {
public:
    // Control codes get no width, everything else `width` pixels.
    explicit TBoxTextRenderer(int width = 10, int height = 12);

    TTextExtent Measure(const TFontFace& face, std::string_view text) override;
    // Full coverage in the cell's inside, half coverage on its top row,
    // nothing on its left column and bottom row.
    TGlyphMask Render(const TFontFace& face, std::string_view text) override;

    std::array<int, 256> Widths{};  // by Windows-1250 byte
    int LineHeight;
    TFontFace LastFace;  // of the last call
};

}  // namespace gb
