#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "runtime/gfx_matrix.h"
#include "runtime/surface.h"

using namespace gb;
using bbx::RGB;
using bbx::TPixelFormat;

namespace {

// Answers from a script, then `fallback` (1 keeps the walker's direction).
struct TScriptedRandom {
    std::deque<std::int32_t> Script;
    std::int32_t Fallback = 1;
    int Calls = 0;
    TRandomInt Source() {
        return [this](std::int32_t n) {
            ++Calls;
            std::int32_t v = Fallback;
            if (!Script.empty()) {
                v = Script.front();
                Script.pop_front();
            }
            EXPECT_TRUE(v >= 0 && v < n) << v << " of " << n;
            return v;
        };
    }
};

TRandomInt Seeded(unsigned seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine](std::int32_t n) { return std::uniform_int_distribution<std::int32_t>(0, n - 1)(*engine); };
}

std::int64_t Sum(const Tgfx_Matrix& m, unsigned (*channel)(bbx::TColor)) {
    std::int64_t sum = 0;
    for (int y = 0; y < m.GetHeight(); ++y)
        for (int x = 0; x < m.GetWidth(); ++x) sum += channel(m.GetPixel(x, y));
    return sum;
}

unsigned Red(bbx::TColor c) { return bbx::GetRValue(c); }
unsigned Green(bbx::TColor c) { return bbx::GetGValue(c); }
unsigned Blue(bbx::TColor c) { return bbx::GetBValue(c); }

}  // namespace

TEST(Matrix, SizeEmptinessAndBrightening) {
    Tgfx_Matrix m;
    EXPECT_TRUE(m.IsEmpty());
    m.SetSize(0, 5);
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_EQ(m.GetHeight(), 5);
    m.SetPixel(0, 0, RGB(1, 1, 1));  // no pixels: ignored
    EXPECT_EQ(m.GetPixel(0, 0), 0u);

    m.SetSize(3, 2);
    EXPECT_FALSE(m.IsEmpty());
    EXPECT_EQ(m.GetPixel(2, 1), 0u) << "a new size starts black";
    m.SetPixel(1, 1, RGB(10, 200, 255));
    m.Brighten(1, 1, 300);
    EXPECT_EQ(m.GetPixel(1, 1), RGB(255, 255, 255));
    m.SetPixel(1, 1, RGB(10, 200, 255));
    m.Brighten(1, 1, -300);
    EXPECT_EQ(m.GetPixel(1, 1), 0u);
    m.SetPixel(0, 0, RGB(10, 200, 250));
    m.BrightenAll(10);
    EXPECT_EQ(m.GetPixel(0, 0), RGB(20, 210, 255));
    EXPECT_EQ(m.GetPixel(2, 1), RGB(10, 10, 10));
    m.Brighten(0, 0, 2147483647);  // no overflow
    EXPECT_EQ(m.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(m.GetPixel(3, 0), 0u) << "outside reads black";
}

TEST(Matrix, NoiseWalkWrapsAroundTheEdges) {
    // Straight right along row 1 of a 4 x 3 matrix from its last column:
    // 12 steps, three rounds of the row.
    Tgfx_Matrix m;
    m.SetSize(4, 3);
    TScriptedRandom random{{3, 1, 2}};
    m.NoiseWalk(0, 1, random.Source());
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(m.GetPixel(x, 1), RGB(3, 3, 3)) << x;
        EXPECT_EQ(m.GetPixel(x, 0), 0u);
        EXPECT_EQ(m.GetPixel(x, 2), 0u);
    }
    EXPECT_EQ(random.Calls, 3 + 12);

    // Down-right from the bottom-right corner wraps both ways: the diagonal
    // walk visits every pixel of a 4 x 3 matrix once.
    m.SetSize(4, 3);
    TScriptedRandom diagonal{{3, 2, 3}};
    m.NoiseWalk(2, 1, diagonal.Source());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(m.GetPixel(x, y), RGB(0, 1, 0)) << x << "," << y << ": green only";
}

TEST(Matrix, NoiseWalkTurnsThroughTheEightDirections) {
    // Up, then a turn left: 7 (up-left), along the diagonal of a 3 x 3 matrix.
    Tgfx_Matrix m;
    m.SetSize(3, 3);
    TScriptedRandom left{{1, 1, 0, 0}};
    m.NoiseWalk(1, 1, left.Source());
    EXPECT_EQ(m.GetPixel(0, 0), RGB(3, 0, 0));
    EXPECT_EQ(m.GetPixel(2, 2), RGB(3, 0, 0));
    EXPECT_EQ(m.GetPixel(1, 1), RGB(3, 0, 0));
    EXPECT_EQ(m.GetPixel(1, 0), 0u);

    // Up-left, then a turn right: 8 becomes 0 (up), along column 2.
    m.SetSize(3, 3);
    TScriptedRandom right{{2, 1, 7, 2}};
    m.NoiseWalk(3, 2, right.Source());
    for (int y = 0; y < 3; ++y) EXPECT_EQ(m.GetPixel(2, y), RGB(0, 0, 6)) << y;
    EXPECT_EQ(m.GetPixel(1, 1), 0u);
}

