#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "support/world_test_support.h"
#include "world/bohater.h"
#include "world/cos_na_ziemi.h"
#include "world/efekt.h"
#include "world/model_ids.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/zaprzeg.h"

using namespace gb;
using gb::test_support::TEvent;
using gb::test_support::TRendered;
using gb::test_support::TWorldRig;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void ExpectRendered(const TRendered& r, std::int32_t model, float yaw, float pitch, float zoom) {
    EXPECT_EQ(r.ModelId, model);
    EXPECT_FLOAT_EQ(r.Yaw, yaw) << "model " << model;
    EXPECT_FLOAT_EQ(r.Pitch, pitch) << "model " << model;
    EXPECT_FLOAT_EQ(r.Zoom, zoom) << "model " << model;
}

}  // namespace

TEST(WorldObjects, FootprintsOfTheKinds) {
    TWorldRig rig;
    EXPECT_EQ(TMurek(rig.Context).Radius, 24);
    EXPECT_EQ(TBohater(rig.Context).Radius, 11);
    EXPECT_EQ(TZaprzeg(rig.Context).Radius, 32);
    const std::vector<std::int32_t> scenery{12, 24, 12, 48, 8};
    for (std::uint32_t kind = 0; kind < 5; ++kind) {
        const TStaticCos s(rig.Context, kind);
        EXPECT_EQ(s.Radius, scenery[kind]);
        EXPECT_EQ(s.Fuse, TStaticCos::NotLit);
        EXPECT_GE(s.Yaw, 0);
        EXPECT_LT(s.Yaw, 2 * kPi);
    }
    const std::vector<std::int32_t> timers{15000, 10000, 30000, -1, -1};
    for (std::uint32_t kind = 0; kind < 5; ++kind) EXPECT_EQ(TCosNaZiemi(rig.Context, kind).Timer, timers[kind]);
    const std::vector<std::int32_t> hitPoints{4, 1, 3, 10, 10};
    const std::vector<float> speeds{0, 0.075f, 0.05f, 0, 0};
    for (std::uint32_t kind = 0; kind < 5; ++kind) {
        const TPostac p(rig.Context, kind);
        EXPECT_EQ(p.HitPoints, hitPoints[kind]);
        EXPECT_FLOAT_EQ(p.Speed, speeds[kind]);
        EXPECT_EQ(p.Invincible, kind >= 3);
        EXPECT_EQ(p.Radius, 12);
    }
    EXPECT_FLOAT_EQ(TPostac(rig.Context, TPostac::Angel).Facing, 0.62831855f);
    EXPECT_FLOAT_EQ(TPostac(rig.Context, TPostac::GrandfatherFrost).Facing, -0.62831855f);
}

