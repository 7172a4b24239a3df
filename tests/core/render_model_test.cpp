#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"

using namespace bbx;

namespace {

struct Box {
    int L, T, R, B;
    TColor Color;
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "(" << b.L << "," << b.T << "," << b.R << "," << b.B << " #" << std::hex << b.Color << std::dec << ")";
}

class RecordingCanvas : public TRenderCanvas {
public:
    void SetBrushStyle(TBrushStyle s) override { Style = s; }
    void SetPenColor(TColor c) override { Pen = c; }
    void SetBrushColor(TColor c) override { Brush = c; }
    void Ellipse(int l, int t, int r, int b) override {
        EXPECT_EQ(Pen, Brush);
        Boxes.push_back({l, t, r, b, Brush});
    }
    TBrushStyle Style = TBrushStyle::Clear;
    TColor Pen = 0xABCDEF, Brush = 0xABCDEF;
    std::vector<Box> Boxes;
};

std::vector<Box> Render(const Tbbx_model& m, int w, int h, float kx, float ky, float r) {
    RecordingCanvas canvas;
    RenderModel(m, canvas, w, h, kx, ky, r);
    EXPECT_EQ(canvas.Style, TBrushStyle::Solid);
    return canvas.Boxes;
}

}  // namespace

TEST(RenderModel, ProjectsByDepthAndPaintsFarFirst) {
    Tbbx_model m;
    m.AddElement(MakeSphere(1, 0, 0, 0, 10));
    m.AddElement(MakeSphere(2, 0, 0, 500, 10));   // turned to z'' = -500: nearer
    m.AddElement(MakeSphere(3, 0, 0, -500, 10));  // z'' = 500: farthest
    const auto boxes = Render(m, 100, 100, 0, 0, 1000);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], (Box{43, 43, 57, 57, 3}));
    EXPECT_EQ(boxes[1], (Box{40, 40, 60, 60, 1}));
    EXPECT_EQ(boxes[2], (Box{30, 30, 70, 70, 2}));
}

TEST(RenderModel, LeavesTheLastDiscColoursSet) {
    Tbbx_model m;
    m.AddElement(MakeSphere(0x11, 0, 0, 0, 10));
    m.AddElement(MakeSphere(0x22, 0, 0, 100, 10));
    RecordingCanvas canvas;
    RenderModel(m, canvas, 100, 100, 0, 0, 1000);
    EXPECT_EQ(canvas.Pen, 0x22u);
    EXPECT_EQ(canvas.Brush, 0x22u);
}

TEST(RenderModel, SeriesExpandsFromTheSecondEnd) {
    Tbbx_model m;
    m.AddElement(MakeSeries(5, 3, 0, -30, 0, 30, 0, 30, 0, 30));
    const auto boxes = Render(m, 200, 200, 0, 0, 1000);
    ASSERT_EQ(boxes.size(), 5u);
    // Expansion order y = 30, 15, 0, -15, -30; the selection sort over equal
    // depths swaps 0 with itself each time, so the order holds.
    const int centres[] = {30, 15, 0, -15, -30};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ((boxes[i].T + boxes[i].B) / 2 - 100, centres[i]) << i;
        EXPECT_EQ(boxes[i].R - boxes[i].L, 60);
        EXPECT_EQ(boxes[i].Color, 5u);
    }
}

TEST(RenderModel, SeriesInterpolatesTheRadius) {
    Tbbx_model m;
    m.AddElement(MakeSeries(5, 0, 0, 0, 0, 10, 0, 0, 0, 20));  // C = 0: just the two ends
    const auto boxes = Render(m, 100, 100, 0, 0, 1000);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].R - boxes[0].L, 40);  // second end first
    EXPECT_EQ(boxes[1].R - boxes[1].L, 20);
}

TEST(RenderModel, EqualDepthFollowsTheSelectionSort) {
    // Depths 0, 5, 0, 5 for a, b, c, d: the selection sort gives b d c a,
    // where a stable sort would give b d a c.
    Tbbx_model m;
    m.AddElement(MakeSphere(0xA, 0, 0, 0, 1));
    m.AddElement(MakeSphere(0xB, 0, 0, -5, 1));
    m.AddElement(MakeSphere(0xC, 0, 0, 0, 1));
    m.AddElement(MakeSphere(0xD, 0, 0, -5, 1));
    const auto boxes = Render(m, 10, 10, 0, 0, 1000);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].Color, 0xBu);
    EXPECT_EQ(boxes[1].Color, 0xDu);
    EXPECT_EQ(boxes[2].Color, 0xCu);
    EXPECT_EQ(boxes[3].Color, 0xAu);
}

