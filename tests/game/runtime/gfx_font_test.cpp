#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "core/errors.h"
#include "runtime/gfx_font.h"
#include "runtime/platform/null/box_text_renderer.h"

using namespace gb;
using bbx::RGB;
using bbx::TPixelFormat;

namespace {

const std::vector<bbx::TColor> GameColours{RGB(128, 128, 128), RGB(255, 255, 255), RGB(0, 255, 255)};
constexpr bbx::TColor Background = RGB(0, 0, 160);

// Glyphs 10 wide and 12 high (control codes 0 wide); ink on the glyph's
// columns 1..9 and rows 0..10.
struct FontTest : ::testing::Test {
    TBoxTextRenderer Text{10, 12};
    Tgfx_Font Font{TPixelFormat::Xrgb8888, Text, "Verdana", 9, fsBold, GameColours};
    TSurface Target{TPixelFormat::Xrgb8888};

    void SetUp() override {
        Target.SetSize(400, 200);
        Target.Fill(Background);
    }
    // The first and last column with ink on the row, if any.
    std::optional<std::pair<int, int>> Ink(int y) const {
        std::optional<std::pair<int, int>> span;
        const std::uint32_t background = Target.Buffer().MapColor(Background);
        for (int x = 0; x < Target.Width(); ++x)
            if (Target.Pixel(x, y) != background) span = std::pair{span ? span->first : x, x};
        return span;
    }
};

}  // namespace

TEST(FontKey, IsBlackOrTheFirstGreyStepNoColourUses) {
    TBoxTextRenderer text;
    const auto key = [&](std::vector<bbx::TColor> colours) {
        return Tgfx_Font(TPixelFormat::Xrgb8888, text, "Verdana", 9, fsBold, colours).Strip().TransparentColor();
    };
    EXPECT_EQ(key(GameColours), 0u);
    EXPECT_EQ(key({RGB(255, 0, 0), 0}), RGB(1, 1, 1));
    EXPECT_EQ(key({RGB(1, 1, 1), 0}), RGB(2, 2, 2));
    EXPECT_EQ(key({RGB(1, 1, 1)}), 0u);
    std::vector<bbx::TColor> everyGrey;
    for (unsigned v = 0; v < 256; ++v) everyGrey.push_back(RGB(v, v, v));
    (void)key(everyGrey);  // finishes, although no grey is left
    EXPECT_THROW(key({}), bbx::Exception);
}

TEST_F(FontTest, StripHoldsEveryCodeInEveryColourOnTheKey) {
    EXPECT_EQ(Font.Height(), 12);
    EXPECT_EQ(Font.ColorCount(), 3);
    EXPECT_EQ(Font.Widths()[0], 0);
    EXPECT_EQ(Font.Widths()['A'], 10);
    EXPECT_EQ(Font.StripWidth(), 224 * 10);
    const TSurface& strip = Font.Strip();
    EXPECT_EQ(strip.Width(), 2240);
    EXPECT_EQ(strip.Height(), 36);
    const int left = ('A' - 32) * 10;  // 32 control codes before it take no room
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(strip.Buffer().UnmapPixel(strip.Pixel(left + 5, k * 12 + 5)), GameColours[k]) << k;
        EXPECT_EQ(strip.Pixel(left, k * 12 + 5), 0u) << "uncovered: the key";
        EXPECT_EQ(strip.Pixel(left + 5, k * 12 + 11), 0u);
    }
    EXPECT_EQ(Text.LastFace, (TFontFace{"Verdana", 9, fsBold}));
}

TEST_F(FontTest, DrawCharCopiesTheGlyphOverTheTargetAndAdvances) {
    EXPECT_EQ(Font.DrawChar(Target, 20, 30, 'x', 1), 30);
    EXPECT_EQ(Target.Pixel(25, 35), 0xFFFFFFu);
    EXPECT_EQ(Target.Pixel(20, 35), Target.Buffer().MapColor(Background)) << "the key leaves the target as it was";
    EXPECT_EQ(Target.Pixel(25, 41), Target.Buffer().MapColor(Background));
    EXPECT_EQ(Font.DrawChar(Target, 20, 60, 'x', 2), 30);
    EXPECT_EQ(Target.Pixel(25, 65), 0x00FFFFu) << "aqua";
    EXPECT_EQ(Font.DrawChar(Target, 40, 60, '\n', 1), 40);
    // A colour index out of range draws nothing but still advances.
    EXPECT_EQ(Font.DrawChar(Target, 100, 100, 'x', 3), 110);
    EXPECT_EQ(Font.DrawChar(Target, 100, 100, 'x', -1), 110);
    EXPECT_FALSE(Ink(105));
}

