#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/random.h"
#include "flow/intro.h"
#include "support/flow_test_support.h"

using namespace gb;
using gb::test_support::TScreenBench;

namespace {

class IntroTest : public ::testing::Test {
protected:
    IntroTest() { bbx::RandSeed(20261209); }

    static int Count(const std::vector<std::int32_t>& cells) { return std::accumulate(cells.begin(), cells.end(), 0); }

    // Share of alive cells in the block of columns [c0, c1) and rows [r0, r1).
    static double AliveShare(const TIntro& intro, int c0, int c1, int r0, int r1) {
        int alive = 0;
        for (int row = r0; row < r1; ++row)
            for (int column = c0; column < c1; ++column)
                alive += intro.Alive()[static_cast<std::size_t>(column + row * TIntro::Width)];
        return static_cast<double>(alive) / ((c1 - c0) * (r1 - r0));
    }

    TScreenBench Bench;
};

}  // namespace

TEST_F(IntroTest, TheCreditLineStandsOutOfTheSmoothedNoise) {
    TIntro intro(Bench.Services);
    // The stand-in renderer draws each of the 7 characters as a 6 x 12 box,
    // so the line covers columns 79 .. 120 and rows 69 .. 80, centred.
    EXPECT_GT(AliveShare(intro, 80, 120, 70, 79), 0.8);
    // Away from it the noise (a quarter alive before smoothing) mostly clears.
    EXPECT_LT(AliveShare(intro, 0, 200, 0, 50), 0.15);
    EXPECT_LT(AliveShare(intro, 0, 200, 100, 150), 0.15);
    EXPECT_GT(AliveShare(intro, 0, 200, 0, 50), 0.0);
    EXPECT_EQ(Count(intro.Revealed()), 0);
}

TEST_F(IntroTest, UncoversAboutFiftyCellsPerMillisecond) {
    TIntro intro(Bench.Services);
    intro.Update(5000, 0);
    EXPECT_EQ(Count(intro.Revealed()), 0);
    intro.Update(5001, 1);
    EXPECT_EQ(Count(intro.Revealed()), 1);

    // 16 ms frames for two seconds uncover some 95 % of the picture.
    for (int frame = 0; frame < 125; ++frame) intro.Update(0, 16);
    const double share = static_cast<double>(Count(intro.Revealed())) / (TIntro::Width * TIntro::Height);
    EXPECT_GT(share, 0.93);
    EXPECT_LT(share, 0.98);
}

TEST_F(IntroTest, AHugeFrameUncoversEverythingAndEnds) {
    TIntro intro(Bench.Services);
    intro.Update(0, 0xFFFFFFFFu);
    EXPECT_EQ(Count(intro.Revealed()), TIntro::Width * TIntro::Height);
}

TEST_F(IntroTest, DrawsEachAliveUncoveredCellAsAGreenSquare) {
    TIntro intro(Bench.Services);
    TSurface& screen = Bench.Screen();
    intro.Draw(screen);
    EXPECT_EQ(std::count(screen.Buffer().Row32(0), screen.Buffer().Row32(0) + 800 * 600, 0u), 800 * 600)
        << "nothing is uncovered yet";

    intro.Update(0, 0xFFFFFFFFu);
    intro.Draw(screen);
    const std::uint32_t green = Bench.Mapped(bbx::RGB(0, 255, 0));
    int mismatches = 0;
    for (int row = 0; row < TIntro::Height; ++row)
        for (int column = 0; column < TIntro::Width; ++column) {
            const bool alive = intro.Alive()[static_cast<std::size_t>(column + row * TIntro::Width)] != 0;
            const int x = 4 * column, y = 4 * row;
            const std::uint32_t expected = alive ? green : 0u;
            if (screen.Pixel(x, y) != expected || screen.Pixel(x + 2, y + 2) != expected ||
                screen.Pixel(x + 3, y) != 0u || screen.Pixel(x, y + 3) != 0u)
                ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(IntroTest, PlaysItsSoundOnceAndCutsItOffWhenFreed) {
    auto intro = std::make_unique<TIntro>(Bench.Services);
    EXPECT_EQ(Bench.Sound.PlayCount("sfx/intro.wav"), 1);
    const TChannelHandle channel = Bench.Sound.LastChannel;
    EXPECT_EQ(Bench.Sound.Paths.back(), Bench.Directory + "sfx/intro.wav");
    intro.reset();
    EXPECT_EQ(Bench.Sound.Stopped, std::vector<TChannelHandle>{channel});
    EXPECT_EQ(Bench.Sound.Freed, std::vector<std::string>{Bench.Directory + "sfx/intro.wav"});
    EXPECT_EQ(Bench.Sound.PlayCount("sfx/intro.wav"), 1);
}