TEST(WorldObjects, ALitChristmasTreeExplodesIntoABurntOne) {
    TWorldRig rig;
    TStaticCos& tree = rig.Add<TStaticCos>(TLista::ObjectLayer, 480, 480, TStaticCos::ChristmasTree);
    tree.Id = "choinka";
    rig.List.Update(10000, 1000, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::EffectLayer), 0) << "an unlit tree does nothing";

    tree.Fuse = 3000;
    rig.List.Update(11000, 2000, 5000, 0);  // off the view: the fuse waits
    EXPECT_EQ(tree.Fuse, 3000);
    rig.List.Update(12000, 2999, 0, 0);
    EXPECT_EQ(tree.Fuse, 1);
    EXPECT_FALSE(rig.List.Update(12001, 1, 0, 0)) << "0 left is not yet burnt down";
    EXPECT_TRUE(rig.List.Update(12002, 1, 0, 0)) << "the new explosion is handled in the same frame";
    // The explosion, and fireworks going up one after another high over it.
    const TEfekt* blast = nullptr;
    std::vector<std::uint32_t> delays;
    for (std::int32_t i = 0; i < rig.List.Count(TLista::EffectLayer); ++i) {
        const auto& effect = dynamic_cast<const TEfekt&>(rig.List.Item(TLista::EffectLayer, i));
        if (effect.Kind == TEfekt::Explosion) {
            EXPECT_EQ(blast, nullptr) << "one explosion";
            blast = &effect;
            continue;
        }
        EXPECT_EQ(effect.Kind, TEfekt::Firework);
        EXPECT_LT(effect.Y, 480 - 100) << "bursting above the tree";
        EXPECT_LT(std::fabs(effect.X - 480), 100);
        delays.push_back(effect.Delay);
    }
    ASSERT_NE(blast, nullptr);
    EXPECT_FLOAT_EQ(blast->X, 480);
    EXPECT_FLOAT_EQ(blast->Y, 437);
    ASSERT_GE(delays.size(), 5u) << "a show, not one flash";
    std::sort(delays.begin(), delays.end());
    EXPECT_GE(delays.back() - delays.front(), 1500u) << "lasting a few seconds";
    EXPECT_EQ(std::adjacent_find(delays.begin(), delays.end()), delays.end()) << "one at a time";
    EXPECT_EQ(tree.Kind, TStaticCos::BurntChristmasTree);
    EXPECT_EQ(tree.Fuse, TStaticCos::NotLit);
    EXPECT_EQ(tree.Radius, 24);
    EXPECT_EQ(rig.Game.Events, (std::vector<TEvent>{{"wybuch", "choinka"}}));
    EXPECT_EQ(rig.Effects(), std::vector<int>{7});

    rig.List.Draw(rig.Screen, 0, 0);
    EXPECT_EQ(rig.Rendered()[0].ModelId, 4);
}

TEST(WorldObjects, EffectsAgeOnTheViewAndEnd) {
    TWorldRig rig;
    TEfekt& blast = rig.Add<TEfekt>(TLista::EffectLayer, 200, 200, TEfekt::Explosion);
    TEfekt& smoke = rig.Add<TEfekt>(TLista::EffectLayer, 400, 200, TEfekt::CrashSmoke);
    EXPECT_EQ(rig.Effects(), std::vector<int>{5}) << "smoke makes its sound as it appears";
    std::vector<std::int32_t> frames;
    std::uint32_t now = 10000;
    for (int age = 100; age <= 600; age += 100) {
        rig.List.Draw(rig.Screen, 0, 0);
        frames.push_back(rig.ModelAt(200, 210));
        rig.List.Update(now += 100, 100, 0, 0);
    }
    EXPECT_EQ(frames, (std::vector<std::int32_t>{-7, -7, -8, -8, -9, -9}));
    EXPECT_EQ(blast.Age, 600u);
    EXPECT_FLOAT_EQ(smoke.Angle, 3);
    rig.List.Update(now += 1, 1, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::EffectLayer), 1) << "the explosion ends once older than 600 ms";
    rig.List.Update(now += 399, 399, 0, 0);
    EXPECT_FLOAT_EQ(smoke.Angle, 5) << "it has turned 5 radians by the age of 1000 ms";
    rig.List.Update(now += 500, 500, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::EffectLayer), 1);
    rig.List.Update(now += 1, 1, 0, 0);
    EXPECT_EQ(rig.List.Count(TLista::EffectLayer), 0);
}

TEST(WorldObjects, FiguresStandOnTheLowerEdgeOfTheirFootprint) {
    TWorldRig rig;
    rig.Add<TStaticCos>(TLista::ObjectLayer, 100, 100, TStaticCos::Post);  // Radius 8
    rig.Add<TMurek>(TLista::ObjectLayer, 300, 100);
    rig.List.Draw(rig.Screen, -10, -20);
    // The 20 x 30 box of the post: x 100 .. 119, bottom row 20 + 100 + 8 - 1.
    EXPECT_EQ(rig.ModelAt(100, 127), 6);
    EXPECT_EQ(rig.ModelAt(119, 98), 6);
    EXPECT_EQ(rig.ModelAt(120, 127), -100);
    EXPECT_EQ(rig.ModelAt(100, 128), -100);
    EXPECT_EQ(rig.ModelAt(99, 127), -100);
    // The wall image: from 48 above the footprint centre down to its lower edge.
    EXPECT_NE(rig.Screen.Pixel(310 - 24, 120 - 48), 0u);
    EXPECT_NE(rig.Screen.Pixel(310 + 23, 120 + 23), 0u);
    EXPECT_EQ(rig.Screen.Pixel(310 - 25, 120), 0u);
    EXPECT_EQ(rig.Screen.Pixel(310, 120 + 24), 0u);
    EXPECT_EQ(rig.Screen.Pixel(310, 120 - 49), 0u);
}

