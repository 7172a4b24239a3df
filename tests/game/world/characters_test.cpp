#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/random.h"
#include "support/world_test_support.h"
#include "world/bohater.h"
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

// Runs frames of `step` ms until `done` or `frames` frames have passed.
template <class Done>
std::uint32_t RunUntil(TWorldRig& rig, std::uint32_t& now, std::uint32_t step, int frames, Done done) {
    for (int i = 0; i < frames && !done(); ++i) {
        now += step;
        rig.List.Update(now, step, 0, 0);
    }
    return now;
}

}  // namespace

TEST(Hero, WalksToAPointAndStopsWithinAPixel) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(100, 100);
    hero.SetCommand(TBohater::Walk, 200, 100, nullptr);
    std::uint32_t now = 10000;
    RunUntil(rig, now, 20, 100, [&] { return hero.Command == TBohater::NoCommand; });
    EXPECT_EQ(hero.Command, TBohater::NoCommand);
    EXPECT_EQ(hero.Speed, 0);
    EXPECT_NEAR(hero.X, 200, 1);
    EXPECT_FLOAT_EQ(hero.Y, 100);
}

TEST(Hero, AnOrderToUseAnItemOnAWallWalksAndPushes) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(100, 100);
    TMurek& wall = rig.Add<TMurek>(TLista::ObjectLayer, 200, 100);
    hero.SetCommand(TBohater::WalkAndUse, 5, 6, &wall);
    EXPECT_EQ(hero.Command, TBohater::Walk);
    EXPECT_EQ(hero.Target, &wall);
    hero.SetCommand(TBohater::WalkAndUse, 5, 6, nullptr);
    EXPECT_EQ(hero.Command, TBohater::Walk);

    hero.SetCommand(TBohater::Walk, 0, 0, &wall);
    std::uint32_t now = 10000;
    RunUntil(rig, now, 20, 100, [] { return false; });
    EXPECT_LE(hero.X + 11, 176) << "up to the wall's face, not into it";
    EXPECT_GT(hero.X + 11, 174);
    EXPECT_EQ(hero.Command, TBohater::Walk) << "still pushing";
    EXPECT_TRUE(rig.Sound.Played.empty());
}

TEST(Hero, FourBlowsOfTheHandFellAParentAndEndTheCommand) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(100, 100);
    TPostac& parent = rig.Add<TPostac>(TLista::ObjectLayer, 130, 100, TPostac::Parent);
    parent.Id = "tata";
    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &parent);
    std::uint32_t now = 10000;
    std::vector<std::uint32_t> blows;
    for (int i = 0; i < 200 && hero.Command != TBohater::NoCommand; ++i) {
        now += 50;
        const std::size_t sounds = rig.Sound.Played.size();
        rig.List.Update(now, 50, 0, 0);
        if (rig.Sound.Played.size() > sounds) blows.push_back(now);
    }
    ASSERT_EQ(blows.size(), 4u);
    for (std::size_t i = 1; i < blows.size(); ++i) EXPECT_EQ(blows[i] - blows[i - 1], 550u) << "more than 500 ms apart";
    EXPECT_EQ(hero.Command, TBohater::NoCommand);
    EXPECT_EQ(hero.Target, nullptr);
    EXPECT_FLOAT_EQ(hero.Goodness, -1);
    EXPECT_EQ(rig.Game.Events.back(), (TEvent{"fall", "tata"}));
    EXPECT_EQ(rig.Effects(), (std::vector<int>{0, 0, 0, 0}));

    // The angel cannot be hit.
    TPostac& angel = rig.Add<TPostac>(TLista::ObjectLayer, 160, 100, TPostac::Angel);
    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &angel);
    RunUntil(rig, now, 50, 40, [] { return false; });
    EXPECT_EQ(angel.HitPoints, 10);
}

