#pragma once
// A stand-in text renderer for tests without SDL: every glyph is a solid
// box inside its cell, with widths the test chooses.

#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/text_renderer.h"

namespace gb::test_support {

class TBoxTextRenderer : public TTextRenderer {
public:
    // Control codes get no width, everything else `width` pixels.
    explicit TBoxTextRenderer(int width = 10, int height = 12) : LineHeight(height) {
        Widths.fill(width);
        for (int c = 0; c < 32; ++c) Widths[static_cast<std::size_t>(c)] = 0;
    }

    TTextExtent Measure(const TFontFace& face, std::string_view text) override {
        LastFace = face;
        TTextExtent extent{0, LineHeight};
        for (const char c : text) extent.Width += Widths[static_cast<unsigned char>(c)];
        return extent;
    }

    // Full coverage in the cell's inside, half coverage on its top row,
    // nothing on its left column and bottom row.
    TGlyphMask Render(const TFontFace& face, std::string_view text) override {
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

    std::array<int, 256> Widths{};
    int LineHeight;
    TFontFace LastFace;
};

}  // namespace gb::test_support