TEST(WorldObjects, ModelsAnglesAndZoomsOfTheKinds) {
    TWorldRig rig;
    const std::int32_t ground = TLista::GroundLayer;
    const std::int32_t objects = TLista::ObjectLayer;
    TStaticCos& big = rig.Add<TStaticCos>(objects, 50, 100, TStaticCos::BigChristmasTree);
    rig.Add<TCosNaZiemi>(ground, 100, 100, TPostac::Child);
    rig.Add<TCosNaZiemi>(ground, 150, 100, TPostac::Snowman);
    TPostac& parent = rig.Add<TPostac>(objects, 200, 200, TPostac::Parent);
    TPostac& child = rig.Add<TPostac>(objects, 250, 300, TPostac::Child);
    TPostac& snowman = rig.Add<TPostac>(objects, 300, 400, TPostac::Snowman);
    TPostac& angel = rig.Add<TPostac>(objects, 350, 500, TPostac::Angel);
    TBohater& hero = rig.HeroAt(400, 550);
    child.Angle = 1;
    child.Speed = 0;
    snowman.Angle = 2;
    hero.Angle = 0.5f;
    rig.List.Update(10000, 1, 0, 0);  // sets everyone's clock; children and snowmen walk a little
    child.Speed = 0;
    rig.List.Draw(rig.Screen, 0, 0);

    const std::vector<TRendered> r = rig.Rendered();
    ASSERT_EQ(r.size(), 8u);
    ExpectRendered(r[0], 24, 0.3f, 0.3f, 180);  // the newer of the equal Ys first
    ExpectRendered(r[1], 10, 0.3f, -0.7f, 180);
    ExpectRendered(r[2], 5, big.Yaw, 0.3f, 700);
    ExpectRendered(r[3], 9, parent.Facing, 0.3f, 180);
    ExpectRendered(r[4], 10, static_cast<float>(child.Angle + std::numbers::pi / 2), 0.3f, 180);
    ExpectRendered(r[5], 14, static_cast<float>(snowman.Angle + std::numbers::pi / 2), 0.3f, 175);  // frame 1
    ExpectRendered(r[6], 15, angel.Facing, 0.3f, 264);
    ExpectRendered(r[7], 1, static_cast<float>(0.5 + std::numbers::pi / 2 + 0.01), 0.3f, 175);
}

TEST(WorldObjects, AnimationFramesOfWalkersAndStrikers) {
    TWorldRig rig;
    TBohater& hero = rig.Hero();
    TPostac& snowman = rig.Add<TPostac>(TLista::ObjectLayer, 300, 300, TPostac::Snowman);
    hero.X = 200;
    hero.Y = 300;
    const auto drawn = [&](const TCos& object) {
        rig.Screen.Fill(0);
        object.Draw(rig.Screen, 0, 0);
        return rig.ModelAt(RoundToPixel(object.X), RoundToPixel(object.Y));
    };
    std::vector<int> heroModels, snowmanModels;
    hero.Speed = 0.1f;
    for (std::uint32_t t = 10000; t < 10000 + 5 * 101; t += 101) {
        hero.Update(t, 101);
        hero.Speed = 0.1f;
        snowman.Update(t, 101);
        heroModels.push_back(drawn(hero));
        snowmanModels.push_back(drawn(snowman));
    }
    EXPECT_EQ(heroModels, (std::vector<int>{1, 8, 1, 7, 1})) << "frames 1, 2, 3, 4, 5";
    EXPECT_EQ(snowmanModels, (std::vector<int>{14, 13, 13, 14, 14}));

    hero.LastHitTime = hero.Now - 249;
    EXPECT_EQ(drawn(hero), 17);
    hero.LastHitTime = hero.Now - 250;
    EXPECT_NE(drawn(hero), 17);
    snowman.LastAttackTime = snowman.Now;
    EXPECT_EQ(drawn(snowman), 25);
    hero.Speed = 0;
    EXPECT_EQ(drawn(hero), 1);
}

