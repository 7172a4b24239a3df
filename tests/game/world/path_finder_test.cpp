#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "support/world_test_support.h"
#include "world/murek.h"
#include "world/path_finder.h"
#include "world/postac.h"
#include "world/static_cos.h"

using namespace gb;
using gb::test_support::TWorldRig;

namespace {

constexpr float kCell = 48;

float At(float cells) { return cells * kCell; }

// A ring of wall blocks round the cells (left .. right, top .. bottom), with
// the door cells left out.
void AddHouse(TWorldRig& rig, int left, int top, int right, int bottom, std::vector<std::pair<int, int>> doors = {}) {
    const auto wall = [&](int column, int row) {
        for (const auto& [x, y] : doors)
            if (x == column && y == row) return;
        rig.Add<TMurek>(TLista::ObjectLayer, At(static_cast<float>(column)), At(static_cast<float>(row)));
    };
    for (int column = left; column <= right; ++column) {
        wall(column, top);
        wall(column, bottom);
    }
    for (int row = top + 1; row < bottom; ++row) {
        wall(left, row);
        wall(right, row);
    }
}

struct TWalk {
    bool Arrived = false;
    bool Overlapped = false;  // the hero stood in an obstacle at some frame
    std::uint32_t Time = 0;
};

// Frames of 16 ms with the view on (camX, camY) until the hero's command
// ends or `most` ms have passed.
TWalk Walk(TWorldRig& rig, std::int32_t camX, std::int32_t camY, std::uint32_t most, const TCos* target = nullptr) {
    TWalk walk;
    TBohater& hero = rig.Hero();
    std::uint32_t now = 1000;
    for (; walk.Time < most && hero.Command != TBohater::NoCommand; walk.Time += 16) {
        now += 16;
        rig.List.Update(now, 16, camX, camY);
        const TCos* in = rig.List.HitTest(TLista::ObjectLayer, hero.Radius, &hero, hero.X, hero.Y);
        if (in && in != target) walk.Overlapped = true;
    }
    walk.Arrived = hero.Command == TBohater::NoCommand;
    return walk;
}

}  // namespace

TEST(PathFinder, WalksStraightWhenNothingIsInTheWay) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(At(5), At(5));
    rig.Add<TMurek>(TLista::ObjectLayer, At(5), At(8));  // beside the way, not on it
    TPathFinder finder(rig.List, hero, nullptr, At(12), At(5));
    const TPath path = finder.Find();
    EXPECT_TRUE(path.Waypoints.empty());
    EXPECT_TRUE(path.ReachesGoal);
    EXPECT_EQ(finder.Expanded(), 0u);
}

TEST(PathFinder, LeadsTheHeroRoundAHouseAndThroughItsDoor) {
    // A house of cells 10 .. 14 with its door in the right wall; the hero on
    // its left, where a straight walk would stop dead at the wall's face.
    TWorldRig rig;
    AddHouse(rig, 10, 10, 14, 14, {{14, 12}});
    TBohater& hero = rig.HeroAt(At(8), At(12));

    hero.SetCommand(TBohater::Walk, static_cast<std::int32_t>(At(17)), static_cast<std::int32_t>(At(12)), nullptr);
    TWalk walk = Walk(rig, 100, 200, 20000);
    EXPECT_TRUE(walk.Arrived) << "stopped at " << hero.X << ", " << hero.Y;
    EXPECT_FALSE(walk.Overlapped);
    EXPECT_NEAR(hero.X, At(17), 1.01);
    // About the way round (the house is 5 cells tall), not much more.
    EXPECT_LT(walk.Time, 12000u);

    // Back in through the door to the middle of the house.
    hero.SetCommand(TBohater::Walk, static_cast<std::int32_t>(At(12)), static_cast<std::int32_t>(At(12)), nullptr);
    walk = Walk(rig, 100, 200, 20000);
    EXPECT_TRUE(walk.Arrived) << "stopped at " << hero.X << ", " << hero.Y;
    EXPECT_FALSE(walk.Overlapped);

    // And out again to the far side of the house, which means the door.
    hero.SetCommand(TBohater::Walk, static_cast<std::int32_t>(At(8)), static_cast<std::int32_t>(At(11)), nullptr);
    walk = Walk(rig, 100, 200, 20000);
    EXPECT_TRUE(walk.Arrived) << "stopped at " << hero.X << ", " << hero.Y;
    EXPECT_FALSE(walk.Overlapped);
}

