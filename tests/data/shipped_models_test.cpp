// Guards the shipped model file: every model the game draws is there, and
// every sprite holds its model at each angle the game draws it with, feet on
// the bottom row where the game puts the footprint.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "core/bbx_collection.h"
#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/rounding.h"

using namespace bbx;

namespace {

// How a model meets the ground at the bottom of its sprite.
enum class Footing {
    Upright,  // a standing figure: at every heading its lowest point is within 2 pixels of the bottom row
    Long,     // longer than wide: pointing at the viewer its near end reaches 4 pixels lower than side-on
    None,     // icons, arrows, the pointer and explosions float
};

struct Required {
    std::int32_t Id;
    float Zoom;
    float Pitch;
    Footing Foot;
    bool Lies = false;   // also drawn fallen over: zoom 180, pitch -0.7, yaw 0.3
    bool Turns = true;   // drawn at any yaw; otherwise only at FixedYaw
    float FixedYaw = 0;
};

constexpr float kArrowPitch = 1.5707964f;

// The models the game draws, with the zoom and pitch it draws them with.
const std::vector<Required> kRequired = {
    {-1, 81, -0.1f, Footing::None, false, false, 0.1f},
    {-2, 175, 0.3f, Footing::None}, {-3, 175, 0.3f, Footing::None},
    {-4, 175, 0.3f, Footing::None}, {-5, 175, 0.3f, Footing::None},
    {-6, 350, 0.3f, Footing::Upright},
    {-7, 180, 0.3f, Footing::None}, {-8, 180, 0.3f, Footing::None}, {-9, 180, 0.3f, Footing::None},
    {-10, 135, kArrowPitch, Footing::None}, {-11, 135, kArrowPitch, Footing::None},
    {1, 175, 0.3f, Footing::Upright}, {7, 175, 0.3f, Footing::Upright},
    {8, 175, 0.3f, Footing::Upright}, {17, 175, 0.3f, Footing::Upright},
    {2, 350, 0.3f, Footing::Upright}, {3, 350, 0.3f, Footing::Upright}, {4, 350, 0.3f, Footing::Upright},
    {5, 700, 0.3f, Footing::Upright}, {6, 774, 0.3f, Footing::Upright},
    {9, 180, 0.3f, Footing::Upright, true},
    {10, 180, 0.3f, Footing::Upright, true}, {11, 180, 0.3f, Footing::Upright},
    {12, 180, 0.3f, Footing::Upright},
    {13, 175, 0.3f, Footing::Upright}, {14, 175, 0.3f, Footing::Upright}, {25, 175, 0.3f, Footing::Upright},
    {24, 180, 0.3f, Footing::Upright},
    {15, 264, 0.3f, Footing::Upright, true}, {16, 264, 0.3f, Footing::Upright, true},
    {18, 180, 0.3f, Footing::Long}, {21, 180, 0.3f, Footing::Long},
    {22, 180, 0.3f, Footing::Long}, {23, 180, 0.3f, Footing::Long},
    {19, 180, 0.3f, Footing::Long}, {20, 180, 0.3f, Footing::Long},
};

struct View {
    float Zoom, Pitch, Yaw;
    bool Standing;  // the pose whose feet belong on the bottom row
};

std::string Describe(const Required& r, const View& v) {
    return "model " + std::to_string(r.Id) + " at zoom " + std::to_string(v.Zoom) + ", pitch " +
           std::to_string(v.Pitch) + ", yaw " + std::to_string(v.Yaw);
}

std::vector<View> ViewsOf(const Required& r) {
    if (!r.Turns) return {{r.Zoom, r.Pitch, r.FixedYaw, false}};
    std::vector<View> views;
    for (int degrees = 0; degrees < 360; degrees += 15)
        views.push_back({r.Zoom, r.Pitch, static_cast<float>(degrees * std::numbers::pi / 180), true});
    if (r.Lies) views.push_back({180, -0.7f, 0.3f, false});
    return views;
}

struct Disc {
    int Left, Top, Right, Bottom;  // right and bottom excluded
};

class RecordingCanvas : public TRenderCanvas {
public:
    void SetBrushStyle(TBrushStyle) override {}
    void SetPenColor(TColor) override {}
    void SetBrushColor(TColor) override {}
    void Ellipse(int left, int top, int right, int bottom) override { Discs.push_back({left, top, right, bottom}); }
    std::vector<Disc> Discs;
};

struct Sprite {
    int Width, Height;
};

Sprite SpriteOf(const Tbbx_model& m) {
    return {static_cast<int>(RoundHalfEven(m.I1)), static_cast<int>(RoundHalfEven(m.I2))};
}

std::vector<Disc> Render(const Tbbx_model& m, const View& v) {
    RecordingCanvas canvas;
    const Sprite s = SpriteOf(m);
    RenderModel(m, canvas, s.Width, s.Height, v.Yaw, v.Pitch, v.Zoom);
    return canvas.Discs;
}

int LowestEdge(const std::vector<Disc>& discs) {
    int lowest = INT_MIN;
    for (const Disc& d : discs) lowest = std::max(lowest, d.Bottom);
    return lowest;
}

class ShippedModels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Models = new Tbbx_collection;
        Models->LoadFromFile(BBX_MODELS_FILE);
    }
    static void TearDownTestSuite() {
        delete Models;
        Models = nullptr;
    }

    static const Tbbx_model& Model(std::int32_t id) {
        const Tbbx_model* m = Models->FindById(id);
        if (!m) throw std::runtime_error("no model " + std::to_string(id));
        return *m;
    }

    static Tbbx_collection* Models;
};

