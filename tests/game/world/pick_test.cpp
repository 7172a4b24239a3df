// Picking what the player points at by the pixels of the drawn sprites, on
// models that leave most of their sprite transparent: one sphere each, drawn
// as a disc in the middle of its 40 x 60 sprite.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/bbx_collection.h"
#include "support/world_test_support.h"
#include "world/murek.h"
#include "world/postac.h"

using namespace gb;

namespace {

constexpr int kLowestId = -20;
constexpr int kHighestId = 120;
constexpr bbx::TColor kBackground = bbx::RGB(1, 2, 3);

bbx::TColor DiscColor(int id) { return bbx::RGB(static_cast<std::uint8_t>(id - kLowestId), 90, 200); }

// The world rig with its sprite bank's models replaced by the discs.
struct TPickRig : test_support::TWorldRig {
    TPickRig() {
        bbx::Tbbx_collection& models = Gfx.Models;
        while (models.Count() > 0) models.Delete(0);
        for (int id = kLowestId; id <= kHighestId; ++id) {
            bbx::Tbbx_model* m = models.Add();
            m->ID = id;
            m->I1 = 40;
            m->I2 = 60;
            m->AddElement(bbx::MakeSphere(DiscColor(id), 0, 0, 0, 60));
        }
    }

    template <class T, class... Arguments>
    T& Add(float x, float y, Arguments&&... arguments) {
        return TWorldRig::Add<T>(TLista::ObjectLayer, x, y, std::forward<Arguments>(arguments)...);
    }

    // The frame as the player sees it.
    void Draw() {
        Screen.Fill(kBackground);
        List.Draw(Screen, 0, 0);
    }
    // Whose disc the screen pixel shows, if any.
    std::optional<int> DiscAt(int x, int y) const {
        const bbx::TColor c = Screen.Buffer().UnmapPixel(Screen.Pixel(x, y));
        for (int id = kLowestId; id <= kHighestId; ++id)
            if (c == DiscColor(id)) return id;
        return std::nullopt;
    }
    // The topmost screen row in column x showing something drawn.
    int TopOfDrawing(int x) const {
        for (int y = 0; y < Screen.Height(); ++y)
            if (Screen.Buffer().UnmapPixel(Screen.Pixel(x, y)) != kBackground) return y;
        return -1;
    }
};

}  // namespace

TEST(Pick, AHeadAboveTheFootprintPicksTheChildAndATransparentCornerNothing) {
    TPickRig rig;
    TPostac& child = rig.Add<TPostac>(300, 300, TPostac::Child);
    rig.Draw();
    // The sprite spans 280 .. 319 across and 252 .. 311 down; its disc
    // stands in the middle, above the footprint (288 .. 311 down).
    const int head = rig.TopOfDrawing(300) + 2;
    ASSERT_GT(head, 252);
    ASSERT_LT(head, 288) << "the disc reaches above the footprint";
    ASSERT_TRUE(rig.DiscAt(300, head).has_value());

    EXPECT_EQ(rig.List.ObjectAt(TLista::ObjectLayer, 300, static_cast<float>(head)), nullptr)
        << "the footprint alone misses the head";
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 300, head, 0, 0), &child);

    ASSERT_FALSE(rig.DiscAt(281, 253).has_value()) << "the sprite's corner is transparent";
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 281, 253, 0, 0), nullptr);
    // A transparent part of the footprint still counts, as before.
    ASSERT_FALSE(rig.DiscAt(289, 310).has_value());
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 289, 310, 0, 0), &child);
    // The same with the view moved: screen points, world footprints.
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 300 - 100, head - 50, 100, 50), &child);
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 300, head, 5000, 0), nullptr) << "off the view";
}

TEST(Pick, OverlappingFiguresGiveTheOneInFront) {
    TPickRig rig;
    TPostac& behind = rig.Add<TPostac>(300, 300, TPostac::Parent);
    TPostac& front = rig.Add<TPostac>(310, 312, TPostac::Angel);
    rig.Draw();
    const int middleOfFront = rig.TopOfDrawing(310) + 20;
    ASSERT_EQ(rig.DiscAt(310, middleOfFront), model::Angel.Id);
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 310, middleOfFront, 0, 0), &front);

    // Where the one behind still shows, it is picked.
    const int topOfBehind = rig.TopOfDrawing(292) + 1;
    ASSERT_EQ(rig.DiscAt(292, topOfBehind), model::Parent.Id);
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 292, topOfBehind, 0, 0), &behind);
}

TEST(Pick, AWallInFrontKeepsTheFootprintRule) {
    TPickRig rig;
    rig.Add<TPostac>(300, 300, TPostac::Child);
    rig.Draw();
    const int head = rig.TopOfDrawing(300) + 2;
    // A wall lower down the screen whose top face covers the child's head.
    TMurek& wall = rig.Add<TMurek>(300, static_cast<float>(head + 30));
    rig.Draw();
    ASSERT_FALSE(rig.DiscAt(300, head).has_value()) << "the wall hides the head";
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 300, head, 0, 0), nullptr)
        << "neither the hidden child nor the wall, whose footprint lies lower";
    // Low on its front face, below the child's footprint: the wall's square.
    ASSERT_GT(head + 53, 312);
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 300, head + 53, 0, 0), &wall);
}

TEST(Pick, DrawingAfterAPickIsWhole) {
    TPickRig rig;
    rig.Add<TPostac>(300, 300, TPostac::Parent);
    rig.Draw();
    std::vector<std::uint32_t> before;
    for (int y = 240; y < 320; ++y)
        for (int x = 270; x < 330; ++x) before.push_back(rig.Screen.Pixel(x, y));
    ASSERT_NE(rig.List.PickAt(TLista::ObjectLayer, 300, 280, 0, 0), nullptr);
    rig.Draw();
    std::size_t i = 0;
    for (int y = 240; y < 320; ++y)
        for (int x = 270; x < 330; ++x) ASSERT_EQ(rig.Screen.Pixel(x, y), before[i++]) << x << ", " << y;
}

TEST(Pick, TheHeroInFrontIsLookedThrough) {
    TPickRig rig;
    TPostac& child = rig.Add<TPostac>(300, 300, TPostac::Child);
    TBohater& hero = rig.HeroAt(302, 305);
    rig.List.Swap(TLista::ObjectLayer, 0, rig.List.Count(TLista::ObjectLayer) - 1);  // back in order of Y
    rig.Draw();
    ASSERT_EQ(rig.List.PickAt(TLista::ObjectLayer, 300, 285, 0, 0), &hero) << "the hero covers the child here";
    EXPECT_EQ(rig.List.PickAt(TLista::ObjectLayer, 300, 285, 0, 0, &hero), &child);
}