TEST_F(FontTest, TextWidthSumsTheBytesControlCodesIncluded) {
    EXPECT_EQ(Font.TextWidth(""), 0);
    EXPECT_EQ(Font.TextWidth("ab\r\n"), 20);
    EXPECT_EQ(Font.TextWidth("\xB3\xB9"), 20) << "Polish letters are single bytes";
}

TEST_F(FontTest, DrawTextAlignsByTheFactorsWithHalvesToEven) {
    Font.DrawText(Target, 100, 10, "", 0, 0, 1);
    EXPECT_FALSE(Ink(15)) << "an empty text draws nothing";

    Font.DrawText(Target, 100, 10, "abc", 0, 0, 1);
    EXPECT_EQ(Ink(15), (std::pair{101, 129}));
    Font.DrawText(Target, 100, 30, "abc", 1, 0, 1);
    EXPECT_EQ(Ink(35), (std::pair{71, 99})) << "ends exactly at x";
    Font.DrawText(Target, 100, 50, "abc", 0.5f, 0, 1);
    EXPECT_EQ(Ink(55), (std::pair{86, 114})) << "shifted by 15";
    Font.DrawText(Target, 100, 70, "abc", 0.25f, 0, 1);
    EXPECT_EQ(Ink(75), (std::pair{93, 121})) << "7.5 rounds to 8";

    // Vertical: the middle (6) or the bottom (12) of the line at y.
    Font.DrawText(Target, 300, 100, "a", 0, 0.5f, 1);
    EXPECT_FALSE(Ink(93));
    EXPECT_TRUE(Ink(94));
    Font.DrawText(Target, 300, 150, "a", 0, 1, 1);
    EXPECT_TRUE(Ink(138));
    EXPECT_FALSE(Ink(149));
}

TEST_F(FontTest, LineFitBreaksAfterTheLastBlankInTheSecondHalfOrCutsTheWord) {
    const std::string words = "abcde fghij klm";
    EXPECT_EQ(Font.LineFit(words, 1, 60), 6) << "the blank belongs to the line";
    EXPECT_EQ(Font.LineFit(words, 7, 60), 6);
    EXPECT_EQ(Font.LineFit(words, 13, 60), 3);
    EXPECT_EQ(Font.LineCount(60, words), 3);

    const std::string longWord = "abcdefghijklmnop";
    EXPECT_EQ(Font.LineFit(longWord, 1, 60), 6);
    EXPECT_EQ(Font.LineFit(longWord, 7, 60), 6);
    EXPECT_EQ(Font.LineFit(longWord, 13, 60), 4);
    EXPECT_EQ(Font.LineCount(60, longWord), 3);

    // A blank in the first half is no break: "ab cdefgh" cuts at the width.
    EXPECT_EQ(Font.LineFit("ab cdefgh", 1, 60), 6);
    EXPECT_EQ(Font.LineFit("abcd efgh", 1, 60), 5);
}

TEST_F(FontTest, LineFeedEndsALineThatWouldFitAndControlCodesTakeNoWidth) {
    EXPECT_EQ(Font.LineFit("ab\ncd", 1, 100), 3);
    EXPECT_EQ(Font.LineFit("ab\r\ncd", 1, 100), 4);
    EXPECT_EQ(Font.LineCount(100, "ab\r\ncd"), 2);
    EXPECT_EQ(Font.LineCount(100, "\n\n"), 2);
    EXPECT_EQ(Font.LineCount(100, "x"), 1);
    EXPECT_EQ(Font.LineCount(100, ""), 0);
    EXPECT_EQ(Font.LineFit("abc", 4, 100), 0) << "past the end";
    EXPECT_EQ(Font.LineFit("abc", 0, 100), 0);
}