TEST(WorldObjects, ASpeechBubbleFloatsAboveTheHead) {
    TWorldRig rig;
    TPostac& parent = rig.Add<TPostac>(TLista::ObjectLayer, 400, 300, TPostac::Parent);
    parent.Draw(rig.Screen, 0, 0);
    const std::uint32_t silent = rig.Screen.Pixel(400, 233);
    parent.Say("Hello");  // 5 box glyphs of 6 pixels, 12 high
    parent.Draw(rig.Screen, 0, 0);
    EXPECT_EQ(rig.Screen.Pixel(400, 233), silent) << "the figure draws no bubble; the list draws them over the world";
    rig.List.DrawSpeechBubbles(rig.Screen, 0, 0, rig.Screen.ClientRect());
    // Bubble: left 400 - 15, top 300 - 12 - 60 - 1, 30 wide, 13 high.
    EXPECT_NE(rig.Screen.Pixel(385, 227), 0u);
    EXPECT_NE(rig.Screen.Pixel(414, 239), 0u);
    EXPECT_EQ(rig.Screen.Pixel(384, 233), 0u);
    EXPECT_EQ(rig.Screen.Pixel(415, 233), 0u);
    EXPECT_EQ(rig.Screen.Pixel(400, 226), 0u);
    EXPECT_EQ(rig.Screen.Pixel(400, 240), 0u) << "its bottom edge 60 pixels above the footprint centre";
}

TEST(WorldObjects, TheSleighTeamIsFiveSpritesAroundItsCentre) {
    TWorldRig rig;
    TZaprzeg& sleigh = rig.Add<TZaprzeg>(TLista::ObjectLayer, 400, 300);
    sleigh.Draw(rig.Screen, 0, 0);
    const std::vector<TRendered> standing = rig.Rendered();
    ASSERT_EQ(standing.size(), 2u) << "the sleigh and one sprite for all four reindeer";
    ExpectRendered(standing[0], 20, -3 * kPi / 2, 0.3f, 180);
    ExpectRendered(standing[1], 18, -kPi, 0.3f, 180);
    // Heading right: the sleigh 38 behind, reindeer 12 to each side, leaders
    // 38 ahead of them; base offset 10 puts each box's bottom row at y + 9.
    EXPECT_EQ(rig.ModelAt(362 - 10, 309), 20);
    EXPECT_EQ(rig.ModelAt(362 - 11, 309), -100);
    EXPECT_EQ(rig.ModelAt(400 - 10, 288 + 9), 18);
    EXPECT_EQ(rig.ModelAt(438 + 9, 288 + 9), 18);
    EXPECT_EQ(rig.ModelAt(438 + 9, 312 + 9), 18);
    EXPECT_EQ(rig.ModelAt(438 + 10, 312 + 9), -100);
    EXPECT_EQ(rig.ModelAt(400, 312 + 10), -100);

    // Heading up the screen: the sleigh below the centre, the leaders above.
    rig.Screen.Fill(0);
    sleigh.Angle = kPi / 2;
    sleigh.Ridden = true;
    sleigh.Draw(rig.Screen, 0, 0);
    EXPECT_EQ(rig.ModelAt(400, 338 + 9), 19);
    EXPECT_EQ(rig.ModelAt(388, 262 + 9), 18);
    EXPECT_EQ(rig.ModelAt(412, 262 + 9), 18);

    sleigh.Update(10000, 10);
    sleigh.Speed = 0.5f;
    const auto reindeer = [&] {
        rig.Screen.Fill(0);
        sleigh.Draw(rig.Screen, 0, 0);
        return rig.ModelAt(412, 262 + 9);
    };
    EXPECT_EQ(reindeer(), 18) << "frame 1";
    sleigh.Update(10101, 10);
    EXPECT_EQ(reindeer(), 22);
    sleigh.Update(10202, 10);
    EXPECT_EQ(reindeer(), 18);
    sleigh.Update(10303, 10);
    EXPECT_EQ(reindeer(), 21) << "frame 4";
    sleigh.Braking = true;
    EXPECT_EQ(reindeer(), 23);
    sleigh.CrashTime = sleigh.Now;
    EXPECT_EQ(reindeer(), 18) << "stunned";
}

