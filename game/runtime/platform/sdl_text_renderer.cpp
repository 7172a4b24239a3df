#include "runtime/platform/sdl_text_renderer.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "core/code_page.h"

namespace gb {
namespace {

constexpr int Dpi = 96;
const char* const FallbackFamily = "DejaVu Sans";

bool IsControl(char32_t codePoint) { return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F); }

struct TMatch {
    std::string File;
    int Index = 0;
    int Weight = FC_WEIGHT_REGULAR;
    int Slant = FC_SLANT_ROMAN;
};

std::optional<TMatch> MatchFont(FcConfig* config, const std::string& familyUtf8, bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* found = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found) return std::nullopt;
    std::optional<TMatch> match;
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
        match.emplace();
        match->File = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(found, FC_INDEX, 0, &match->Index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &match->Weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &match->Slant);
    }
    FcPatternDestroy(found);
    return match;
}

bool HasPolishLetters(TTF_Font* font) {
    for (const char32_t c : U"ĄĆĘŁŃÓŚŹŻąćęłńóśźż")
        if (c != 0 && !TTF_GlyphIsProvided32(font, c)) return false;
    return true;
}

}  // namespace

void TSdlTextRenderer::TFontDeleter::operator()(_TTF_Font* font) const { TTF_CloseFont(font); }

TSdlTextRenderer::TSdlTextRenderer() {
    if (TTF_Init() != 0) throw EFontError(bbx::Pl<"Nie można uruchomić biblioteki czcionek: ">() + TTF_GetError());
    Config = FcInitLoadConfigAndFonts();
    if (!Config) {
        TTF_Quit();
        throw EFontError(bbx::Pl<"Nie można wczytać konfiguracji czcionek">());
    }
}

TSdlTextRenderer::~TSdlTextRenderer() {
    Faces.clear();
    FcConfigDestroy(Config);
    TTF_Quit();
}

TSdlTextRenderer::TOpenFace& TSdlTextRenderer::Open(const TFontFace& face) {
    for (const auto& open : Faces)
        if (open->Face == face) return *open;

    const bool bold = (face.Style & fsBold) != 0, italic = (face.Style & fsItalic) != 0;
    const int points = std::max(face.Size, 1);
    auto open = std::make_unique<TOpenFace>();
    open->Face = face;
    std::optional<TMatch> used;
    for (const std::string& family : {bbx::Cp1250ToUtf8(face.Name), std::string(FallbackFamily)}) {
        const std::optional<TMatch> match = MatchFont(Config, family, bold, italic);
        if (!match) continue;
        open->Font.reset(TTF_OpenFontIndexDPI(match->File.c_str(), points, match->Index, Dpi, Dpi));
        if (open->Font && HasPolishLetters(open->Font.get())) {
            used = match;
            break;
        }
        open->Font.reset();
    }
    if (!used)
        throw EFontError(bbx::Pl<"Nie znaleziono kroju pisma z polskimi literami: ">() + face.Name);
    open->File = used->File;

    // Synthetic styles only where the family has no real bold or italic file.
    int style = TTF_STYLE_NORMAL;
    if (bold && used->Weight < FC_WEIGHT_BOLD) style |= TTF_STYLE_BOLD;
    if (italic && used->Slant == FC_SLANT_ROMAN) style |= TTF_STYLE_ITALIC;
    if (face.Style & fsUnderline) style |= TTF_STYLE_UNDERLINE;
    if (face.Style & fsStrikeOut) style |= TTF_STYLE_STRIKETHROUGH;
    TTF_Font* font = open->Font.get();
    TTF_SetFontStyle(font, style);
    TTF_SetFontKerning(font, 0);
    // The line is tall enough for the deepest descender of the code page
    // (some faces report less, which would cut the tail of a g or a j).
    int lowest = TTF_FontDescent(font);
    for (int code = 0; code < 256; ++code) {
        const char32_t c = bbx::Cp1250ToCodePoint(static_cast<unsigned char>(code));
        int minY = 0, advance = 0;
        if (IsControl(c) || TTF_GlyphMetrics32(font, c, nullptr, nullptr, &minY, nullptr, &advance) != 0) continue;
        open->Advance[static_cast<std::size_t>(code)] = std::max(advance, 0);
        lowest = std::min(lowest, minY);
    }
    open->Height = std::max(TTF_FontHeight(font), TTF_FontAscent(font) - lowest);
    Faces.push_back(std::move(open));
    return *Faces.back();
}

const std::vector<std::uint8_t>& TSdlTextRenderer::Glyph(TOpenFace& face, unsigned char code) {
    std::optional<std::vector<std::uint8_t>>& cached = face.Glyphs[code];
    if (cached) return *cached;
    const int advance = face.Advance[code];
    cached.emplace(static_cast<std::size_t>(advance) * static_cast<std::size_t>(face.Height), 0);
    const char32_t c = bbx::Cp1250ToCodePoint(code);
    if (advance == 0) return *cached;

    // SDL_ttf puts the pen origin right of any part of the glyph that
    // reaches left of it.
    int minX = 0;
    TTF_GlyphMetrics32(face.Font.get(), c, &minX, nullptr, nullptr, nullptr, nullptr);
    const int origin = std::max(0, -minX);
    SDL_Surface* rendered = TTF_RenderGlyph32_Blended(face.Font.get(), c, SDL_Color{255, 255, 255, 255});
    if (!rendered) return *cached;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (!argb) return *cached;
    SDL_LockSurface(argb);
    const int rows = std::min(argb->h, face.Height);
    for (int y = 0; y < rows; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < advance; ++x) {
            const int from = x + origin;
            if (from >= argb->w) break;
            (*cached)[static_cast<std::size_t>(y) * advance + x] = static_cast<std::uint8_t>(row[from] >> 24);
        }
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return *cached;
}

TTextExtent TSdlTextRenderer::Measure(const TFontFace& face, std::string_view text) {
    const TOpenFace& open = Open(face);
    TTextExtent extent{0, open.Height};
    for (const char c : text) extent.Width += open.Advance[static_cast<unsigned char>(c)];
    return extent;
}

TGlyphMask TSdlTextRenderer::Render(const TFontFace& face, std::string_view text) {
    TOpenFace& open = Open(face);
    const TTextExtent extent = Measure(face, text);
    TGlyphMask mask{extent.Width, extent.Height,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(extent.Width) * extent.Height, 0)};
    int x = 0;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        const int advance = open.Advance[code];
        const std::vector<std::uint8_t>& glyph = Glyph(open, code);
        for (int y = 0; y < open.Height; ++y)
            std::copy_n(glyph.begin() + static_cast<std::ptrdiff_t>(y) * advance, advance,
                        mask.Coverage.begin() + static_cast<std::ptrdiff_t>(y) * extent.Width + x);
        x += advance;
    }
    return mask;
}

std::string TSdlTextRenderer::FontFile(const TFontFace& face) { return Open(face).File; }

}  // namespace gb