TEST_F(FontTest, AGlyphWiderThanTheWidthStillMakesProgress) {
    EXPECT_EQ(Font.LineFit("abc", 1, 5), 1);
    EXPECT_EQ(Font.LineCount(5, "abc"), 3);
    EXPECT_EQ(Font.LineCount(0, "a b"), 3);
    EXPECT_EQ(Font.LineCount(-10, "abc"), 3);
    Font.DrawTextRect(Target, TRect{0, 0, 5, 200}, 0, "abc", 0, 1);
    EXPECT_TRUE(Ink(5));
    EXPECT_TRUE(Ink(29));
}

TEST_F(FontTest, DrawTextRectWrapsScrollsAndStopsBeforeTheBottomEdge) {
    const std::string text = "abcde fghij klm";
    Font.DrawTextRect(Target, TRect{10, 20, 70, 200}, 0, text, 0, 1);
    EXPECT_EQ(Ink(25), (std::pair{11, 59})) << "the trailing blank is not drawn";
    EXPECT_EQ(Ink(37), (std::pair{11, 59}));
    EXPECT_EQ(Ink(49), (std::pair{11, 39}));
    EXPECT_FALSE(Ink(61));

    // Scrolled by one line: the first line is skipped, the second at the top.
    Target.Fill(Background);
    Font.DrawTextRect(Target, TRect{10, 20, 70, 200}, 12, text, 0, 1);
    EXPECT_FALSE(Ink(15));
    EXPECT_EQ(Ink(25), (std::pair{11, 59}));
    EXPECT_EQ(Ink(37), (std::pair{11, 39}));

    // Partly scrolled lines above the top are not drawn either.
    Target.Fill(Background);
    Font.DrawTextRect(Target, TRect{10, 20, 70, 200}, 5, text, 0, 1);
    EXPECT_FALSE(Ink(20));
    EXPECT_EQ(Ink(30), (std::pair{11, 59}));

    // A line reaching the bottom edge ends the drawing: 20 + 2 * 12 = 44.
    Target.Fill(Background);
    Font.DrawTextRect(Target, TRect{10, 20, 70, 44}, 0, text, 0, 1);
    EXPECT_TRUE(Ink(25));
    EXPECT_FALSE(Ink(37));
    Target.Fill(Background);
    Font.DrawTextRect(Target, TRect{10, 20, 70, 45}, 0, text, 0, 1);
    EXPECT_TRUE(Ink(37));
    EXPECT_FALSE(Ink(49));
}

TEST_F(FontTest, DrawTextRectAlignsEachLineOnItsOwn) {
    const std::string text = "abcde fghij klm";
    Font.DrawTextRect(Target, TRect{10, 0, 70, 200}, 0, text, 1, 1);
    EXPECT_EQ(Ink(5), (std::pair{21, 69}));
    EXPECT_EQ(Ink(29), (std::pair{41, 69}));

    Target.Fill(Background);
    Font.DrawTextRect(Target, TRect{10, 0, 70, 200}, 0, text, 0.5f, 1);
    EXPECT_EQ(Ink(5), (std::pair{16, 64}));  // centre 40, half of 50 is 25
    EXPECT_EQ(Ink(29), (std::pair{26, 54}));  // half of 30 is 15

    // Any other factor starts at the left edge and still shifts by it.
    Target.Fill(Background);
    Font.DrawTextRect(Target, TRect{100, 0, 160, 200}, 0, "klm", 0.2f, 1);
    EXPECT_EQ(Ink(5), (std::pair{95, 123}));

    // A carriage return before the line feed is not drawn.
    Target.Fill(Background);
    Text.Widths['\r'] = 10;
    Tgfx_Font wideControls(TPixelFormat::Xrgb8888, Text, "Verdana", 9, fsBold, GameColours);
    wideControls.DrawTextRect(Target, TRect{100, 0, 300, 200}, 0, "ab\r\ncd", 1, 1);
    EXPECT_EQ(Ink(5), (std::pair{281, 299}));
    EXPECT_EQ(Ink(17), (std::pair{281, 299}));
}

