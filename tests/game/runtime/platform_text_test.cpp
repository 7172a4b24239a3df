#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <string>

#include "core/code_page.h"
#include "runtime/game_canvas.h"
#include "runtime/gfx_font.h"
#include "runtime/platform/sdl_text_renderer.h"
#include "runtime/surface.h"

using namespace gb;
using bbx::RGB;
using bbx::TPixelFormat;

namespace {

const TFontFace GameFace{"Verdana", 9, fsBold};
const std::vector<bbx::TColor> GameColours{RGB(128, 128, 128), RGB(255, 255, 255), RGB(0, 255, 255)};

int Ink(const TGlyphMask& mask, int fromX, int toX) {
    int ink = 0;
    for (int y = 0; y < mask.Height; ++y)
        for (int x = fromX; x < toX; ++x) ink += mask.Coverage[static_cast<std::size_t>(y) * mask.Width + x] > 128;
    return ink;
}

// The last column on which any pixel differs from the background colour.
int LastInkColumn(const TSurface& s, bbx::TColor background) {
    const std::uint32_t blank = s.Buffer().MapColor(background);
    int last = -1;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.Pixel(x, y) != blank) last = std::max(last, x);
    return last;
}

}  // namespace

TEST(SdlTextRenderer, FindsABoldFaceWithPolishLettersAtNinetySixDpi) {
    TSdlTextRenderer text;
    const std::string file = text.FontFile(GameFace);
    EXPECT_NE(file.find("Bold"), std::string::npos) << file << ": a real bold file";
    const TTextExtent extent = text.Measure(GameFace, "W");
    // 9 points at 96 dpi is a 12-pixel em; the line is a little taller.
    EXPECT_GE(extent.Height, 12);
    EXPECT_LE(extent.Height, 18);
    EXPECT_GT(extent.Width, text.Measure(GameFace, "i").Width);
    EXPECT_GT(text.Measure({"Verdana", 18, fsBold}, "W").Width, extent.Width);

    const std::string polish = bbx::Utf8ToCp1250("ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
    ASSERT_EQ(polish.size(), 18u);
    int x = 0;
    const TGlyphMask mask = text.Render(GameFace, polish);
    for (const char c : polish) {
        const int w = text.Measure(GameFace, std::string(1, c)).Width;
        EXPECT_GT(w, 0);
        EXPECT_GT(Ink(mask, x, x + w), 3) << "glyph of byte " << int(static_cast<unsigned char>(c));
        x += w;
    }
    EXPECT_EQ(mask.Width, x) << "a text is as wide as its characters side by side";
    EXPECT_EQ(mask.Height, extent.Height);
}

TEST(SdlTextRenderer, TheLineHoldsTheDeepestDescenders) {
    TSdlTextRenderer text;
    // SDL_ttf's own picture of the text, top at the same ascent line.
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFontDPI(text.FontFile(GameFace).c_str(), 9, 96, 96);
    ASSERT_NE(font, nullptr);
    SDL_Surface* reference = TTF_RenderUTF8_Blended(font, "gjpqy", SDL_Color{255, 255, 255, 255});
    ASSERT_NE(reference, nullptr);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(reference, SDL_PIXELFORMAT_ARGB8888, 0);
    int lowestInk = -1;
    for (int y = 0; y < argb->h; ++y)
        for (int x = 0; x < argb->w; ++x)
            if (static_cast<const Uint32*>(argb->pixels)[y * argb->pitch / 4 + x] >> 24 > 64) lowestInk = y;
    SDL_FreeSurface(argb);
    SDL_FreeSurface(reference);
    TTF_CloseFont(font);
    TTF_Quit();

    const TGlyphMask mask = text.Render(GameFace, "gjpqy");
    ASSERT_GT(lowestInk, 0);
    ASSERT_LT(lowestInk, mask.Height) << "the tails fit in the line";
    int ink = 0;
    for (int x = 0; x < mask.Width; ++x) ink += mask.Coverage[static_cast<std::size_t>(lowestInk) * mask.Width + x] > 64;
    EXPECT_GT(ink, 0);
}

TEST(SdlTextRenderer, ControlCodesHaveNoGlyphAndNoWidth) {
    TSdlTextRenderer text;
    for (const char c : std::string("\0\t\n\r\x1f\x7f\x81", 7)) EXPECT_EQ(text.Measure(GameFace, std::string(1, c)).Width, 0);
    EXPECT_EQ(text.Measure(GameFace, std::string("a\r\nb")).Width, text.Measure(GameFace, "ab").Width);
    EXPECT_EQ(text.Measure(GameFace, std::string(1, '\0')).Height, text.Measure(GameFace, "x").Height);
}

TEST(SdlTextRenderer, AFaceWithoutPolishLettersIsPassedOver) {
    TSdlTextRenderer text;
    const TFontFace symbols{"Standard Symbols PS", 12, 0};
    EXPECT_EQ(text.FontFile(symbols).find("Symbol"), std::string::npos) << text.FontFile(symbols);
    const std::string l = bbx::Utf8ToCp1250("ł");
    EXPECT_GT(Ink(text.Render(symbols, l), 0, text.Measure(symbols, l).Width), 3);
}

TEST(SdlTextRenderer, CanvasTextOutDrawsReadableTextOnTheSurface) {
    TSdlTextRenderer text;
    TSurface s(TPixelFormat::Rgb565, &text);
    s.SetSize(200, 30);
    s.Fill(0);
    TGameCanvas& canvas = s.Canvas();
    canvas.SetFontName("Verdana");
    canvas.SetFontSize(30);
    canvas.SetFontStyle(fsBold);
    canvas.SetFontColor(RGB(255, 255, 255));
    canvas.SetBrushStyle(bbx::TBrushStyle::Clear);
    const int width = canvas.TextWidth("Glimmer");
    canvas.TextOut(0, -5, "Glimmer");
    s.ReleaseCanvas();
    EXPECT_GT(width, 100);
    EXPECT_LE(LastInkColumn(s, 0), width);
    int white = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x) white += s.Pixel(x, y) == 0xFFFFu;
    EXPECT_GT(white, 200);
}

