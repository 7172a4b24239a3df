#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/errors.h"
#include "runtime/game_canvas.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/surface.h"

using namespace gb;
using bbx::RGB;
using bbx::TPixelFormat;

namespace {

constexpr TPixelFormat BothFormats[] = {TPixelFormat::Rgb565, TPixelFormat::Xrgb8888};

// A w x h surface whose pixel (x, y) has its own colour, never the key 0.
void FillPattern(TSurface& s, int w, int h) {
    s.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.Buffer().SetPixel(x, y, s.Buffer().MapColor(RGB(8 + x * 8, 8 + y * 8, 200)));
}

std::uint32_t Mapped(const TSurface& s, bbx::TColor c) { return s.Buffer().MapColor(c); }

}  // namespace

TEST(Surface, NewSurfaceIsEmptyAndReadsOutsideGiveZero) {
    TSurface s(TPixelFormat::Rgb565);
    EXPECT_EQ(s.Width(), 0);
    EXPECT_EQ(s.Height(), 0);
    s.SetSize(4, 3);
    s.Fill(RGB(255, 255, 255));
    EXPECT_EQ(s.Pixel(3, 2), 0xFFFFu);
    EXPECT_EQ(s.Pixel(4, 0), 0u);
    EXPECT_EQ(s.Pixel(-1, 0), 0u);
    s.SetSize(-5, 2);
    EXPECT_EQ(s.Width(), 0);
}

TEST(Surface, SixteenBitsKeepBlackAtZeroAndTurnVeryDarkColoursIntoTheKey) {
    TSurface s16(TPixelFormat::Rgb565), s32(TPixelFormat::Xrgb8888);
    for (TSurface* s : {&s16, &s32}) {
        s->SetSize(2, 2);
        s->Fill(0);
        EXPECT_EQ(s->Pixel(0, 0), 0u) << "black is 0 in every format";
        s->Fill(RGB(7, 3, 7));
    }
    EXPECT_EQ(s16.Pixel(1, 1), 0u);
    EXPECT_EQ(s32.Pixel(1, 1), 0x070307u);

    // Copied with the key 0, that colour vanishes in 16 bits only.
    for (TPixelFormat format : BothFormats) {
        TSurface source(format), target(format);
        source.SetSize(2, 1);
        source.Buffer().SetPixel(0, 0, source.Buffer().MapColor(RGB(7, 3, 7)));
        source.Buffer().SetPixel(1, 0, source.Buffer().MapColor(RGB(8, 4, 8)));
        target.SetSize(2, 1);
        target.Fill(RGB(255, 0, 0));
        target.Draw(0, 0, source, source.ClientRect(), true);
        if (format == TPixelFormat::Rgb565)
            EXPECT_EQ(target.Pixel(0, 0), Mapped(target, RGB(255, 0, 0)));
        else
            EXPECT_EQ(target.Pixel(0, 0), 0x070307u);
        EXPECT_EQ(target.Pixel(1, 0), Mapped(target, RGB(8, 4, 8))) << "the first colour above 0 in 16 bits";
    }
}

TEST(Surface, TransparentCopySkipsTheSourceKeyOpaqueCopyTakesEverything) {
    for (TPixelFormat format : BothFormats) {
        TSurface source(format), target(format);
        FillPattern(source, 4, 4);
        const bbx::TColor key = RGB(0, 255, 0);
        source.SetTransparentColor(key);
        source.Buffer().SetPixel(1, 1, Mapped(source, key));
        source.Buffer().SetPixel(2, 3, Mapped(source, key));
        target.SetSize(6, 6);
        target.Fill(RGB(255, 0, 0));
        target.SetTransparentColor(RGB(255, 0, 0));  // the target's own key plays no part

        target.Draw(1, 1, source, source.ClientRect(), true);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool keyed = (x == 1 && y == 1) || (x == 2 && y == 3);
                EXPECT_EQ(target.Pixel(x + 1, y + 1), keyed ? Mapped(target, RGB(255, 0, 0)) : source.Pixel(x, y))
                    << x << "," << y;
            }
        EXPECT_EQ(target.Pixel(0, 0), Mapped(target, RGB(255, 0, 0)));
        EXPECT_EQ(target.Pixel(5, 5), Mapped(target, RGB(255, 0, 0)));

        target.Draw(1, 1, source, source.ClientRect(), false);
        EXPECT_EQ(target.Pixel(2, 2), Mapped(target, key));
    }
}