Tbbx_collection* ShippedModels::Models = nullptr;

TEST_F(ShippedModels, HoldEveryModelTheGameDrawsOnceEachWithAName) {
    std::multiset<std::int32_t> ids;
    for (std::int32_t i = 0; i < Models->Count(); ++i) ids.insert(Models->Items(i)->ID);
    for (const Required& r : kRequired) {
        EXPECT_EQ(ids.count(r.Id), 1u) << "model " << r.Id;
        if (const Tbbx_model* m = Models->FindById(r.Id)) {
            EXPECT_FALSE(m->Name.empty()) << "model " << r.Id;
        }
    }
}

TEST_F(ShippedModels, HaveWholePositiveSpriteSizesModerateSphereCountsAndVisibleColours) {
    for (std::int32_t i = 0; i < Models->Count(); ++i) {
        const Tbbx_model& m = *Models->Items(i);
        SCOPED_TRACE("model " + std::to_string(m.ID));
        EXPECT_GT(m.I1, 0);
        EXPECT_GT(m.I2, 0);
        EXPECT_EQ(m.I1, std::round(m.I1));
        EXPECT_EQ(m.I2, std::round(m.I2));
        EXPECT_LE(std::max(m.I1, m.I2), 256.0f);

        // The game renders on every cache miss.
        long long spheres = 0;
        for (const TSphereElement& e : m.ElementList()) {
            EXPECT_GE(e.C, -1);
            spheres += e.C == -1 ? 1 : e.C + 2;
        }
        EXPECT_GT(spheres, 0);
        EXPECT_LE(spheres, 480);

        // In 16-bit colour a colour that maps to 0 is the transparent key: a hole.
        for (const TSphereElement& e : m.ElementList()) {
            EXPECT_EQ(e.Color >> 24, 0u);
            EXPECT_NE(TPixelBuffer::MapColor(e.Color, TPixelFormat::Rgb565), 0u) << std::hex << e.Color;
        }
    }
}

TEST_F(ShippedModels, StayInsideTheirSpritesAtEveryAngleTheGameUses) {
    for (const Required& r : kRequired) {
        const Tbbx_model& m = Model(r.Id);
        const Sprite s = SpriteOf(m);
        for (const View& v : ViewsOf(r)) {
            for (const Disc& d : Render(m, v)) {
                const bool inside = d.Left >= 0 && d.Top >= 0 && d.Right <= s.Width && d.Bottom <= s.Height;
                if (!inside) {
                    ADD_FAILURE() << Describe(r, v) << ": a disc (" << d.Left << ", " << d.Top << ", " << d.Right
                                  << ", " << d.Bottom << ") leaves the " << s.Width << "x" << s.Height << " sprite";
                    break;
                }
            }
        }
    }
}

TEST_F(ShippedModels, StandOnTheBottomRowAtEveryHeading) {
    for (const Required& r : kRequired) {
        if (r.Foot == Footing::None) continue;
        const Tbbx_model& m = Model(r.Id);
        const int height = SpriteOf(m).Height;
        const int allowed = r.Foot == Footing::Upright ? 2 : 4;
        int closest = INT_MAX;
        for (const View& v : ViewsOf(r)) {
            if (!v.Standing) continue;
            const int gap = height - LowestEdge(Render(m, v));
            closest = std::min(closest, gap);
            EXPECT_LE(gap, allowed) << Describe(r, v) << " floats above the bottom row";
        }
        EXPECT_LE(closest, 1) << "model " << r.Id << " never reaches the bottom row";
    }
}

TEST_F(ShippedModels, PointerTipIsTheTopLeftPixel) {
    const Tbbx_model& m = Model(-1);
    const std::vector<Disc> discs = Render(m, {81, -0.1f, 0.1f, false});
    ASSERT_FALSE(discs.empty());
    int left = INT_MAX, top = INT_MAX;
    for (const Disc& d : discs) {
        left = std::min(left, d.Left);
        top = std::min(top, d.Top);
    }
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
}

TEST_F(ShippedModels, HudIconsFitTheirCellsAndArrowsTurnAboutTheAimedPoint) {
    for (std::int32_t id : {-2, -3, -4, -5}) {
        const Sprite s = SpriteOf(Model(id));
        EXPECT_LE(s.Width, 48) << "icon " << id;
        EXPECT_LE(s.Height, 48) << "icon " << id;
    }
    for (std::int32_t id : {-10, -11}) {
        const Tbbx_model& m = Model(id);
        // Anchored at the bottom centre 14 pixels below the aimed point, the
        // sprite's centre, about which the arrow turns, must land on it.
        const Sprite s = SpriteOf(m);
        EXPECT_EQ(s.Height - s.Height / 2, 14) << "arrow " << id;
        for (int degrees = 0; degrees < 360; degrees += 45) {
            // The HUD turns the arrow by -theta to point along (cos theta, sin theta) on screen.
            const double theta = degrees * std::numbers::pi / 180;
            double along = 0, area = 0;
            for (const Disc& d : Render(m, {135, kArrowPitch, static_cast<float>(-theta), false})) {
                const double a = double(d.Right - d.Left) * (d.Bottom - d.Top);
                const double x = (d.Left + d.Right) / 2.0 - s.Width / 2, y = (d.Top + d.Bottom) / 2.0 - s.Height / 2;
                along += a * (x * std::cos(theta) + y * std::sin(theta));
                area += a;
            }
            ASSERT_GT(area, 0);
            EXPECT_GT(along / area, 1.0) << "arrow " << id << " turned to " << degrees << " degrees points away";
        }
    }
}

}  // namespace
