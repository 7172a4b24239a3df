#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "support/world_test_support.h"
#include "world/cos_na_ziemi.h"
#include "world/efekt.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/zaprzeg.h"

using namespace gb;
using gb::test_support::TEvent;
using gb::test_support::TWorldRig;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Records every update and collision the list gives it.
class TProbe : public TCos {
public:
    TProbe(const TWorldContext& world, std::vector<const TProbe*>* log = nullptr, std::int32_t radius = 12)
        : TCos(world), Log(log) {
        Radius = radius;
    }
    bool Update(std::uint32_t, std::uint32_t) override {
        ++Updates;
        if (Log) Log->push_back(this);
        return Finished;
    }
    void Collide(TCos& other) override { Partners.push_back(&other); }

    std::vector<const TProbe*>* Log;
    std::vector<const TCos*> Partners;
    int Updates = 0;
    bool Finished = false;
};

bool LayerSorted(const TLista& list, std::int32_t layer) {
    for (std::int32_t i = 1; i < list.Count(layer); ++i)
        if (list.Item(layer, i - 1).Y > list.Item(layer, i).Y) return false;
    return true;
}

}  // namespace

TEST(Lista, AddsInOrderOfYAndBeforeEqualYs) {
    TWorldRig rig;
    TCos& post = rig.Add<TStaticCos>(TLista::ObjectLayer, 100, 200, TStaticCos::Post);
    TCos& tree = rig.Add<TStaticCos>(TLista::ObjectLayer, 100, 200, TStaticCos::Tree);
    TCos& low = rig.Add<TMurek>(TLista::ObjectLayer, 600, 300);
    TCos& high = rig.Add<TMurek>(TLista::ObjectLayer, 600, 100);
    const TLista& list = rig.List;
    ASSERT_EQ(list.Count(TLista::ObjectLayer), 5);
    EXPECT_EQ(&list.Item(TLista::ObjectLayer, 1), &high);
    EXPECT_EQ(&list.Item(TLista::ObjectLayer, 2), &tree) << "the newer of equal Ys goes first";
    EXPECT_EQ(&list.Item(TLista::ObjectLayer, 3), &post);
    EXPECT_EQ(&list.Item(TLista::ObjectLayer, 4), &low);

    rig.List.Draw(rig.Screen, 0, 0);
    EXPECT_EQ(rig.ModelAt(100, 205), 6) << "the post, added first, is drawn over the tree";
    EXPECT_THROW(rig.Add<TMurek>(3, 0, 0), std::out_of_range);
}

TEST(Lista, FindsObjectsByIdPointAndOverlap) {
    TWorldRig rig;
    TCos& wall = rig.Add<TMurek>(TLista::ObjectLayer, 100, 100);  // covers 76 .. 124
    TCos& child = rig.Add<TPostac>(TLista::ObjectLayer, 300, 100, TPostac::Child);
    child.Id = "jas";
    rig.Add<TCosNaZiemi>(TLista::GroundLayer, 500, 100, TPostac::Parent).Id = "mama";
    const TLista& list = rig.List;

    EXPECT_EQ(list.FindById("jas"), &child);
    EXPECT_EQ(list.FindById("Jas"), nullptr);
    EXPECT_EQ(list.FindById("mama"), nullptr) << "only the object layer is searched";
    EXPECT_EQ(list.FindById(""), nullptr) << "even though the wall's id is empty";

    EXPECT_EQ(list.ObjectAt(TLista::ObjectLayer, 76, 76), &wall);
    EXPECT_EQ(list.ObjectAt(TLista::ObjectLayer, 124, 100), nullptr);
    EXPECT_EQ(list.ObjectAt(TLista::ObjectLayer, 100, 124), nullptr);

    // A radius-12 square that only touches the wall's edge is not blocked.
    EXPECT_EQ(list.HitTest(TLista::ObjectLayer, 12, nullptr, 136, 100), nullptr);
    EXPECT_EQ(list.HitTest(TLista::ObjectLayer, 12, nullptr, 135.9f, 100), &wall);
    EXPECT_EQ(list.HitTest(TLista::ObjectLayer, 12, &wall, 135.9f, 100), nullptr);
    EXPECT_EQ(list.HitTest(TLista::ObjectLayer, 12, nullptr, 100, 64), nullptr);
}

