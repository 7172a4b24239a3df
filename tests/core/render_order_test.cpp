// The renderer's painter order against the literal selection sort it must
// reproduce, and the sphere limit that bounds a render's work.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "core/depth_order.h"
#include "core/render_model.h"

using namespace bbx;

namespace {

// The selection sort exactly as written: the running best moves only to a
// strictly greater depth, and the exchange happens also when it stays put.
std::vector<std::uint32_t> SelectionSortOrder(std::vector<float> depths) {
    std::vector<std::uint32_t> order(depths.size());
    std::iota(order.begin(), order.end(), 0u);
    for (std::size_t i = 0; i + 1 < depths.size(); ++i) {
        float best = depths[i];
        std::size_t m = i;
        for (std::size_t j = i + 1; j < depths.size(); ++j)
            if (depths[j] > best) {
                best = depths[j];
                m = j;
            }
        std::swap(depths[i], depths[m]);
        std::swap(order[i], order[m]);
    }
    return order;
}

// Depths drawn from a small pool, so that ties, both zeros, NaN and the
// infinities meet often; `spread` widens the pool towards distinct values.
std::vector<float> RandomDepths(std::mt19937& random, std::size_t n, int spread) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const float specials[] = {0.0f, -0.0f, kNaN, -kNaN, kInf, -kInf, 1.0f, -1.0f};
    std::uniform_int_distribution<int> pick(0, 9 + spread);
    std::uniform_int_distribution<int> small(-3, 3);
    std::uniform_real_distribution<float> wide(-1000, 1000);
    std::vector<float> depths(n);
    for (float& d : depths) {
        const int p = pick(random);
        d = p < 8 ? specials[p] : p < 10 ? static_cast<float>(small(random)) : wide(random);
    }
    return depths;
}

}  // namespace

TEST(DepthOrder, MatchesTheSelectionSortOnManyRandomLists) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> shortList(0, 200), longList(0, 3000);
    std::uniform_int_distribution<int> spread(0, 40);
    // Mostly short lists (either side of the scan-to-tree crossover), one in
    // fifty up to 3000 long: the quadratic reference stays affordable.
    for (int round = 0; round < 10000; ++round) {
        const std::size_t n = round % 50 == 0 ? longList(random) : shortList(random);
        const std::vector<float> depths = RandomDepths(random, n, spread(random));
        ASSERT_EQ(FarToNearOrder(depths), SelectionSortOrder(depths)) << "round " << round << ", " << n << " depths";
    }
}

TEST(DepthOrder, TiesZerosAndNaNKeepTheSelectionSortsOrder) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    // A NaN in place i is never moved by step i; elsewhere it never wins.
    const std::vector<float> withNaN = {kNaN, 1, 2, kNaN, 2, 0};
    EXPECT_EQ(FarToNearOrder(withNaN), SelectionSortOrder(withNaN));
    EXPECT_EQ(FarToNearOrder(withNaN), (std::vector<std::uint32_t>{0, 2, 4, 3, 1, 5}));
    // +0 and -0 are equal: the first one seen stays the best.
    const std::vector<float> zeros = {-1, -0.0f, 0.0f, -0.0f};
    EXPECT_EQ(FarToNearOrder(zeros), (std::vector<std::uint32_t>{1, 2, 3, 0}));
    // The same on lists long enough for the tree.
    std::vector<float> longTies(500, 0.0f);
    for (std::size_t i = 0; i < longTies.size(); i += 3) longTies[i] = i % 2 ? -0.0f : kNaN;
    EXPECT_EQ(FarToNearOrder(longTies), SelectionSortOrder(longTies));
    EXPECT_TRUE(FarToNearOrder({}).empty());
    EXPECT_EQ(FarToNearOrder(std::vector<float>{kNaN}), (std::vector<std::uint32_t>{0}));
}

namespace {

// Records the colour of every disc, in drawing order.
class ColourRecorder : public TRenderCanvas {
public:
    void SetBrushStyle(TBrushStyle) override {}
    void SetPenColor(TColor) override {}
    void SetBrushColor(TColor c) override { Brush = c; }
    void Ellipse(int, int, int, int) override { Colours.push_back(Brush); }
    TColor Brush = 0;
    std::vector<TColor> Colours;
};

}  // namespace