TEST(PathFinder, LeadsTheHeroRoundATreeAndAPostToACharacterBehindThem) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(At(5), At(5));
    rig.Add<TStaticCos>(TLista::ObjectLayer, At(7), At(5), TStaticCos::Tree);
    hero.SetCommand(TBohater::Walk, static_cast<std::int32_t>(At(9)), static_cast<std::int32_t>(At(5)), nullptr);
    TWalk walk = Walk(rig, 0, 0, 10000);
    EXPECT_TRUE(walk.Arrived) << "stopped at " << hero.X << ", " << hero.Y;
    EXPECT_FALSE(walk.Overlapped);
    EXPECT_LT(walk.Time, 3000u);

    // A parent behind a post: the hero goes round the post and strikes her,
    // the parent herself being no obstacle but his goal.
    rig.Add<TStaticCos>(TLista::ObjectLayer, At(11), At(5), TStaticCos::Post);
    TPostac& parent = rig.Add<TPostac>(TLista::ObjectLayer, At(12), At(5), TPostac::Parent);
    parent.Id = "mama";
    hero.SetCommand(TBohater::WalkAndUse, 0, 0, &parent);
    walk = Walk(rig, 0, 0, 4000, &parent);
    EXPECT_FALSE(walk.Overlapped);
    // Struck enough, she falls and her figure is freed: only the event is left.
    if (const auto* standing = dynamic_cast<const TPostac*>(rig.List.FindById("mama")))
        EXPECT_LT(standing->HitPoints, 4) << "hero at " << hero.X << ", " << hero.Y;
    else
        EXPECT_EQ(rig.Game.CountOf("fall"), 1);
}

TEST(PathFinder, UnreachableGoalLeadsToTheNearestReachableCell) {
    // A house without a door, the goal inside it.
    TWorldRig rig;
    AddHouse(rig, 10, 10, 14, 14);
    TBohater& hero = rig.HeroAt(At(6), At(12));
    TPathFinder finder(rig.List, hero, nullptr, At(12), At(12));
    const TPath path = finder.Find();
    EXPECT_FALSE(path.ReachesGoal);
    EXPECT_TRUE(path.Complete);
    ASSERT_FALSE(path.Waypoints.empty());
    EXPECT_FLOAT_EQ(path.Waypoints.back().X, At(9));
    EXPECT_FLOAT_EQ(path.Waypoints.back().Y, At(12));

    // The hero walks there and pushes on against the wall, as he always did.
    hero.SetCommand(TBohater::Walk, static_cast<std::int32_t>(At(12)), static_cast<std::int32_t>(At(12)), nullptr);
    const TWalk walk = Walk(rig, 100, 200, 5000);
    EXPECT_FALSE(walk.Arrived);
    EXPECT_FALSE(walk.Overlapped);
    EXPECT_NEAR(hero.X, At(10) - 24 - 11, 2) << "against the wall's face, within a step";
    EXPECT_NEAR(hero.Y, At(12), 2);
}