TEST(Lista, SlidesAlongWallsAndStopsInCorners) {
    TWorldRig rig;
    const std::int32_t objects = TLista::ObjectLayer;
    // Two walls to the right of the mover (x 176 .. 224, y 276 .. 372) and
    // one below them to the left (x 116 .. 164, y 372 .. 420).
    TCos& right = rig.Add<TMurek>(objects, 200, 300);
    TCos& lowerRight = rig.Add<TMurek>(objects, 200, 348);
    TCos& below = rig.Add<TMurek>(objects, 140, 396);
    TProbe& mover = rig.Add<TProbe>(objects, 163, 300);
    mover.Angle = -kPi / 4;  // down and to the right
    mover.Speed = 1;

    // Diagonally into the right wall: the X part is blocked, it slides down
    // and collides with what blocked the X-only slide.
    rig.List.Update(10000, 10, 0, 0);
    EXPECT_FLOAT_EQ(mover.X, 163);
    EXPECT_FLOAT_EQ(mover.Y, static_cast<float>(300 + 10 * std::sin(kPi / 4)));
    ASSERT_EQ(mover.Partners.size(), 1u);
    EXPECT_EQ(mover.Partners[0], &right);

    // Into the corner: neither slide is free; it stays and collides with the
    // wall that blocked the Y-only slide.
    mover.Y = 359;
    rig.List.Update(10010, 10, 0, 0);
    EXPECT_FLOAT_EQ(mover.X, 163);
    EXPECT_FLOAT_EQ(mover.Y, 359);
    ASSERT_EQ(mover.Partners.size(), 2u);
    EXPECT_EQ(mover.Partners[1], &below) << "not the wall " << &lowerRight << " that blocked the other two";

    // Onto the lower wall away from the corner: it slides along X and
    // collides with the wall that the diagonal step hit.
    mover.X = 120;
    rig.List.Update(10020, 10, 0, 0);
    EXPECT_FLOAT_EQ(mover.X, static_cast<float>(120 + 10 * std::cos(kPi / 4)));
    EXPECT_FLOAT_EQ(mover.Y, 359);
    ASSERT_EQ(mover.Partners.size(), 3u);
    EXPECT_EQ(mover.Partners[2], &below);
}

TEST(Lista, OnePutInsideAnotherWalksOutButNotDeeper) {
    TWorldRig rig;
    const std::int32_t objects = TLista::ObjectLayer;
    // A wall block (x 176 .. 224) the mover (radius 12) already overlaps.
    TCos& wall = rig.Add<TMurek>(objects, 200, 300);
    TProbe& mover = rig.Add<TProbe>(objects, 180, 300);
    mover.Speed = 1;

    mover.Angle = 0;  // towards the wall's centre: held, and they collide
    rig.List.Update(10000, 10, 0, 0);
    EXPECT_FLOAT_EQ(mover.X, 180);
    ASSERT_EQ(mover.Partners.size(), 1u);
    EXPECT_EQ(mover.Partners[0], &wall);

    mover.Angle = static_cast<float>(kPi);  // away from it: free
    rig.List.Update(10010, 10, 0, 0);
    EXPECT_FLOAT_EQ(mover.X, 170);
    rig.List.Update(10020, 10, 0, 0);
    EXPECT_FLOAT_EQ(mover.X, 160);
    EXPECT_EQ(mover.Partners.size(), 1u);

    // Clear of it now, the wall holds him as any other.
    mover.Angle = 0;
    rig.List.Update(10030, 10, 0, 0);
    EXPECT_FLOAT_EQ(mover.X, 160);
    EXPECT_EQ(mover.Partners.size(), 2u);
}