TEST(Matrix, NoiseWalkStopsEachChannelAt255AndDoesNothingForAmountZero) {
    Tgfx_Matrix m;
    m.SetSize(2, 1);
    m.SetPixel(0, 0, RGB(254, 100, 255));
    m.SetPixel(1, 0, RGB(254, 100, 255));
    TScriptedRandom zero;
    m.NoiseWalk(0, 0, zero.Source());
    EXPECT_EQ(m.GetPixel(0, 0), RGB(254, 100, 255));
    EXPECT_EQ(zero.Calls, 0);
    TScriptedRandom straight{{0, 0, 2}};
    m.NoiseWalk(0, 2, straight.Source());  // each pixel stepped on twice
    EXPECT_EQ(m.GetPixel(0, 0), RGB(255, 102, 255));
    EXPECT_EQ(m.GetPixel(1, 0), RGB(255, 102, 255));
    Tgfx_Matrix empty;
    empty.NoiseWalk(0, 5, zero.Source());
    EXPECT_EQ(zero.Calls, 0);
}

TEST(Matrix, AddNoiseAveragesTheColourGreyInOneWalkColouredInThree) {
    Tgfx_Matrix grey;
    grey.SetSize(48, 48);
    grey.AddNoise(RGB(20, 20, 20), Seeded(1));
    EXPECT_EQ(Sum(grey, Red), 48 * 48 * 20);
    bool flat = true;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const bbx::TColor c = grey.GetPixel(x, y);
            EXPECT_TRUE(Red(c) == Green(c) && Green(c) == Blue(c)) << "one walk on all three channels";
            flat = flat && Red(c) == 20;
        }
    EXPECT_FALSE(flat) << "a grain, not a flat colour";

    Tgfx_Matrix coloured;
    coloured.SetSize(48, 48);
    coloured.AddNoise(RGB(30, 0, 12), Seeded(2));
    EXPECT_EQ(Sum(coloured, Red), 48 * 48 * 30);
    EXPECT_EQ(Sum(coloured, Green), 0) << "each channel walks on its own";
    EXPECT_EQ(Sum(coloured, Blue), 48 * 48 * 12);
}

TEST(Matrix, BevelRaisesTopAndLeftLowersBottomAndRightFadingInwards) {
    Tgfx_Matrix m;
    m.SetSize(200, 65);
    for (int y = 0; y < 65; ++y)
        for (int x = 0; x < 200; ++x) m.SetPixel(x, y, RGB(128, 128, 128));
    m.Bevel(0, 96, 10);
    const auto grey = [](unsigned v) { return RGB(v, v, v); };
    EXPECT_EQ(m.GetPixel(0, 0), grey(224)) << "the corner counts as left edge";
    EXPECT_EQ(m.GetPixel(100, 0), grey(224));
    EXPECT_EQ(m.GetPixel(0, 30), grey(224));
    EXPECT_EQ(m.GetPixel(0, 64), grey(224)) << "left wins over bottom at equal distance";
    EXPECT_EQ(m.GetPixel(100, 64), grey(32));
    EXPECT_EQ(m.GetPixel(199, 30), grey(32));
    EXPECT_EQ(m.GetPixel(199, 0), grey(32)) << "right wins over top at equal distance";
    EXPECT_EQ(m.GetPixel(5, 30), grey(128 + 43)) << "round(4/9 * 96)";
    EXPECT_EQ(m.GetPixel(194, 30), grey(128 - 43));
    EXPECT_EQ(m.GetPixel(100, 5), grey(128 + 43));
    EXPECT_EQ(m.GetPixel(9, 30), grey(128)) << "the inner end gets the inner delta";
    EXPECT_EQ(m.GetPixel(10, 10), grey(128));
    EXPECT_EQ(m.GetPixel(100, 32), grey(128));

    Tgfx_Matrix sunken;
    sunken.SetSize(200, 65);
    sunken.BrightenAll(128);
    sunken.Bevel(0, -96, 10);
    EXPECT_EQ(sunken.GetPixel(0, 0), grey(32));
    EXPECT_EQ(sunken.GetPixel(199, 64), grey(224));
}