TEST(Surface, CopiesAreClippedToBothSurfaces) {
    for (TPixelFormat format : BothFormats) {
        TSurface source(format), target(format);
        FillPattern(source, 8, 8);
        target.SetSize(5, 5);

        // Hanging off the top-left corner of the target.
        target.Fill(0);
        target.Draw(-3, -2, source, source.ClientRect(), false);
        EXPECT_EQ(target.Pixel(0, 0), source.Pixel(3, 2));
        EXPECT_EQ(target.Pixel(4, 4), source.Pixel(7, 6));

        // Off the bottom-right corner: only the overlap is written.
        target.Fill(0);
        target.Draw(3, 4, source, source.ClientRect(), false);
        EXPECT_EQ(target.Pixel(3, 4), source.Pixel(0, 0));
        EXPECT_EQ(target.Pixel(4, 4), source.Pixel(1, 0));
        EXPECT_EQ(target.Pixel(2, 4), 0u);
        EXPECT_EQ(target.Pixel(3, 3), 0u);

        // A source rectangle reaching outside the source moves with its cut.
        target.Fill(0);
        target.Draw(1, 1, source, TRect{-2, -1, 2, 2}, false);
        EXPECT_EQ(target.Pixel(3, 2), source.Pixel(0, 0));
        EXPECT_EQ(target.Pixel(4, 3), source.Pixel(1, 1));
        EXPECT_EQ(target.Pixel(2, 2), 0u);
        EXPECT_EQ(target.Pixel(3, 1), 0u);

        // Wholly outside, empty or reversed: nothing.
        target.Fill(0);
        target.Draw(5, 0, source, source.ClientRect(), false);
        target.Draw(0, -8, source, source.ClientRect(), false);
        target.Draw(0, 0, source, TRect{8, 0, 12, 4}, false);
        target.Draw(0, 0, source, TRect{3, 3, 1, 1}, false);
        target.Draw(-2000000000, 2000000000, source, source.ClientRect(), false);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(target.Pixel(x, y), 0u);
    }
}

TEST(Surface, OverlappingCopyWithinOneSurfaceUsesTheOldPixels) {
    TSurface s(TPixelFormat::Xrgb8888);
    FillPattern(s, 6, 1);
    TSurface before(TPixelFormat::Xrgb8888);
    FillPattern(before, 6, 1);
    s.Draw(1, 0, s, TRect{0, 0, 5, 1}, false);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(s.Pixel(x, 0), before.Pixel(x - 1, 0));
}

TEST(Surface, CopyBetweenFormatsConvertsAndKeysInTheSourceFormat) {
    TSurface source(TPixelFormat::Xrgb8888), target(TPixelFormat::Rgb565);
    source.SetSize(2, 1);
    source.SetTransparentColor(RGB(7, 3, 7));
    source.Buffer().SetPixel(0, 0, Mapped(source, RGB(255, 0, 0)));
    source.Buffer().SetPixel(1, 0, Mapped(source, RGB(7, 3, 7)));
    target.SetSize(2, 1);
    target.Fill(RGB(0, 0, 255));
    target.Draw(0, 0, source, source.ClientRect(), true);
    EXPECT_EQ(target.Pixel(0, 0), 0xF800u);
    EXPECT_EQ(target.Pixel(1, 0), 0x001Fu);
}

TEST(GameCanvas, LoanKeepsItsSettingsUntilReleased) {
    TSurface s(TPixelFormat::Xrgb8888);
    s.SetSize(10, 10);
    TGameCanvas& canvas = s.Canvas();
    canvas.SetBrushColor(RGB(1, 2, 3));
    canvas.SetFontName("Verdana");
    EXPECT_EQ(&s.Canvas(), &canvas);
    EXPECT_EQ(s.Canvas().GetBrushColor(), RGB(1, 2, 3));
    canvas.SetPenColor(RGB(9, 9, 9));
    canvas.Rectangle(2, 2, 6, 6);
    canvas.SetPixel(8, 8, RGB(4, 5, 6));
    s.ReleaseCanvas();
    EXPECT_EQ(s.Pixel(2, 2), 0x090909u) << "drawing reaches the pixels";
    EXPECT_EQ(s.Pixel(3, 3), 0x010203u);
    EXPECT_EQ(s.Pixel(6, 6), 0u) << "right and bottom edges excluded";
    EXPECT_EQ(s.Pixel(8, 8), 0x040506u);
    EXPECT_NE(s.Canvas().GetBrushColor(), RGB(1, 2, 3)) << "a new loan starts from the defaults";
    EXPECT_NE(s.Canvas().Font().Name, "Verdana");
}