TEST(Lista, TheWalkHandlesEveryObjectOnceWhenOneMovesPastOthers) {
    for (const bool forward : {true, false}) {
        TWorldRig rig;
        std::vector<const TProbe*> log;
        std::vector<TProbe*> still;
        for (float y : {100.0f, 110.0f, 120.0f, 130.0f, 140.0f})
            still.push_back(&rig.Add<TProbe>(TLista::ObjectLayer, 400, y, &log));
        // Forward: from the back to between the first two; backward: from
        // the front to between the last two.
        TProbe& mover = rig.Add<TProbe>(TLista::ObjectLayer, 100, forward ? 150.0f : 90.0f, &log);
        mover.Angle = forward ? kPi / 2 : 3 * kPi / 2;
        mover.Speed = 4.5f;  // 45 pixels in the frame
        rig.List.Update(10000, 10, 0, 0);

        EXPECT_FLOAT_EQ(mover.Y, forward ? 105.0f : 135.0f);
        EXPECT_EQ(mover.Updates, 1);
        for (const TProbe* p : still) EXPECT_EQ(p->Updates, 1) << "forward " << forward << " y " << p->Y;
        EXPECT_EQ(log.size(), 6u);
        EXPECT_TRUE(LayerSorted(rig.List, TLista::ObjectLayer));
        EXPECT_EQ(&rig.List.Item(TLista::ObjectLayer, forward ? 2 : 5), &mover);
    }
}

TEST(Lista, ObjectsOffTheViewAreFrozen) {
    TWorldRig rig;
    TEfekt& blast = rig.Add<TEfekt>(TLista::EffectLayer, 900, 300, TEfekt::Explosion);
    TCosNaZiemi& lying = rig.Add<TCosNaZiemi>(TLista::GroundLayer, 300, 700, TPostac::Child);
    TProbe& mover = rig.Add<TProbe>(TLista::ObjectLayer, 300, -13);  // its square ends at -1
    mover.Speed = 1;
    mover.Angle = 7;
    for (std::uint32_t t = 1; t <= 30; ++t) EXPECT_FALSE(rig.List.Update(10000 + t * 1000, 1000, 0, 0));
    EXPECT_EQ(blast.Age, 0u);
    EXPECT_EQ(lying.Timer, 10000);
    EXPECT_FLOAT_EQ(mover.Y, -13);
    EXPECT_FLOAT_EQ(mover.Angle, 7) << "not even its angle is normalised";
    EXPECT_EQ(mover.Updates, 0);

    // Its right edge at 800 + 19 - 19: on the view once X - Radius < 800.
    blast.X = 818.9f;
    EXPECT_TRUE(rig.List.Update(50000, 100, 0, 0)) << "an explosion on the view shakes it";
    EXPECT_EQ(blast.Age, 100u);
}

TEST(Lista, NormalisesAnglesOnceAFrame) {
    TWorldRig rig;
    TProbe& a = rig.Add<TProbe>(TLista::ObjectLayer, 100, 100);
    TProbe& b = rig.Add<TProbe>(TLista::ObjectLayer, 200, 100);
    TProbe& c = rig.Add<TProbe>(TLista::ObjectLayer, 300, 100);
    a.Angle = 7;
    b.Angle = -1;
    c.Angle = 20;
    rig.List.Update(10000, 10, 0, 0);
    EXPECT_FLOAT_EQ(a.Angle, static_cast<float>(7 - 2 * std::numbers::pi));
    EXPECT_FLOAT_EQ(b.Angle, static_cast<float>(-1 + 2 * std::numbers::pi));
    EXPECT_FLOAT_EQ(c.Angle, static_cast<float>(20 - 2 * std::numbers::pi));
}