TEST(Matrix, BevelOfWidthOneIsTheRimInTheEdgeValueAndOddWidthsStayInside) {
    Tgfx_Matrix m;
    m.SetSize(5, 4);
    m.BrightenAll(100);
    m.Bevel(0, 50, 1);
    EXPECT_EQ(m.GetPixel(0, 2), RGB(150, 150, 150));
    EXPECT_EQ(m.GetPixel(2, 0), RGB(150, 150, 150));
    EXPECT_EQ(m.GetPixel(4, 2), RGB(50, 50, 50));
    EXPECT_EQ(m.GetPixel(2, 3), RGB(50, 50, 50));
    EXPECT_EQ(m.GetPixel(2, 2), RGB(100, 100, 100));

    Tgfx_Matrix copy;
    copy.CopyFrom(m);
    m.Bevel(10, 20, 0);
    m.Bevel(10, 20, -3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(m.GetPixel(x, y), copy.GetPixel(x, y));
    m.Bevel(10, 20, 40);  // wider than the matrix: only pixels inside change
}

TEST(Matrix, CopyFromTakesPixelsAndSize) {
    Tgfx_Matrix a, b;
    a.SetSize(3, 2);
    a.SetPixel(2, 1, RGB(9, 8, 7));
    b.SetSize(1, 1);
    b.CopyFrom(a);
    EXPECT_EQ(b.GetWidth(), 3);
    EXPECT_EQ(b.GetPixel(2, 1), RGB(9, 8, 7));
    a.SetPixel(2, 1, 0);
    EXPECT_EQ(b.GetPixel(2, 1), RGB(9, 8, 7)) << "a copy, not a share";
}

TEST(Matrix, DrawToWritesEveryPixelAtTheOffsetInTheSurfaceFormat) {
    Tgfx_Matrix m;
    m.SetSize(3, 2);
    m.SetPixel(0, 0, RGB(255, 0, 0));
    m.SetPixel(2, 1, RGB(7, 3, 7));
    TSurface s(TPixelFormat::Rgb565);
    s.SetSize(4, 4);
    s.Fill(RGB(0, 0, 255));
    m.DrawTo(s, 2, 2);
    EXPECT_EQ(s.Pixel(2, 2), 0xF800u);
    EXPECT_EQ(s.Pixel(3, 2), 0u) << "black pixels are written too";
    EXPECT_EQ(s.Pixel(1, 2), 0x001Fu);
    EXPECT_EQ(s.Pixel(2, 3), 0u);
    m.DrawTo(s, -1, -1);  // clipped
    EXPECT_EQ(s.Pixel(0, 0), 0u);
    EXPECT_EQ(s.Pixel(1, 0), 0u);
}

TEST(TileDraw, CoversTheRectangleAndCutsTheLastColumnAndRow) {
    for (TPixelFormat format : {TPixelFormat::Rgb565, TPixelFormat::Xrgb8888}) {
        TSurface tile(format), target(format);
        tile.SetSize(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) tile.Buffer().SetPixel(x, y, tile.Buffer().MapColor(RGB(8 + x * 8, 8 + y * 8, 0)));
        target.SetSize(200, 60);
        const std::uint32_t blank = target.Buffer().MapColor(RGB(0, 0, 255));
        const auto check = [&](const TRect& r) {
            for (int y = 0; y < target.Height(); ++y)
                for (int x = 0; x < target.Width(); ++x) {
                    const bool inside = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
                    const std::uint32_t expected = inside ? tile.Pixel((x - r.Left) % 16, (y - r.Top) % 16) : blank;
                    ASSERT_EQ(target.Pixel(x, y), expected) << x << "," << y;
                }
        };
        target.Fill(RGB(0, 0, 255));
        TileDraw(target, tile, Bounds(20, 5, 160, 16), false, tile.ClientRect());
        check(Bounds(20, 5, 160, 16));

        target.Fill(RGB(0, 0, 255));
        TileDraw(target, tile, Bounds(30, 7, 100, 20), false, tile.ClientRect());
        check(Bounds(30, 7, 100, 20));

        // Off the surface's edges the tiling keeps its anchor.
        target.Fill(RGB(0, 0, 255));
        TileDraw(target, tile, Bounds(-1000005, -9, 1000200, 100), false, tile.ClientRect());
        check(Bounds(-1000005, -9, 1000200, 100));

        target.Fill(RGB(0, 0, 255));
        TileDraw(target, tile, Bounds(0, 0, 50, 50), false, TRect{0, 0, 0, 16});
        TileDraw(target, tile, Bounds(0, 0, -50, 50), false, tile.ClientRect());
        check(TRect{});
    }
}

TEST(TileDraw, TransparentTilesKeepWhatIsBelow) {
    TSurface tile(TPixelFormat::Xrgb8888), target(TPixelFormat::Xrgb8888);
    tile.SetSize(2, 1);
    tile.Buffer().SetPixel(1, 0, 0xABCDEF);
    target.SetSize(4, 1);
    target.Fill(RGB(1, 2, 3));
    TileDraw(target, tile, Bounds(0, 0, 4, 1), true, tile.ClientRect());
    EXPECT_EQ(target.Pixel(0, 0), 0x010203u);
    EXPECT_EQ(target.Pixel(1, 0), 0xABCDEFu);
    EXPECT_EQ(target.Pixel(2, 0), 0x010203u);
    EXPECT_EQ(target.Pixel(3, 0), 0xABCDEFu);
}
