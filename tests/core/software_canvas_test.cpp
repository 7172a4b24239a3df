#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "core/pixel_buffer.h"
#include "core/software_canvas.h"

using namespace bbx;

namespace {

int CountPixels(const TPixelBuffer& b, std::uint32_t value) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.GetPixel(x, y) == value;
    return n;
}

}  // namespace

TEST(PixelBuffer, MapsColoursIntoEachFormat) {
    EXPECT_EQ(TPixelBuffer::MapColor(RGB(255, 255, 255), TPixelFormat::Rgb565), 0xFFFFu);
    EXPECT_EQ(TPixelBuffer::MapColor(RGB(255, 0, 0), TPixelFormat::Rgb565), 0xF800u);
    EXPECT_EQ(TPixelBuffer::MapColor(RGB(0, 255, 0), TPixelFormat::Rgb565), 0x07E0u);
    EXPECT_EQ(TPixelBuffer::MapColor(RGB(0, 0, 255), TPixelFormat::Rgb565), 0x001Fu);
    EXPECT_EQ(TPixelBuffer::MapColor(RGB(7, 3, 7), TPixelFormat::Rgb565), 0u) << "very dark becomes the key";
    EXPECT_EQ(TPixelBuffer::MapColor(RGB(0x12, 0x34, 0x56), TPixelFormat::Xrgb8888), 0x123456u);
    EXPECT_EQ(TPixelBuffer::MapColor(0xFF000000u, TPixelFormat::Xrgb8888), 0u) << "byte 3 is ignored";
    TPixelBuffer b16(1, 1, TPixelFormat::Rgb565);
    EXPECT_EQ(b16.UnmapPixel(0xFFFF), RGB(255, 255, 255));
    EXPECT_EQ(b16.UnmapPixel(0), 0u);
}

TEST(SoftwareCanvas, EllipseExcludesRightAndBottomEdges) {
    for (auto format : {TPixelFormat::Rgb565, TPixelFormat::Xrgb8888}) {
        TPixelBuffer b(20, 20, format);
        TSoftwareCanvas c(b);
        c.SetPenColor(RGB(255, 255, 255));
        c.SetBrushColor(RGB(255, 255, 255));
        c.Ellipse(4, 4, 14, 14);
        const std::uint32_t white = b.MapColor(RGB(255, 255, 255));
        EXPECT_EQ(b.GetPixel(9, 4), white);
        EXPECT_EQ(b.GetPixel(9, 13), white);
        EXPECT_EQ(b.GetPixel(4, 9), white);
        EXPECT_EQ(b.GetPixel(13, 9), white);
        EXPECT_EQ(b.GetPixel(9, 14), 0u);
        EXPECT_EQ(b.GetPixel(14, 9), 0u);
        EXPECT_EQ(b.GetPixel(4, 4), 0u) << "corners stay outside";
        // Symmetric about the box centre.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) EXPECT_EQ(b.GetPixel(x, y), b.GetPixel(17 - x, 17 - y));
    }
}

TEST(SoftwareCanvas, TinyAndEmptyBoxes) {
    TPixelBuffer b(10, 10, TPixelFormat::Xrgb8888);
    TSoftwareCanvas c(b);
    c.SetBrushColor(RGB(1, 2, 3));
    c.SetPenColor(RGB(1, 2, 3));
    c.Ellipse(5, 5, 5, 5);
    EXPECT_EQ(CountPixels(b, 0), 100);
    c.Ellipse(2, 2, 3, 3);
    EXPECT_EQ(CountPixels(b, 0x010203), 1);
    c.Ellipse(8, 8, 6, 6);  // reversed box: drawn as its normalised box
    EXPECT_EQ(CountPixels(b, 0x010203), 5);
}

TEST(SoftwareCanvas, ClipsAtEveryEdge) {
    TPixelBuffer b(10, 10, TPixelFormat::Rgb565);
    TSoftwareCanvas c(b);
    c.SetBrushColor(RGB(255, 255, 255));
    c.SetPenColor(RGB(255, 255, 255));
    c.Ellipse(-100000000, -100000000, 100000000, 100000000);
    EXPECT_EQ(CountPixels(b, 0xFFFF), 100);
    c.SetBrushColor(0);
    c.SetPenColor(0);
    c.Ellipse(-5, -5, 5, 5);
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    EXPECT_EQ(b.GetPixel(9, 9), 0xFFFFu);
    c.Rectangle(-3, 8, 30, 40);
    EXPECT_EQ(b.GetPixel(9, 9), 0u);
}