TEST(GameFont, RealTypefaceGivesConsistentWidthsWrappingAndAlignment) {
    TSdlTextRenderer text;
    Tgfx_Font font(TPixelFormat::Rgb565, text, "Verdana", 9, fsBold, GameColours);
    EXPECT_EQ(font.Strip().TransparentColor(), 0u);
    EXPECT_EQ(font.Height(), text.Measure(GameFace, "x").Height);
    int sum = 0;
    for (int w : font.Widths()) sum += w;
    EXPECT_EQ(font.StripWidth(), sum);
    EXPECT_EQ(font.Strip().Width(), sum);
    EXPECT_EQ(font.Strip().Height(), 3 * font.Height());

    const std::string sentence = bbx::Utf8ToCp1250("Zażółć gęślą jaźń, wesołych świąt!");
    EXPECT_EQ(font.TextWidth(sentence), text.Measure(GameFace, sentence).Width);
    const int width = font.TextWidth(sentence);
    EXPECT_EQ(font.LineCount(width, sentence), 1);
    // At half the width every line fits and ends after a blank, but the last.
    const int half = width / 2;
    int lines = 0;
    for (int position = 1; position <= static_cast<int>(sentence.size()); ++lines) {
        const int n = font.LineFit(sentence, position, half);
        const std::string line = sentence.substr(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(n));
        EXPECT_LE(font.TextWidth(line), half + font.Widths()[' ']) << line;
        position += n;
        if (position <= static_cast<int>(sentence.size())) {
            EXPECT_EQ(line.back(), ' ') << line;
        }
    }
    EXPECT_GE(lines, 2);
    EXPECT_EQ(font.LineCount(half, sentence), lines);

    // Right-aligned text ends at x; centred text straddles it.
    TSurface target(TPixelFormat::Rgb565);
    target.SetSize(600, 40);
    target.Fill(RGB(0, 0, 128));
    font.DrawText(target, 500, 5, sentence, 1, 0, 1);
    EXPECT_LE(LastInkColumn(target, RGB(0, 0, 128)), 499);
    EXPECT_GE(LastInkColumn(target, RGB(0, 0, 128)), 495);
    target.Fill(RGB(0, 0, 128));
    font.DrawText(target, 300, 5, sentence, 0.5f, 0, 2);
    const int last = LastInkColumn(target, RGB(0, 0, 128));
    EXPECT_NEAR(last, 300 + width / 2, 4);
}