// Text that runs past the target: glyphs partly on it are drawn in part, a
// huge line shows what falls on the target, and wrapped text goes on to the
// target's last row even in a rectangle that reaches far below it.
namespace {

int InkColumns(const TSurface& target, int y) {
    int n = 0;
    for (int x = 0; x < target.Width(); ++x) n += target.Pixel(x, y) != target.Buffer().MapColor(Background);
    return n;
}

// Five-letter words between single blanks, about 1 MB in all.
std::string HugeLine() {
    std::string line;
    while (line.size() < (1 << 20)) line += "abcde ";
    return line;
}

}  // namespace

TEST_F(FontTest, GlyphsPartlyOnTheTargetAreDrawnInPart) {
    // "b" covers -5 .. 4 (ink from -4), "c" 5 .. 14.
    Font.DrawText(Target, -15, 0, "abc", 0, 0, 1);
    EXPECT_EQ(Ink(5), (std::pair{0, 14}));
    Target.Fill(Background);
    Font.DrawText(Target, 395, 0, "ab", 0, 0, 1);
    EXPECT_EQ(Ink(5), (std::pair{396, 399}));
    // A line whose last inked row or whose top row alone lies on the target.
    Target.Fill(Background);
    Font.DrawText(Target, 0, -10, "a", 0, 0, 1);
    Font.DrawText(Target, 20, 199, "a", 0, 0, 1);
    EXPECT_EQ(Ink(0), (std::pair{1, 9}));
    EXPECT_EQ(Ink(199), (std::pair{21, 29}));
}

TEST_F(FontTest, AHugeLineShowsWhatFallsOnTheTarget) {
    const std::string line = HugeLine();
    Font.DrawText(Target, 5, 10, line, 0, 0, 1);
    // From the first glyph's ink to the right edge: 39 whole glyphs, and
    // the ink of the 40th up to the edge (blanks have a box glyph here).
    EXPECT_EQ(Ink(15), (std::pair{6, 399}));
    EXPECT_EQ(InkColumns(Target, 15), 39 * 9 + 4);

    // Right-aligned, it ends at x.
    Target.Fill(Background);
    Font.DrawText(Target, 300, 10, line, 1, 0, 1);
    EXPECT_EQ(Ink(15), (std::pair{1, 299}));
    EXPECT_EQ(InkColumns(Target, 15), 30 * 9);

    // Centred, it reaches both edges.
    Target.Fill(Background);
    Font.DrawText(Target, 200, 10, line, 0.5f, 0, 1);
    EXPECT_EQ(Ink(15), (std::pair{1, 399}));
    EXPECT_EQ(Font.TextWidth(line), static_cast<int>(line.size()) * 10);
}

TEST_F(FontTest, WrappedTextReachesTheTargetsLastRowInATallRectangle) {
    const std::string line = HugeLine();
    Font.DrawTextRect(Target, TRect{0, 150, 400, 1000000}, 0, line, 0, 1);
    // Six words a line, the last blank not drawn: lines at 150, 162, 174,
    // 186 and the top two rows of the one at 198.
    for (const int y : {150, 162, 174, 186, 198, 199}) EXPECT_EQ(Ink(y), (std::pair{1, 349})) << y;
    EXPECT_FALSE(Ink(149));

    // Scrolled far down, the lines that reach the target are the ones
    // the scroll brings there.
    Target.Fill(Background);
    Font.DrawTextRect(Target, TRect{0, 0, 60, 1000000}, 12 * 1000, line, 0, 1);
    EXPECT_EQ(Ink(0), (std::pair{1, 49}));
    EXPECT_EQ(Ink(199), (std::pair{1, 49}));
}

TEST(FontWidths, ARenderersNegativeWidthCountsAsZero) {
    TBoxTextRenderer text{10, 12};
    text.Widths['x'] = -5;
    const Tgfx_Font font(TPixelFormat::Rgb565, text, "Verdana", 9, fsBold, {RGB(255, 255, 255)});
    EXPECT_EQ(font.Widths()['x'], 0);
    EXPECT_EQ(font.TextWidth("axa"), 20);
    EXPECT_EQ(font.StripWidth(), 223 * 10);
}