TEST(GameCanvas, TextOutFillsTheCellWithASolidBrushAndBlendsOverTheSurfaceWithAClearOne) {
    TBoxTextRenderer text(4, 5);
    for (TPixelFormat format : BothFormats) {
        TSurface s(format, &text);
        s.SetSize(12, 8);
        s.Fill(RGB(0, 0, 200));
        TGameCanvas& canvas = s.Canvas();
        canvas.SetFontName("Verdana");
        canvas.SetFontSize(9);
        canvas.SetFontStyle(fsBold);
        canvas.SetFontColor(RGB(255, 255, 255));
        EXPECT_EQ(canvas.TextWidth("ab"), 8);
        EXPECT_EQ(canvas.TextHeight("ab"), 5);
        EXPECT_EQ(text.LastFace, (TFontFace{"Verdana", 9, fsBold}));

        canvas.SetBrushStyle(bbx::TBrushStyle::Solid);
        canvas.SetBrushColor(RGB(0, 0, 0));
        canvas.TextOut(1, 1, "ab");
        EXPECT_EQ(s.Pixel(1, 2), 0u) << "cell background in the brush colour";
        EXPECT_EQ(s.Pixel(1, 5), 0u);
        EXPECT_EQ(s.Pixel(2, 3), Mapped(s, RGB(255, 255, 255)));
        EXPECT_EQ(s.Pixel(2, 1), Mapped(s, RGB(128, 128, 128))) << "half coverage over black";
        EXPECT_EQ(s.Pixel(9, 2), Mapped(s, RGB(0, 0, 200))) << "nothing beyond the text";

        canvas.SetBrushStyle(bbx::TBrushStyle::Clear);
        canvas.TextOut(9, 1, "a");
        EXPECT_EQ(s.Pixel(9, 3), Mapped(s, RGB(0, 0, 200))) << "uncovered pixels stay";
        EXPECT_EQ(s.Pixel(10, 3), Mapped(s, RGB(255, 255, 255)));
        EXPECT_EQ(s.Pixel(10, 1), Mapped(s, RGB(128, 128, 228))) << "half coverage over blue";

        // Text hanging off every edge is clipped.
        canvas.TextOut(-2, -3, "abc");
        canvas.TextOut(10, 6, "abc");
        s.ReleaseCanvas();
    }
}

// Counts what reaches the renderer, to see that a long line is cut to what
// can show.
class TLongestRender final : public TTextRenderer {
public:
    TTextExtent Measure(const TFontFace& face, std::string_view text) override { return Boxes.Measure(face, text); }
    TGlyphMask Render(const TFontFace& face, std::string_view text) override {
        Longest = std::max(Longest, text.size());
        return Boxes.Render(face, text);
    }
    TBoxTextRenderer Boxes{4, 5};
    std::size_t Longest = 0;
};

TEST(GameCanvas, TextOutDrawsOnlyTheGlyphsThatMeetTheTargetWithTheSamePixels) {
    TLongestRender text;
    text.Boxes.Widths['w'] = 6;
    text.Boxes.Widths['n'] = 1;
    std::string line;
    for (int i = 0; i < 40; ++i) line += "wna\x01n";
    const int lineWidth = text.Measure({}, line).Width;

    TSurface whole(TPixelFormat::Xrgb8888, &text);
    whole.SetSize(lineWidth + 40, 8);
    whole.Fill(RGB(0, 0, 200));
    whole.Canvas().SetFontColor(RGB(255, 255, 255));
    whole.Canvas().TextOut(20, 1, line);
    whole.ReleaseCanvas();

    for (const int shift : {0, 1, 3, 4, 5, 9, 17, 60, lineWidth - 5, lineWidth, lineWidth + 3}) {
        TSurface part(TPixelFormat::Xrgb8888, &text);
        part.SetSize(12, 8);
        part.Fill(RGB(0, 0, 200));
        part.Canvas().SetFontColor(RGB(255, 255, 255));
        part.Canvas().TextOut(-shift, 1, line);
        part.ReleaseCanvas();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(part.Pixel(x, y), whole.Pixel(x + shift + 20, y)) << "shift " << shift << " at " << x << "," << y;
    }

    const std::string huge(1'000'000, 'a');
    text.Longest = 0;
    TSurface screen(TPixelFormat::Rgb565, &text);
    screen.SetSize(800, 20);
    screen.Canvas().TextOut(-400'000, 0, huge);
    screen.Canvas().TextOut(50, 0, huge);
    screen.ReleaseCanvas();
    EXPECT_LE(text.Longest, 800u / 4 + 2);
}

TEST(GameCanvas, TextWithoutARendererRaises) {
    TSurface s(TPixelFormat::Rgb565);
    s.SetSize(4, 4);
    EXPECT_THROW(s.Canvas().TextOut(0, 0, "x"), bbx::Exception);
    EXPECT_THROW(s.Canvas().TextWidth("x"), bbx::Exception);
}