TEST(WorldObjects, VillageSceneryFacesTheViewerOrTurnsAsItsKindSays) {
    TWorldRig rig;
    struct TExpected {
        std::uint32_t Kind;
        std::int32_t Radius;
        std::int32_t Model;
        bool FacesViewer;
    };
    const std::vector<TExpected> kinds{
        {TStaticCos::TimberHouse, 72, model::TimberHouse.Id, true},
        {TStaticCos::YellowHouse, 72, model::YellowHouse.Id, true},
        {TStaticCos::BlueHouse, 96, model::BlueHouse.Id, true},
        {TStaticCos::Chapel, 96, model::Chapel.Id, true},
        {TStaticCos::Fence, 24, model::Fence.Id, true},
        {TStaticCos::FenceAcross, 24, model::FenceAcross.Id, true},
        {TStaticCos::Hedge, 24, model::Hedge.Id, true},
        {TStaticCos::StreetLamp, 8, model::StreetLamp.Id, false},
        {TStaticCos::Bench, 16, model::Bench.Id, true},
        {TStaticCos::MarketStall, 24, model::MarketStall.Id, true},
        {TStaticCos::IceFloe, 24, model::IceFloe.Id, false},
        {TStaticCos::SmallIceFloe, 16, model::SmallIceFloe.Id, false},
        {TStaticCos::ShoreRock, 12, model::ShoreRock.Id, false},
        {TStaticCos::Reeds, 8, model::Reeds.Id, false},
        {TStaticCos::Jetty, 24, model::Jetty.Id, true},
        {TStaticCos::ShoreBank, 24, model::ShoreBank.Id, true},
        {TStaticCos::ShoreBankAcross, 24, model::ShoreBankAcross.Id, true},
        {TStaticCos::IceSheet, 24, model::IceSheet.Id, true},
    };
    ASSERT_EQ(kinds.size(), TStaticCos::KindCount - 5) << "every kind past the post";
    for (const TExpected& k : kinds) {
        TWorldRig one;
        TStaticCos& s = one.Add<TStaticCos>(TLista::ObjectLayer, 400, 300, k.Kind);
        s.Yaw = 2.5f;
        EXPECT_EQ(s.Radius, k.Radius) << "kind " << k.Kind;
        one.List.Draw(one.Screen, 0, 0);
        ASSERT_EQ(one.Rendered().size(), 1u) << "kind " << k.Kind;
        const TRendered drawn = one.Rendered()[0];
        EXPECT_EQ(drawn.ModelId, k.Model) << "kind " << k.Kind;
        // Facing the viewer, the model keeps its own yaw whatever way the object was set.
        EXPECT_FLOAT_EQ(drawn.Yaw, k.FacesViewer ? 0.0f : 2.5f) << "kind " << k.Kind;
        EXPECT_FLOAT_EQ(drawn.Pitch, 0.3f) << "kind " << k.Kind;
    }
    rig.Add<TStaticCos>(TLista::ObjectLayer, 400, 300, TStaticCos::KindCount);
    rig.List.Draw(rig.Screen, 0, 0);
    EXPECT_TRUE(rig.Rendered().empty()) << "a kind past the last draws nothing";
}