TEST(Hero, HandsOutPresentsAndRodsToChildrenNotYetGifted) {
    for (const std::uint32_t item : {TBohater::Present, TBohater::Rod}) {
        TWorldRig rig;
        TBohater& hero = rig.Hero();
        TPostac& child = rig.Add<TPostac>(TLista::ObjectLayer, 130, 100, TPostac::Child);
        child.Id = "jas";
        hero.SelectItem(item);
        hero.SetCommand(TBohater::WalkAndUse, 0, 0, &child);

        hero.Collide(child);  // nothing to give yet
        EXPECT_EQ(hero.Command, TBohater::WalkAndUse);
        EXPECT_FALSE(child.Gifted);

        (item == TBohater::Present ? hero.Presents : hero.Rods) = 2;
        hero.Collide(child);
        EXPECT_TRUE(child.Gifted);
        EXPECT_EQ(item == TBohater::Present ? hero.Presents : hero.Rods, 1);
        EXPECT_FLOAT_EQ(hero.Goodness, 1);
        EXPECT_EQ(hero.Command, TBohater::NoCommand);
        EXPECT_EQ(hero.Target, nullptr);
        EXPECT_EQ(rig.Game.Events, (std::vector<TEvent>{{item == TBohater::Present ? "prezent" : "rozga", "jas"}}));
        EXPECT_EQ(rig.Effects(), (std::vector<int>{8, 1}));

        hero.SetCommand(TBohater::WalkAndUse, 0, 0, &child);
        hero.Collide(child);
        EXPECT_EQ(hero.Command, TBohater::WalkAndUse) << "a gifted child takes nothing more";
        EXPECT_EQ(rig.Game.Events.size(), 1u);
    }
}

TEST(Hero, HangsBaublesOnlyOnUnlitChristmasTrees) {
    TWorldRig rig;
    TBohater& hero = rig.Hero();
    hero.Baubles = 2;
    hero.SelectItem(TBohater::Bauble);
    TStaticCos& burnt = rig.Add<TStaticCos>(TLista::ObjectLayer, 100, 100, TStaticCos::BurntChristmasTree);
    TStaticCos& tree = rig.Add<TStaticCos>(TLista::ObjectLayer, 200, 100, TStaticCos::ChristmasTree);
    tree.Id = "choinka";

    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &burnt);
    hero.Collide(burnt);
    EXPECT_EQ(hero.Command, TBohater::WalkAndUse);
    EXPECT_EQ(hero.Baubles, 2);

    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &tree);
    hero.Collide(burnt);
    EXPECT_EQ(hero.Baubles, 2) << "only the target counts";
    hero.Collide(tree);
    EXPECT_EQ(tree.Fuse, 3000);
    EXPECT_EQ(hero.Baubles, 1);
    EXPECT_FLOAT_EQ(hero.Goodness, -1);
    EXPECT_EQ(hero.Command, TBohater::NoCommand);
    EXPECT_EQ(rig.Game.Events, (std::vector<TEvent>{{"bombka", "choinka"}}));
    EXPECT_EQ(rig.Effects(), (std::vector<int>{8, 1, 6}));

    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &tree);
    hero.Collide(tree);
    EXPECT_EQ(hero.Baubles, 1) << "a lit tree takes no second bauble";
}

TEST(Hero, SelectingAnotherItemDropsAnOrderToUseOne) {
    TWorldRig rig;
    TBohater& hero = rig.Hero();
    TPostac& child = rig.Add<TPostac>(TLista::ObjectLayer, 100, 100, TPostac::Child);
    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &child);
    hero.SelectItem(TBohater::Hand);
    EXPECT_EQ(hero.Command, TBohater::WalkAndUse);
    EXPECT_TRUE(rig.Sound.Played.empty());
    hero.SelectItem(TBohater::Rod);
    EXPECT_EQ(hero.Command, TBohater::NoCommand);
    EXPECT_EQ(hero.Item, TBohater::Rod);
    hero.SetCommand(TBohater::Walk, 0, 0, &child);
    hero.SelectItem(TBohater::Present);
    EXPECT_EQ(hero.Command, TBohater::Walk);
    EXPECT_EQ(rig.Effects(), (std::vector<int>{8, 8}));
}

TEST(Hero, GetsIntoTheSleighHeWalksTo) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(300, 200);
    TZaprzeg& sleigh = rig.Add<TZaprzeg>(TLista::ObjectLayer, 300, 300);
    TMurek& wall = rig.Add<TMurek>(TLista::ObjectLayer, 100, 100);
    hero.SetCommand(TBohater::BoardSleigh, 0, 0, &sleigh);
    hero.Collide(wall);
    EXPECT_TRUE(rig.Game.Riding.empty());
    std::uint32_t now = 10000;
    RunUntil(rig, now, 20, 100, [&] { return !rig.Game.Riding.empty(); });
    EXPECT_EQ(rig.Game.Riding, std::vector<bool>{true});
}

TEST(Hero, HealthRegrowsHalfAPointASecondUpToItsMost) {
    TWorldRig rig;
    TBohater& hero = rig.Hero();
    hero.Hurt();
    hero.Hurt();
    hero.Update(10000, 2000);
    EXPECT_FLOAT_EQ(hero.Health, 999);
    hero.Update(20000, 10000);
    EXPECT_FLOAT_EQ(hero.Health, 1000);
}