TEST(RenderModel, TurnNegatesDepthAndTurnsAboutY) {
    Tbbx_model m;
    m.AddElement(MakeSphere(1, 100, 0, 0, 10));
    // kx = pi/2: x' = cos*x + sin*z = ~0, z' = sin*x - cos*z = 100 (farther).
    const auto boxes = Render(m, 100, 100, 1.5707964f, 0, 1000);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (Box{41, 41, 59, 59, 1}));  // 1000*10/1100 = 9.09
    // Tilting by pi/2 turns depth into screen y.
    Tbbx_model t;
    t.AddElement(MakeSphere(1, 0, 0, 100, 10));  // z' = -100, y'' = -sin(b)*z' = 100
    const auto tilted = Render(t, 100, 100, 0, 1.5707964f, 1000);
    ASSERT_EQ(tilted.size(), 1u);
    EXPECT_EQ(tilted[0], (Box{40, 140, 60, 160, 1}));
}

TEST(RenderModel, DegenerateInputs) {
    Tbbx_model empty;
    EXPECT_TRUE(Render(empty, 100, 100, 0, 0, 1000).empty());

    Tbbx_model below;
    below.AddElement(MakeSeries(1, -2, 0, 0, 0, 10, 0, 0, 0, 10));
    EXPECT_TRUE(Render(below, 100, 100, 0, 0, 1000).empty());

    Tbbx_model m;
    m.AddElement(MakeSphere(1, 30, 40, 0, 10));
    const auto zero = Render(m, 33, 100, 0, 0, 0);
    ASSERT_EQ(zero.size(), 1u);
    EXPECT_EQ(zero[0], (Box{16, 50, 16, 50, 1})) << "R = 0 collapses to the centre; 33 div 2 = 16";
}

TEST(RenderModel, SpheresAtOrBehindTheEyeAreSkipped) {
    Tbbx_model m;
    m.AddElement(MakeSphere(1, 0, 0, 1000, 10));  // z'' = -1000: D = 0
    m.AddElement(MakeSphere(2, 0, 0, 2000, 10));  // behind the eye
    m.AddElement(MakeSphere(3, 0, 0, 0, 10));
    RecordingCanvas canvas;
    RenderModel(m, canvas, 100, 100, 0, 0, 1000);
    ASSERT_EQ(canvas.Boxes.size(), 1u);
    EXPECT_EQ(canvas.Boxes[0].Color, 3u);
    EXPECT_EQ(canvas.Brush, 3u);
}

TEST(RenderModel, RoundsHalvesToEven) {
    Tbbx_model m;
    // R = 1000 at depth 0: x +- r = 2.5 and 7.5 -> round(2.5) = 2, round(7.5) = 8.
    m.AddElement(MakeSphere(1, 5, 0, 0, 2.5f));
    const auto boxes = Render(m, 0, 0, 0, 0, 1000);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].L, 2);
    EXPECT_EQ(boxes[0].R, 8);
    EXPECT_EQ(boxes[0].T, -2);
    EXPECT_EQ(boxes[0].B, 2);
}

TEST(RenderModel, NearerSphereCoversFartherOnPixels) {
    Tbbx_model m;
    m.AddElement(MakeSphere(RGB(0, 0, 255), 0, 0, 10, 20));  // nearer
    m.AddElement(MakeSphere(RGB(255, 0, 0), 0, 0, -10, 30));  // farther, bigger
    TPixelBuffer buffer(100, 100, TPixelFormat::Xrgb8888);
    TSoftwareCanvas canvas(buffer);
    RenderModel(m, canvas, 100, 100, 0, 0, 1000);
    EXPECT_EQ(buffer.GetPixel(50, 50), 0x0000FFu);
    EXPECT_EQ(buffer.GetPixel(50, 50 - 25), 0xFF0000u);
    EXPECT_EQ(buffer.GetPixel(2, 2), 0u);
}

TEST(RenderModel, FarOffSpheresKeepTheirSide) {
    // Projected coordinates beyond the long range (here about 3e38) are
    // clamped on their own side; a NaN radius goes to the negative end.
    const float far = 3e38f;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Tbbx_model m;
    m.AddElement(MakeSphere(1, far, -far, 0, 1));
    m.AddElement(MakeSphere(2, -far, far, 0, 1));
    m.AddElement(MakeSphere(3, 0, 0, 0, nan));
    const auto boxes = Render(m, 100, 100, 0, 0, 1000);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], (Box{50 + 100000000, 50 - 100000000, 50 + 100000000, 50 - 100000000, 1}));
    EXPECT_EQ(boxes[1], (Box{50 - 100000000, 50 + 100000000, 50 - 100000000, 50 + 100000000, 2}));
    EXPECT_EQ(boxes[2], (Box{50 - 100000000, 50 - 100000000, 50 - 100000000, 50 - 100000000, 3}));
}

TEST(RenderModel, HugeSphereCoversTheCanvas) {
    // A radius of 1e30 projects to the clamped box and fills every pixel.
    Tbbx_model m;
    m.AddElement(MakeSphere(RGB(0, 255, 0), 0, 0, 0, 1e30f));
    TPixelBuffer buffer(64, 48, TPixelFormat::Rgb565);
    TSoftwareCanvas canvas(buffer);
    RenderModel(m, canvas, 64, 48, 0.3f, 0.3f, 180);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(buffer.GetPixel(x, y), 0x07E0u) << x << "," << y;
}