TEST(RenderModel, PaintsInTheSelectionSortsOrder) {
    // At angles 0 a sphere's depth is -z exactly, so the expected drawing
    // order is the selection sort of -z; each colour is the sphere's index.
    std::mt19937 random(7);
    for (const std::size_t n : {0u, 1u, 2u, 127u, 128u, 129u, 700u, 3000u}) {
        const std::vector<float> z = RandomDepths(random, n, 4);
        Tbbx_model model;
        std::vector<float> depths;
        for (std::size_t i = 0; i < n; ++i) {
            // Infinite depths would be left out by the projection; keep them finite.
            const float zi = std::isinf(z[i]) ? 500.0f : z[i];
            model.AddElement(MakeSphere(static_cast<TColor>(i), 0, 0, zi, 1));
            depths.push_back(-zi);
        }
        ColourRecorder canvas;
        RenderModel(model, canvas, 100, 100, 0, 0, 1000);
        std::vector<TColor> expected;
        for (const std::uint32_t i : SelectionSortOrder(depths))
            if (depths[i] + 1000.0L > 0) expected.push_back(i);  // a NaN depth is left out like one behind the eye
        EXPECT_EQ(canvas.Colours, expected) << n << " spheres";
    }
}

TEST(SphereLimit, CountsExactlyAndRefusesBeyondTheLimit) {
    Tbbx_model m;
    m.Name = "Huge";
    m.ID = 42;
    m.AddElement(MakeSphere(1, 0, 0, 0, 1));
    m.AddElement(MakeSeries(1, -7, 0, 0, 0, 1, 0, 0, 0, 1));  // C below -1: no spheres
    m.AddElement(MakeSeries(1, static_cast<std::int32_t>(kMaxRenderSpheres - 3), 0, 0, 0, 1, 0, 0, 0, 1));
    EXPECT_EQ(RenderSphereCount(m), kMaxRenderSpheres);
    EXPECT_NO_THROW(CheckSphereLimit(m)) << "exactly the limit is allowed";

    m.AddElement(MakeSphere(1, 0, 0, 0, 1));
    m.AddElement(MakeSeries(1, std::numeric_limits<std::int32_t>::max(), 0, 0, 0, 1, 0, 0, 0, 1));
    m.AddElement(MakeSeries(1, std::numeric_limits<std::int32_t>::max(), 0, 0, 0, 1, 0, 0, 0, 1));
    const std::int64_t total = kMaxRenderSpheres + 1 + 2 * (std::int64_t{2147483647} + 2);
    EXPECT_EQ(RenderSphereCount(m), total) << "no overflow";
    try {
        CheckSphereLimit(m);
        FAIL() << "no ETooManySpheres";
    } catch (const ETooManySpheres& e) {
        EXPECT_EQ(e.ModelId, 42);
        EXPECT_EQ(e.Element, 3) << "the element that passes the limit";
        EXPECT_EQ(e.Spheres, total);
        EXPECT_STREQ(e.ClassName(), "ETooManySpheres");
        const std::string message = e.what();
        EXPECT_NE(message.find("\"Huge\""), std::string::npos) << message;
        EXPECT_NE(message.find("ID 42"), std::string::npos) << message;
        EXPECT_NE(message.find("element 3"), std::string::npos) << message;
        EXPECT_NE(message.find("1048576"), std::string::npos) << message;
    }
}

TEST(SphereLimit, RenderRefusesBeforeDrawingAnything) {
    // One 40-byte element asking for two thousand million spheres: refused at
    // once, without the 80 GB work array.
    Tbbx_model m;
    m.AddElement(MakeSphere(1, 0, 0, 0, 1));
    m.AddElement(MakeSeries(1, std::numeric_limits<std::int32_t>::max(), 0, 0, 0, 1, 0, 0, 0, 1));
    ColourRecorder canvas;
    EXPECT_THROW(RenderModel(m, canvas, 100, 100, 0, 0, 1000), ETooManySpheres);
    EXPECT_TRUE(canvas.Colours.empty());
    // Caught as the core's exception, as the programs catch it.
    EXPECT_THROW(RenderModel(m, canvas, 100, 100, 0, 0, 1000), Exception);
}