TEST(Snowman, ChasesTheHeroAndHurtsHimAtMostOnceIn500Ms) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(400, 300);
    TPostac& snowman = rig.Add<TPostac>(TLista::ObjectLayer, 400, 200, TPostac::Snowman);
    snowman.Angle = 0;  // looking away until the distance check turns it
    std::uint32_t now = 10000;
    std::vector<std::uint32_t> hurts;
    float health = hero.Health;
    for (int i = 0; i < 200; ++i) {
        now += 30;
        rig.List.Update(now, 30, 0, 0);
        if (hero.Health < health - 0.5f) hurts.push_back(now);
        health = hero.Health;
    }
    ASSERT_GE(hurts.size(), 8u);
    for (std::size_t i = 1; i < hurts.size(); ++i) EXPECT_EQ(hurts[i] - hurts[i - 1], 510u);
    EXPECT_GT(snowman.Y, 200) << "it came down to the hero";
    EXPECT_EQ(rig.Sound.Played.size(), hurts.size());
}

TEST(Characters, ChildrenBounceOffWhatTheyRunInto) {
    TWorldRig rig;
    TPostac& child = rig.Add<TPostac>(TLista::ObjectLayer, 100, 100, TPostac::Child);
    TMurek& wall = rig.Add<TMurek>(TLista::ObjectLayer, 200, 100);
    child.Update(10000, 10);
    child.Angle = 0.5f;
    bbx::RandSeed(7);
    const double r = bbx::RandomReal();
    bbx::RandSeed(7);
    child.Collide(wall);
    EXPECT_FLOAT_EQ(child.Angle, static_cast<float>(r * 2 - 0.5 - 1));
    const float bounced = child.Angle;
    child.Update(10200, 10);
    child.Collide(wall);
    EXPECT_FLOAT_EQ(child.Angle, bounced) << "not again within 200 ms";
    child.Update(10201, 1);
    child.Collide(wall);
    EXPECT_NE(child.Angle, bounced);
}

TEST(Characters, ChildrenTurnEveryThreeToSixSeconds) {
    TWorldRig rig;
    TPostac& child = rig.Add<TPostac>(TLista::ObjectLayer, 100, 100, TPostac::Child);
    child.Angle = 1;
    bbx::RandSeed(11);
    const std::int32_t wait = bbx::Random(3000);
    const double r = bbx::RandomReal();
    bbx::RandSeed(11);
    child.Update(10000, 10);
    EXPECT_EQ(child.NextTurnTime, 10000u + static_cast<std::uint32_t>(wait));
    EXPECT_FLOAT_EQ(child.Angle, static_cast<float>(1 + r * 2 - 1));
    const float turned = child.Angle;
    child.Update(child.NextTurnTime + 3000, 10);
    EXPECT_FLOAT_EQ(child.Angle, turned);
    child.Update(child.NextTurnTime + 3001, 10);
    EXPECT_NE(child.Angle, turned);
}

TEST(Characters, SpeechLasts100MsPerCharacterOfTimeOnTheView) {
    TWorldRig rig;
    TPostac& parent = rig.Add<TPostac>(TLista::ObjectLayer, 100, 100, TPostac::Parent);
    parent.Id = "mama";
    parent.Say("Wesolych Swiat");  // 14 characters
    EXPECT_EQ(parent.SpeechTime, 1400);
    std::uint32_t now = 10000;
    for (int i = 0; i < 13; ++i) rig.List.Update(now += 100, 100, 0, 0);
    rig.List.Update(now += 100, 100, 5000, 5000);  // off the view: the bubble waits
    EXPECT_FALSE(parent.Speech.empty());
    EXPECT_EQ(rig.Game.CountOf("dialogend"), 0);
    rig.List.Update(now += 100, 100, 0, 0);
    EXPECT_TRUE(parent.Speech.empty());
    rig.List.Update(now += 100, 100, 0, 0);
    EXPECT_EQ(rig.Game.CountOf("dialogend"), 1);
    EXPECT_EQ(rig.Game.Events.back(), (TEvent{"dialogend", "mama"}));
}