TEST(SoftwareCanvas, PenOutlinesAndClearStyles) {
    TPixelBuffer b(12, 12, TPixelFormat::Xrgb8888);
    TSoftwareCanvas c(b);
    c.SetPenColor(RGB(255, 0, 0));
    c.SetBrushColor(RGB(0, 0, 255));
    c.Rectangle(1, 1, 11, 11);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF0000u);
    EXPECT_EQ(b.GetPixel(10, 10), 0xFF0000u);
    EXPECT_EQ(b.GetPixel(11, 11), 0u);
    EXPECT_EQ(b.GetPixel(5, 5), 0x0000FFu);

    b.Fill(0);
    c.SetBrushStyle(TBrushStyle::Clear);
    c.Ellipse(0, 0, 12, 12);
    EXPECT_EQ(b.GetPixel(6, 6), 0u) << "clear brush leaves the inside";
    EXPECT_EQ(b.GetPixel(6, 0), 0xFF0000u);
    EXPECT_EQ(b.GetPixel(0, 6), 0xFF0000u);

    b.Fill(0);
    c.SetBrushStyle(TBrushStyle::Solid);
    c.SetPenStyle(TPenStyle::Clear);
    c.Ellipse(0, 0, 12, 12);
    EXPECT_EQ(b.GetPixel(6, 0), 0x0000FFu);
    c.FillRect(0, 0, 2, 2);
    EXPECT_EQ(b.GetPixel(1, 1), 0x0000FFu);
}

TEST(SoftwareCanvas, LinesOmitTheirEndPoint) {
    TPixelBuffer b(10, 10, TPixelFormat::Xrgb8888);
    TSoftwareCanvas c(b);
    c.SetPenColor(RGB(0, 255, 0));
    c.Line(0, 0, 5, 0);
    EXPECT_EQ(CountPixels(b, 0x00FF00), 5);
    EXPECT_EQ(b.GetPixel(5, 0), 0u);
    c.Line(9, 9, 0, 0);
    EXPECT_EQ(b.GetPixel(5, 5), 0x00FF00u);
    EXPECT_EQ(b.GetPixel(0, 0), 0x00FF00u);
    c.Line(-20, 3, 30, 3);  // clipped, no stray writes
    EXPECT_EQ(b.GetPixel(9, 3), 0x00FF00u);
    c.SetPixel(2, 8, RGB(9, 9, 9));
    EXPECT_EQ(b.GetPixel(2, 8), 0x090909u);
}

namespace {

// The pixels a disc covers, once through the plain fill (pen = brush) and
// once through the outlined one, whose rows are computed independently.
std::pair<std::vector<bool>, std::vector<bool>> FilledAndOutlined(int w, int h, int l, int t, int r, int b) {
    std::pair<std::vector<bool>, std::vector<bool>> covered;
    for (const bool outlined : {false, true}) {
        TPixelBuffer buffer(w, h, TPixelFormat::Xrgb8888);
        TSoftwareCanvas c(buffer);
        c.SetBrushColor(RGB(0, 0, 255));
        c.SetPenColor(outlined ? RGB(255, 0, 0) : RGB(0, 0, 255));
        c.Ellipse(l, t, r, b);
        auto& pixels = outlined ? covered.second : covered.first;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixels.push_back(buffer.GetPixel(x, y) != 0);
    }
    return covered;
}

}  // namespace

TEST(SoftwareCanvas, DiscsReachingOffTheCanvasKeepTheirPixels) {
    // Boxes inside, partly outside and far outside a 40 x 30 canvas, and huge
    // ones whose centre lies far off: the fill, which visits only the rows on
    // the canvas, covers what the row-by-row outline covers.
    std::mt19937 random(99);
    std::uniform_int_distribution<int> near(-80, 120);
    for (int i = 0; i < 2000; ++i) {
        const int l = near(random), t = near(random), r = near(random), b = near(random);
        const auto [filled, outlined] = FilledAndOutlined(40, 30, l, t, r, b);
        ASSERT_EQ(filled, outlined) << "box " << l << "," << t << "," << r << "," << b;
    }
    for (const auto& box : std::vector<std::array<int, 4>>{{-100000000, -100000000, 30, 100000000},
                                                          {-100000000, 10, 100000000, 100000000},
                                                          {20, -100000000, 21, 100000000},
                                                          {-100000000, -99999990, 100000000, 20},
                                                          {35, -100000000, 100000000, 100000000}}) {
        const auto [filled, outlined] = FilledAndOutlined(40, 30, box[0], box[1], box[2], box[3]);
        EXPECT_EQ(filled, outlined) << box[0] << "," << box[1] << "," << box[2] << "," << box[3];
        EXPECT_NE(std::count(filled.begin(), filled.end(), true), 0) << box[0] << "," << box[1] << " reaches the canvas";
    }
}

TEST(SoftwareCanvas, BoxesSpanningTheWholeIntRange) {
    // Width and height beyond int: no overflow, the canvas lies well inside.
    TPixelBuffer b(10, 10, TPixelFormat::Xrgb8888);
    TSoftwareCanvas c(b);
    c.SetBrushColor(RGB(1, 2, 3));
    c.SetPenColor(RGB(1, 2, 3));
    c.Ellipse(std::numeric_limits<int>::min(), std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
              std::numeric_limits<int>::max());
    EXPECT_EQ(CountPixels(b, 0x010203), 100);
}
