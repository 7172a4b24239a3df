#include <gtest/gtest.h>

#include <vector>

#include "world/speech_bubbles.h"

using namespace gb;

namespace {

const TRect kArea{2, 2, 798, 548};

bool Within(const TRect& r, const TRect& area) {
    return r.Left >= area.Left && r.Top >= area.Top && r.Right <= area.Right && r.Bottom <= area.Bottom;
}

bool Apart(const TRect& a, const TRect& b) {
    return a.Right + BubbleGap <= b.Left || b.Right + BubbleGap <= a.Left || a.Bottom + BubbleGap <= b.Top ||
           b.Bottom + BubbleGap <= a.Top;
}

}  // namespace

TEST(SpeechBubbles, ABubbleAtAnyEdgeComesInsideTheAreaAsLittleAsItMust) {
    const std::vector<TRect> wanted{
        Bounds(-40, 200, 100, 13),   // past the left edge
        Bounds(760, 300, 100, 13),   // past the right edge
        Bounds(300, -30, 100, 26),   // above the top
        Bounds(500, 540, 100, 13),   // into the head-up display
        Bounds(-50, -50, 100, 13),   // past a corner
    };
    for (const TRect& want : wanted) {
        const std::vector<TRect> placed = LayOutBubbles({want}, kArea);
        ASSERT_EQ(placed.size(), 1u);
        const TRect& r = placed[0];
        EXPECT_TRUE(Within(r, kArea)) << r.Left << ", " << r.Top;
        EXPECT_EQ(r.Width(), want.Width());
        EXPECT_EQ(r.Height(), want.Height());
    }
    EXPECT_EQ(LayOutBubbles({wanted[0]}, kArea)[0], Bounds(2, 200, 100, 13));
    EXPECT_EQ(LayOutBubbles({wanted[1]}, kArea)[0], Bounds(698, 300, 100, 13));
    EXPECT_EQ(LayOutBubbles({wanted[2]}, kArea)[0], Bounds(300, 2, 100, 26));
    EXPECT_EQ(LayOutBubbles({wanted[3]}, kArea)[0], Bounds(500, 535, 100, 13));
    EXPECT_EQ(LayOutBubbles({wanted[4]}, kArea)[0], Bounds(2, 2, 100, 13));
    // Inside already: untouched.
    EXPECT_EQ(LayOutBubbles({Bounds(300, 300, 50, 13)}, kArea)[0], Bounds(300, 300, 50, 13));
}

TEST(SpeechBubbles, OverlappingBubblesAreStacked) {
    // The second goes to the nearer side of the first: below it here.
    const std::vector<TRect> two = LayOutBubbles({Bounds(100, 100, 100, 13), Bounds(150, 105, 100, 13)}, kArea);
    EXPECT_EQ(two[0], Bounds(100, 100, 100, 13));
    EXPECT_EQ(two[1], Bounds(150, 100 + 13 + BubbleGap, 100, 13));

    // Four speakers side by side at the top: each comes out on its own.
    std::vector<TRect> wanted(4, Bounds(300, -20, 120, 26));
    const std::vector<TRect> placed = LayOutBubbles(wanted, kArea);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_TRUE(Within(placed[i], kArea)) << i;
        for (std::size_t j = 0; j < i; ++j) EXPECT_TRUE(Apart(placed[i], placed[j])) << i << " and " << j;
    }
    // Bubbles apart already stay where they are.
    const std::vector<TRect> apart{Bounds(10, 10, 50, 13), Bounds(100, 10, 50, 13)};
    EXPECT_EQ(LayOutBubbles(apart, kArea), apart);
}

TEST(SpeechBubbles, WhatCannotFitKeepsToTheTopLeft) {
    const TRect small{0, 0, 100, 20};
    EXPECT_EQ(LayOutBubbles({Bounds(50, 50, 300, 40)}, small)[0], Bounds(0, 0, 300, 40));
    // No free place for the second: it stays where the area put it.
    const std::vector<TRect> full = LayOutBubbles({Bounds(0, 0, 100, 20), Bounds(0, 0, 100, 20)}, small);
    EXPECT_EQ(full[1], Bounds(0, 0, 100, 20));
    EXPECT_TRUE(LayOutBubbles({}, kArea).empty());
}