TEST(PathFinder, GoalInAWallLeadsNextToIt) {
    // A wall from row 4 to row 16 in column 12; the goal on its block at
    // row 7, the hero on the left at row 12.
    TWorldRig rig;
    for (int row = 4; row <= 16; ++row) rig.Add<TMurek>(TLista::ObjectLayer, At(12), At(static_cast<float>(row)));
    TBohater& hero = rig.HeroAt(At(8), At(12));
    TPathFinder finder(rig.List, hero, nullptr, At(12), At(7));
    const TPath path = finder.Find();
    EXPECT_FALSE(path.ReachesGoal);
    ASSERT_FALSE(path.Waypoints.empty());
    EXPECT_FLOAT_EQ(path.Waypoints.back().X, At(11));
    EXPECT_FLOAT_EQ(path.Waypoints.back().Y, At(7));

    hero.SetCommand(TBohater::Walk, static_cast<std::int32_t>(At(12)), static_cast<std::int32_t>(At(7)), nullptr);
    const TWalk walk = Walk(rig, 100, 0, 5000);
    EXPECT_FALSE(walk.Overlapped);
    EXPECT_NEAR(hero.X, At(12) - 24 - 11, 2);
    EXPECT_NEAR(hero.Y, At(7), 2);
}

TEST(PathFinder, NeverCutsACornerBetweenDiagonalBlocks) {
    // Two blocks meeting at a corner; the way from one free cell beside them
    // to the other goes round, and every leg of it is clear.
    TWorldRig rig;
    rig.Add<TMurek>(TLista::ObjectLayer, At(10), At(10));
    rig.Add<TMurek>(TLista::ObjectLayer, At(11), At(11));
    TBohater& hero = rig.HeroAt(At(10), At(11));
    TPathFinder finder(rig.List, hero, nullptr, At(11), At(10));
    const TPath path = finder.Find();
    ASSERT_TRUE(path.ReachesGoal);
    ASSERT_FALSE(path.Waypoints.empty());
    float x = hero.X;
    float y = hero.Y;
    for (const TPathPoint& point : path.Waypoints) {
        EXPECT_TRUE(finder.IsClear(x, y, point.X, point.Y)) << point.X << ", " << point.Y;
        x = point.X;
        y = point.Y;
    }
    EXPECT_TRUE(finder.IsClear(x, y, At(11), At(10)));
}

TEST(PathFinder, MovingFiguresAreNoObstacles) {
    TWorldRig rig;
    TBohater& hero = rig.HeroAt(At(5), At(5));
    rig.Add<TPostac>(TLista::ObjectLayer, At(7), At(5), TPostac::Child);  // walks; the list's sliding copes
    rig.Add<TPostac>(TLista::ObjectLayer, At(7), At(7), TPostac::Parent);  // stands: an obstacle
    TPathFinder finder(rig.List, hero, nullptr, At(9), At(5));
    EXPECT_TRUE(finder.IsClear(hero.X, hero.Y, At(9), At(5)));
    EXPECT_FALSE(finder.IsClear(hero.X, hero.Y, At(9), At(9)));
}

TEST(PathFinder, WorkIsBoundedAndNonsenseIsWalkedStraight) {
    TWorldRig rig;
    AddHouse(rig, 10, 10, 14, 14);
    TBohater& hero = rig.HeroAt(At(6), At(12));
    TPathFinder capped(rig.List, hero, nullptr, At(12), At(12), 50);
    const TPath path = capped.Find();
    EXPECT_EQ(capped.Expanded(), 50u);
    EXPECT_FALSE(path.Complete);
    EXPECT_FALSE(path.ReachesGoal);

    // A goal a million cells away searches only a window round the hero.
    TPathFinder far(rig.List, hero, nullptr, At(1e6f), At(12));
    far.Find();
    EXPECT_LE(far.Expanded(), TPathFinder::MostExpandedCells);

    for (const float bad : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
        TPathFinder nonsense(rig.List, hero, nullptr, bad, At(12));
        EXPECT_TRUE(nonsense.Find().Waypoints.empty());
        EXPECT_EQ(nonsense.Expanded(), 0u);
    }
    EXPECT_EQ(TPathFinder::CellOf(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(TPathFinder::CellOf(-1e30f), -(1 << 30));
    EXPECT_EQ(TPathFinder::CellOf(23.9f), 0);
    EXPECT_EQ(TPathFinder::CellOf(24), 1);
}
