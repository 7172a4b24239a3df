#include <gtest/gtest.h>

#include "runtime/frame_pacer.h"

using namespace gb;

TEST(FramePacer, KeepsTheCadenceOfTheRateWithoutDrift) {
    TFramePacer pacer(50);  // 20 000 us a frame
    EXPECT_EQ(pacer.Wait(1000), 0u) << "the first frame at once";
    EXPECT_EQ(pacer.Wait(1000), 20000u);
    EXPECT_EQ(pacer.Wait(15000), 6000u);
    // Woken a little late: the next frame is still due a period after the
    // last one was, not after the late wake.
    EXPECT_EQ(pacer.Wait(21500), 0u);
    EXPECT_EQ(pacer.Wait(21500), 19500u);
    EXPECT_EQ(pacer.Wait(41000), 0u);
    EXPECT_EQ(pacer.Wait(41000), 20000u);
}

TEST(FramePacer, ALoopFarBehindStartsAfreshInsteadOfHurrying) {
    TFramePacer pacer(100);
    EXPECT_EQ(pacer.Wait(0), 0u);
    EXPECT_EQ(pacer.Wait(500000), 0u) << "half a second late";
    EXPECT_EQ(pacer.Wait(500000), 10000u) << "no burst of frames to catch up";
}

TEST(FramePacer, ARateChangeCountsFromTheLastFrame) {
    TFramePacer pacer(100);
    EXPECT_EQ(pacer.Wait(0), 0u);
    pacer.SetRate(10);
    EXPECT_EQ(pacer.Wait(5000), 95000u);
    pacer.SetRate(10);
    EXPECT_EQ(pacer.Wait(5000), 95000u) << "setting the same rate again changes nothing";
}

TEST(FramePacer, RatesNoDisplayHasFallBackToSixty) {
    EXPECT_EQ(TFramePacer::DisplayRate(0), 60);
    EXPECT_EQ(TFramePacer::DisplayRate(-75), 60);
    EXPECT_EQ(TFramePacer::DisplayRate(1), 60);
    EXPECT_EQ(TFramePacer::DisplayRate(100000), 60);
    EXPECT_EQ(TFramePacer::DisplayRate(75), 75);
    EXPECT_EQ(TFramePacer::DisplayRate(144), 144);
    TFramePacer pacer(0);
    EXPECT_EQ(pacer.Rate(), 60);
    pacer.SetRate(-1);
    EXPECT_EQ(pacer.Rate(), 60);
    EXPECT_EQ(pacer.Wait(0), 0u);
    EXPECT_EQ(pacer.Wait(0), 16667u);
}