TEST(Lista, ReportsDistanceOnceASecondForEveryNearObjectOnTheView) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(400, 300);
    hero.Id = "hero";
    rig.Add<TStaticCos>(TLista::ObjectLayer, 500, 300, TStaticCos::Tree).Id = "near";
    rig.Add<TStaticCos>(TLista::ObjectLayer, 550, 300, TStaticCos::Tree).Id = "far";
    rig.Add<TCosNaZiemi>(TLista::GroundLayer, 400, 400, TPostac::Angel).Id = "lying";
    TPostac& snowman = rig.Add<TPostac>(TLista::ObjectLayer, 300, 200, TPostac::Snowman);
    snowman.Id = "balwan";
    snowman.Speed = 0;

    rig.List.Update(900, 10, 0, 0);
    EXPECT_TRUE(rig.Game.Events.empty()) << "0 + 1000 < 900 is false";

    rig.List.Update(1001, 10, 0, 0);
    // Layer order: snowman, far, near, hero (equal Ys, the newest first).
    const std::vector<TEvent> first{{"distance", "lying"}, {"distance", "hero"}, {"distance", "near"},
                                    {"distance", "balwan"}};
    EXPECT_EQ(rig.Game.Events, first) << "ground layer, then the object layer from its last index";
    EXPECT_EQ(rig.List.LastDistanceCheck(), 1001u);
    EXPECT_FLOAT_EQ(snowman.Angle, static_cast<float>(-std::atan2(100.0, 100.0))) << "the snowman faces the hero";

    rig.Game.Events.clear();
    rig.List.Update(2001, 10, 0, 0);
    EXPECT_TRUE(rig.Game.Events.empty());
    rig.List.Update(2002, 10, 0, 0);
    EXPECT_EQ(rig.Game.Events.size(), 4u);

    // Riding parks the hero far off the map: nothing is near him.
    rig.Game.Events.clear();
    hero.X = hero.Y = 1000000;
    rig.List.Update(5000, 10, 0, 0);
    EXPECT_TRUE(rig.Game.Events.empty());
}

TEST(Lista, FallenCharactersLieDownAndGetUpWhenTheirPlaceIsFree) {
    TWorldRig rig;
    TPostac& child = rig.Add<TPostac>(TLista::ObjectLayer, 300, 300, TPostac::Child);
    child.Id = "jas";
    child.Speed = 0;
    child.HitPoints = 0;
    TPostac& snowman = rig.Add<TPostac>(TLista::ObjectLayer, 500, 300, TPostac::Snowman);
    snowman.Id = "balwan";
    snowman.Speed = 0;
    snowman.HitPoints = 0;

    rig.List.Update(10000, 10, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::ObjectLayer), 1) << "only the hero is left standing";
    ASSERT_EQ(rig.List.Count(TLista::GroundLayer), 2);
    auto& melted = dynamic_cast<TCosNaZiemi&>(rig.List.Item(TLista::GroundLayer, 0));
    auto& lyingChild = dynamic_cast<TCosNaZiemi&>(rig.List.Item(TLista::GroundLayer, 1));
    EXPECT_EQ(lyingChild.Kind, TPostac::Child);
    EXPECT_EQ(lyingChild.Id, "jas");
    EXPECT_EQ(melted.Id, "") << "a snowman's id is not kept";
    EXPECT_FLOAT_EQ(rig.Hero().Goodness, -1) << "only the child's fall costs goodness";
    const std::vector<TEvent> falls{{"fall", "jas"}, {"fall", "balwan"}};
    EXPECT_EQ(rig.Game.Events, falls);

    // Its place taken when the timer runs out: it waits, then gets up.
    TMurek& wall = rig.Add<TMurek>(TLista::ObjectLayer, 330, 300);
    rig.List.Update(20000, 9995, 0, 0);
    rig.List.Update(20010, 10, 0, 0);
    EXPECT_EQ(lyingChild.Timer, TCosNaZiemi::RunOut);
    EXPECT_EQ(rig.List.Count(TLista::GroundLayer), 2);
    wall.X = 336;  // now only touching
    rig.List.Update(20020, 10, 0, 0);
    ASSERT_EQ(rig.List.Count(TLista::GroundLayer), 1);
    auto* risen = dynamic_cast<TPostac*>(rig.List.FindById("jas"));
    ASSERT_NE(risen, nullptr);
    EXPECT_EQ(risen->HitPoints, 1) << "fresh values of its kind";
    EXPECT_NEAR(risen->X, 300, 1) << "where it lay; it walked on in the same frame";

    // The melted snowman lies for ever.
    rig.List.Update(80000, 30000, 0, 0);
    rig.List.Update(80010, 10, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::GroundLayer), 1);
}

