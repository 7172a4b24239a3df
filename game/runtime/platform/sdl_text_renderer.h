#pragma once
// The platform's text renderer: typefaces found by family with fontconfig
// (the real bold or italic file where one exists), drawn with SDL2_ttf at
// 96 dpi. A face without the Polish letters is passed over for DejaVu Sans.
// Control codes have no glyph and no width; every other byte is the
// Windows-1250 character's glyph, clipped to its advance width so that
// glyphs side by side never reach into each other.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "runtime/text_renderer.h"

struct _FcConfig;
struct _TTF_Font;

namespace gb {

class EFontError : public bbx::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EFontError"; }
};

class TSdlTextRenderer : public TTextRenderer {
public:
    // Raises EFontError when the font libraries cannot start.
    TSdlTextRenderer();
    ~TSdlTextRenderer() override;
    TSdlTextRenderer(const TSdlTextRenderer&) = delete;
    TSdlTextRenderer& operator=(const TSdlTextRenderer&) = delete;

    // Both raise EFontError when no usable typeface is found.
    TTextExtent Measure(const TFontFace& face, std::string_view text) override;
    TGlyphMask Render(const TFontFace& face, std::string_view text) override;

    // The font file used for the face.
    std::string FontFile(const TFontFace& face);

private:
    struct TFontDeleter {
        void operator()(_TTF_Font* font) const;
    };
    struct TOpenFace {
        TFontFace Face;
        std::string File;
        std::unique_ptr<_TTF_Font, TFontDeleter> Font;
        int Height = 0;
        std::array<int, 256> Advance{};
        std::array<std::optional<std::vector<std::uint8_t>>, 256> Glyphs;  // Advance x Height coverage
    };

    TOpenFace& Open(const TFontFace& face);
    const std::vector<std::uint8_t>& Glyph(TOpenFace& face, unsigned char code);

    _FcConfig* Config = nullptr;
    std::vector<std::unique_ptr<TOpenFace>> Faces;
};

}  // namespace gb