TEST(WorldObjects, ALitChristmasTreeShowsItsBaubleInFrontUntilItExplodes) {
    TWorldRig rig;
    TStaticCos& tree = rig.Add<TStaticCos>(TLista::ObjectLayer, 400, 300, TStaticCos::ChristmasTree);
    TStaticCos& other = rig.Add<TStaticCos>(TLista::ObjectLayer, 200, 300, TStaticCos::ChristmasTree);
    rig.List.Draw(rig.Screen, 0, 0);
    ASSERT_EQ(rig.Rendered().size(), 2u) << "unlit trees show no bauble";

    tree.Fuse = 3000;
    rig.List.Draw(rig.Screen, 0, 0);
    ASSERT_EQ(rig.Rendered().size(), 3u);
    EXPECT_EQ(rig.Rendered()[2].ModelId, model::HungBauble.Id);
    EXPECT_EQ(rig.ModelAt(400, 300 + tree.Radius - 1), model::HungBauble.Id) << "drawn over its tree";

    rig.List.Update(10000, 3001, 0, 0);
    EXPECT_EQ(tree.Kind, TStaticCos::BurntChristmasTree);
    EXPECT_EQ(other.Kind, TStaticCos::ChristmasTree);
    const auto before = rig.Rendered().size();
    rig.List.Draw(rig.Screen, 0, 0);
    for (std::size_t i = before; i < rig.Rendered().size(); ++i)
        EXPECT_NE(rig.Rendered()[i].ModelId, model::HungBauble.Id) << "the bauble went with the explosion";
}

TEST(WorldObjects, AFireworkWaitsRisesBurstsWithABangFadesAndEnds) {
    TWorldRig rig;
    TEfekt& shot = rig.Add<TEfekt>(TLista::EffectLayer, 400, 200, TEfekt::Firework);
    shot.Delay = 300;
    shot.Colour = 4;
    EXPECT_EQ(shot.Radius, 40) << "its frames centred on its point";
    std::uint32_t now = 10000;
    const auto age = [&](std::uint32_t ms) { rig.List.Update(now += ms, ms, 0, 0); };
    // Each frame is a model of its own, so drawing it renders it anew.
    const auto drawn = [&]() -> std::int32_t {
        const auto before = rig.Rendered().size();
        rig.List.Draw(rig.Screen, 0, 0);
        return rig.Rendered().size() > before ? rig.Rendered().back().ModelId : -100;
    };

    rig.List.Draw(rig.Screen, 0, 0);
    EXPECT_TRUE(rig.Rendered().empty()) << "nothing before its delay";
    age(300);
    EXPECT_EQ(drawn(), model::FireworkRocket.Id);
    EXPECT_TRUE(rig.Effects().empty()) << "no bang while it rises";
    age(TEfekt::FireworkBurst - 1);
    age(1);
    EXPECT_EQ(rig.Effects(), std::vector<int>{7}) << "a bang as it bursts";
    EXPECT_EQ(drawn(), model::FireworkBursts[4 % model::FireworkBursts.size()].Id);
    age(TEfekt::FireworkFade - TEfekt::FireworkBurst);
    EXPECT_EQ(drawn(), model::FireworkFading.Id);
    EXPECT_EQ(rig.Effects(), std::vector<int>{7}) << "one bang";
    age(TEfekt::FireworkEnd - TEfekt::FireworkFade);
    EXPECT_EQ(rig.List.Count(TLista::EffectLayer), 1) << "still there at its last moment";
    age(1);
    EXPECT_EQ(rig.List.Count(TLista::EffectLayer), 0);
}