TEST(Lista, ALyingChildWhoseTimerEndsOnMinusOneStillGetsUp) {
    TWorldRig rig;
    TCosNaZiemi& lying = rig.Add<TCosNaZiemi>(TLista::GroundLayer, 300, 300, TPostac::Child);
    TMurek& wall = rig.Add<TMurek>(TLista::ObjectLayer, 300, 300);
    lying.Timer = 3;
    rig.List.Update(10000, 4, 0, 0);  // 3 - 4 = -1, the mark of "never"
    wall.X = 1000;
    rig.List.Update(10010, 10, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::GroundLayer), 0);
}

TEST(Lista, AFallWhoseScriptRaisesStillRemovesTheFallenOnce) {
    TWorldRig rig;
    TPostac& parent = rig.Add<TPostac>(TLista::ObjectLayer, 300, 300, TPostac::Parent);
    parent.HitPoints = 0;
    rig.Game.OnEvent = [](std::string_view name, std::string_view) {
        if (name == "fall") throw std::runtime_error("script failed");
    };
    EXPECT_THROW(rig.List.Update(10000, 10, 0, 0), std::runtime_error);
    rig.List.Update(10010, 10, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::ObjectLayer), 1);
    EXPECT_EQ(rig.List.Count(TLista::GroundLayer), 1);
    EXPECT_FLOAT_EQ(rig.Hero().Goodness, -1);
}

TEST(Lista, DeletingTheHerosTargetStopsHim) {
    TWorldRig rig;
    TBohater& hero = rig.Hero();
    TPostac& child = rig.Add<TPostac>(TLista::ObjectLayer, 300, 300, TPostac::Child);
    TBohater& other = rig.Add<TBohater>(TLista::ObjectLayer, 900, 900);
    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &child);
    other.SetCommand(TBohater::Walk, 0, 0, &child);
    for (std::int32_t i = 0; i < rig.List.Count(TLista::ObjectLayer); ++i)
        if (&rig.List.Item(TLista::ObjectLayer, i) == &child) rig.List.Delete(TLista::ObjectLayer, i);
    EXPECT_EQ(hero.Command, TBohater::NoCommand);
    EXPECT_EQ(hero.Target, nullptr);
    EXPECT_EQ(other.Target, nullptr) << "no hero keeps a freed target";
    EXPECT_EQ(rig.List.Count(TLista::ObjectLayer), 2);
}

TEST(Lista, KeepsLayersInOrderWhenObjectsArePlacedFromOutside) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(300, 300);
    TZaprzeg& sleigh = rig.Add<TZaprzeg>(TLista::ObjectLayer, 300, 360);
    rig.Add<TStaticCos>(TLista::ObjectLayer, 100, 500, TStaticCos::Tree);
    rig.Add<TStaticCos>(TLista::ObjectLayer, 100, 100, TStaticCos::Tree);
    rig.Game.OnSetRiding = [&](bool on) {
        sleigh.Ridden = on;
        hero.X = hero.Y = 1000000;
    };
    hero.SetCommand(TBohater::BoardSleigh, 0, 0, &sleigh);
    for (std::uint32_t t = 0; t < 30 && !sleigh.Ridden; ++t) rig.List.Update(10000 + t * 20, 20, 0, 0);
    ASSERT_TRUE(sleigh.Ridden);
    EXPECT_FLOAT_EQ(hero.Y, 1000000) << "the collision placed him: the move does not undo it";
    EXPECT_TRUE(LayerSorted(rig.List, TLista::ObjectLayer));

    // A script action placing an object is put in order by the next frame.
    rig.List.Item(TLista::ObjectLayer, 0).Y = 800;
    rig.List.Update(20000, 10, 0, 0);
    EXPECT_TRUE(LayerSorted(rig.List, TLista::ObjectLayer));
}
