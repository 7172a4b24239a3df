#include "runtime/platform/null/box_text_renderer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gb {

TBoxTextRenderer::TBoxTextRenderer(int width, int height) : LineHeight(height) {
    Widths.fill(width);
    for (std::size_t c = 0; c < 32; ++c) Widths[c] = 0;
}

TTextExtent TBoxTextRenderer::Measure(const TFontFace& face, std::string_view text) {
    LastFace = face;
    TTextExtent extent{0, LineHeight};
    for (const char c : text) extent.Width += Widths[static_cast<unsigned char>(c)];
    return extent;
}

TGlyphMask TBoxTextRenderer::Render(const TFontFace& face, std::string_view text) {
    const TTextExtent extent = Measure(face, text);
    TGlyphMask mask{extent.Width, extent.Height,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(extent.Width) * extent.Height, 0)};
    int x = 0;
    for (const char c : text) {
        const int w = Widths[static_cast<unsigned char>(c)];
        for (int row = 0; row < LineHeight - 1; ++row)
            for (int col = 1; col < w; ++col)
                mask.Coverage[static_cast<std::size_t>(row) * extent.Width + x + col] = row == 0 ? 128 : 255;
        x += w;
    }
    return mask;
}

}  // namespace gb
