#pragma once
// What the canvas needs of the platform's text renderer: the size of a text
// and its glyphs as a coverage mask. Texts are Windows-1250 bytes, one glyph
// per byte, placed side by side by their advance widths (no kerning), so the
// width of a text is the sum of the widths of its characters.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gb {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits

struct TFontFace {
    std::string Name = "Sans";  // family name, Windows-1250
    int Size = 8;               // points at 96 dpi
    TFontStyles Style = 0;
    bool operator==(const TFontFace&) const = default;
};

struct TTextExtent {
    int Width = 0;
    int Height = 0;
};

// Row-major coverage, 0 = background, 255 = glyph.
struct TGlyphMask {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;
};

class TTextRenderer {
public:
    virtual ~TTextRenderer() = default;
    // Height is the face's line height, whatever the text.
    virtual TTextExtent Measure(const TFontFace& face, std::string_view text) = 0;
    // A mask of exactly the measured size; the text's top-left corner at (0, 0).
    virtual TGlyphMask Render(const TFontFace& face, std::string_view text) = 0;
};

}  // namespace gb