TEST(Sleigh, ThrottleAndSteering) {
    TWorldRig rig;
    TZaprzeg& sleigh = rig.Add<TZaprzeg>(TLista::ObjectLayer, 300, 300);
    sleigh.Update(10000, 10);
    sleigh.Throttle(1000);
    EXPECT_FLOAT_EQ(sleigh.Speed, 0.25f);
    sleigh.Throttle(10000);
    EXPECT_FLOAT_EQ(sleigh.Speed, 1);
    sleigh.Speed = 0;
    sleigh.Throttle(-1000);
    EXPECT_FLOAT_EQ(sleigh.Speed, -0.125f);
    sleigh.Throttle(-10000);
    EXPECT_FLOAT_EQ(sleigh.Speed, -0.5f);
    sleigh.Turn(100);
    EXPECT_FLOAT_EQ(sleigh.Angle, -0.25f) << "reversing turns the other way";
    sleigh.Speed = 0;
    sleigh.Turn(100);
    EXPECT_FLOAT_EQ(sleigh.Angle, 0);
    sleigh.Braking = true;
    sleigh.Throttle(1000);
    EXPECT_FLOAT_EQ(sleigh.Speed, 0);
    sleigh.Speed = 1;
    sleigh.Update(10010, 10);
    EXPECT_FLOAT_EQ(sleigh.Speed, 0.95f);
    sleigh.Braking = false;
    sleigh.Update(10020, 500);
    EXPECT_FLOAT_EQ(sleigh.Speed, static_cast<float>(0.95f * 0.999)) << "once per frame, whatever elapsed";
}

TEST(Sleigh, CrashesAtSpeedAndIsStunnedFor1500Ms) {
    TWorldRig rig;
    TZaprzeg& sleigh = rig.Add<TZaprzeg>(TLista::ObjectLayer, 300, 300);
    TMurek& wall = rig.Add<TMurek>(TLista::ObjectLayer, 400, 300);
    sleigh.Update(10000, 10);
    sleigh.Speed = 0.4f;
    sleigh.Collide(wall);
    EXPECT_NEAR(sleigh.Speed, 0.2667f, 1e-4);
    EXPECT_EQ(rig.List.Count(TLista::EffectLayer), 0);

    sleigh.Speed = 0.6f;
    sleigh.Collide(wall);
    EXPECT_EQ(sleigh.Speed, 0);
    ASSERT_EQ(rig.List.Count(TLista::EffectLayer), 1);
    const auto& smoke = dynamic_cast<const TEfekt&>(rig.List.Item(TLista::EffectLayer, 0));
    EXPECT_EQ(smoke.Kind, TEfekt::CrashSmoke);
    EXPECT_FLOAT_EQ(smoke.X, 300);
    EXPECT_FLOAT_EQ(smoke.Y, 268);
    EXPECT_EQ(rig.Effects(), (std::vector<int>{5, 4}));

    EXPECT_TRUE(sleigh.IsStunned());
    sleigh.Throttle(1000);
    sleigh.Turn(1000);
    EXPECT_EQ(sleigh.Speed, 0);
    EXPECT_EQ(sleigh.Angle, 0);
    sleigh.Update(11499, 10);
    EXPECT_TRUE(sleigh.IsStunned());
    sleigh.Update(11500, 10);
    EXPECT_FALSE(sleigh.IsStunned());
    sleigh.Throttle(1000);
    EXPECT_FLOAT_EQ(sleigh.Speed, 0.25f);
}

TEST(Sleigh, RunsCharactersOverAndSlowsOnTheInvincible) {
    TWorldRig rig;
    TBohater& hero = rig.Hero();
    TZaprzeg& sleigh = rig.Add<TZaprzeg>(TLista::ObjectLayer, 300, 300);
    TPostac& child = rig.Add<TPostac>(TLista::ObjectLayer, 350, 300, TPostac::Child);
    TPostac& grandfather = rig.Add<TPostac>(TLista::ObjectLayer, 100, 100, TPostac::GrandfatherFrost);
    sleigh.Speed = 1;
    sleigh.Collide(child);
    EXPECT_EQ(sleigh.Speed, 1);
    EXPECT_EQ(child.HitPoints, 0);
    EXPECT_FLOAT_EQ(hero.Goodness, -0.33f);
    child.Speed = 0;
    rig.List.Update(10000, 1, 0, 0);
    EXPECT_FLOAT_EQ(hero.Goodness, -1.33f) << "the fall costs its own point";
    EXPECT_EQ(rig.List.Count(TLista::GroundLayer), 1);
    EXPECT_EQ(rig.Effects(), std::vector<int>{10});

    sleigh.Speed = 0.9f;
    sleigh.Collide(grandfather);
    EXPECT_FLOAT_EQ(sleigh.Speed, 0.6f);
    EXPECT_EQ(grandfather.HitPoints, 10);
}