TEST(WorldObjects, AFireworksRocketRisesToItsPoint) {
    TWorldRig rig;
    rig.Add<TEfekt>(TLista::EffectLayer, 400, 200, TEfekt::Firework);
    std::vector<int> lowest;
    for (int k = 0; k < 3; ++k) {
        rig.Screen.Fill(0);
        rig.List.Draw(rig.Screen, 0, 0);
        int bottom = -1;
        for (int y = 0; y < 600; ++y)
            if (rig.ModelAt(400, y) == model::FireworkRocket.Id) bottom = y;
        lowest.push_back(bottom);
        rig.List.Update(10000 + 150 * k, 150, 0, 0);
    }
    EXPECT_GT(lowest[0], lowest[1]);
    EXPECT_GT(lowest[1], lowest[2]);
    EXPECT_LE(lowest[0], 200 + 40 + 90) << "starting no farther down than its rise";
}

TEST(WorldObjects, VillagersWearTheirLookStandingWalkingLyingAndRisen) {
    const auto drawnModel = [](auto&& setUp) {
        TWorldRig rig;
        setUp(rig);
        rig.List.Draw(rig.Screen, 0, 0);
        return rig.Rendered().empty() ? TRendered{-100, 0, 0, 0} : rig.Rendered().back();
    };
    const auto child = [](std::uint32_t look, float speed, std::int32_t frame) {
        return [=](TWorldRig& rig) {
            TPostac& c = rig.Add<TPostac>(TLista::ObjectLayer, 300, 300, TPostac::Child);
            c.Look = look;
            c.Speed = speed;
            c.Frame = frame;
        };
    };
    EXPECT_EQ(drawnModel(child(0, 0, 0)).ModelId, model::Child.Id) << "the first look is the old child";
    EXPECT_EQ(drawnModel(child(2, 0, 0)).ModelId, model::Child3.Id);
    EXPECT_EQ(drawnModel(child(2, 0.075f, 0)).ModelId, model::Child3StepLeft.Id);
    EXPECT_EQ(drawnModel(child(2, 0.075f, 2)).ModelId, model::Child3StepRight.Id);
    EXPECT_EQ(drawnModel(child(2 + 6, 0, 0)).ModelId, model::Child3.Id) << "looks repeat";

    const auto parent = [](std::uint32_t look) {
        return [=](TWorldRig& rig) { rig.Add<TPostac>(TLista::ObjectLayer, 300, 300, TPostac::Parent).Look = look; };
    };
    EXPECT_EQ(drawnModel(parent(0)).ModelId, model::Parent.Id);
    EXPECT_EQ(drawnModel(parent(6)).ModelId, model::Parent7.Id);
    EXPECT_EQ(drawnModel(parent(9)).ModelId, model::Parent2.Id);

    // Knocked down, the child lies in its own look and gets up in it.
    TWorldRig rig;
    TPostac& ola = rig.Add<TPostac>(TLista::ObjectLayer, 300, 300, TPostac::Child);
    ola.Id = "ola";
    ola.Look = 4;
    ola.Speed = 0;
    ola.HitPoints = 0;
    rig.List.Update(10000, 10, 0, 0);
    ASSERT_EQ(rig.List.Count(TLista::GroundLayer), 1);
    rig.List.Draw(rig.Screen, 0, 0);
    ExpectRendered(rig.Rendered().back(), model::Child5.Id, model::Lying.Yaw, model::Lying.Pitch, model::Lying.Zoom);
    rig.List.Update(20010, 10001, 0, 0);
    auto* risen = dynamic_cast<TPostac*>(rig.List.FindById("ola"));
    ASSERT_NE(risen, nullptr);
    EXPECT_EQ(risen->Look, 4u);

    TWorldRig fallenParent;
    TCosNaZiemi& lying = fallenParent.Add<TCosNaZiemi>(TLista::GroundLayer, 300, 300, TPostac::Parent);
    lying.Look = 3;
    fallenParent.List.Draw(fallenParent.Screen, 0, 0);
    EXPECT_EQ(fallenParent.Rendered().back().ModelId, model::Parent4.Id);
}
