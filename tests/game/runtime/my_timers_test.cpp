// Script timers through the controller's frame step: what fires when, and
// what the timer events may do to the list while they run.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/game_errors.h"
#include "runtime/my_timers.h"

namespace gb {
namespace {

class MyTimersTest : public ::testing::Test {
protected:
    // One frame; returns the names fired, in order, separated by blanks. The
    // reaction, when set, runs as the script would for every event.
    std::string Frame(std::uint32_t elapsed) {
        std::string fired;
        Timers.Update(elapsed, [&](const std::string& name) {
            fired += (fired.empty() ? "" : " ") + name;
            if (Reaction) Reaction(name);
        });
        return fired;
    }
    std::string Listed() const {
        std::string listed;
        for (std::int32_t i = 0; i < Timers.Count(); ++i)
            listed += Timers.Item(i).Name + ":" + std::to_string(Timers.Item(i).Remaining) + ";";
        return listed;
    }

    TMyTimers Timers;
    std::function<void(const std::string&)> Reaction;
};

TEST_F(MyTimersTest, FiresInTheFrameThatReachesItsPeriodAndOnce) {
    Timers.SetTimer("bell", 3000);
    EXPECT_EQ(Frame(1000), "");
    EXPECT_EQ(Frame(1000), "");
    EXPECT_EQ(Frame(999), "");
    EXPECT_EQ(Listed(), "bell:1;");
    EXPECT_EQ(Frame(1), "bell");
    EXPECT_EQ(Timers.Count(), 0);
    EXPECT_EQ(Frame(5000), "");
}

TEST_F(MyTimersTest, OvershootIsNotCarriedOver) {
    Timers.SetTimer("bell", 100);
    Reaction = [&](const std::string& name) { Timers.SetTimer(name, 100); };
    EXPECT_EQ(Frame(250), "bell");
    EXPECT_EQ(Listed(), "bell:100;");
    EXPECT_EQ(Frame(99), "");
    EXPECT_EQ(Frame(1), "bell");
}

TEST_F(MyTimersTest, SetTimerRestartsARunningTimerInItsPlace) {
    Timers.SetTimer("a", 1000);
    Timers.SetTimer("b", 1000);
    EXPECT_EQ(Frame(600), "");
    Timers.SetTimer("a", 1000);
    EXPECT_EQ(Listed(), "a:1000;b:400;");
    EXPECT_EQ(Frame(400), "b");
    EXPECT_EQ(Frame(600), "a");
}

TEST_F(MyTimersTest, ZeroOrLessSetOutsideTheEventsFiresInTheNextFrame) {
    Timers.SetTimer("zero", 0);
    Timers.SetTimer("negative", -5);
    EXPECT_EQ(Frame(0), "zero negative");
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(MyTimersTest, TimersThatRunOutTogetherFireInListOrder) {
    Timers.SetTimer("late", 50);
    Timers.SetTimer("early", 10);
    Timers.SetTimer("later", 500);
    Timers.SetTimer("middle", 30);
    EXPECT_EQ(Frame(100), "late early middle");
    EXPECT_EQ(Listed(), "later:400;");
}

TEST_F(MyTimersTest, EmptyNameRunsOutWithoutFiring) {
    Timers.SetTimer("", 10);
    EXPECT_EQ(Timers.DueName(0), "");
    EXPECT_EQ(Frame(20), "");
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(MyTimersTest, EventMayReArmItsOwnTimer) {
    Timers.SetTimer("tick", 100);
    Reaction = [&](const std::string& name) { Timers.SetTimer(name, 100); };
    EXPECT_EQ(Frame(100), "tick");
    EXPECT_EQ(Frame(100), "tick");
    Reaction = nullptr;
    EXPECT_EQ(Frame(100), "tick");
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(MyTimersTest, TimerStartedByAnEventWaitsForTheNextFrame) {
    Timers.SetTimer("first", 10);
    Reaction = [&](const std::string& name) {
        if (name == "first") {
            Timers.SetTimer("second", 0);
            Timers.SetTimer("third", 20);
        }
    };
    EXPECT_EQ(Frame(10), "first");
    EXPECT_EQ(Listed(), "second:0;third:20;");
    EXPECT_EQ(Frame(20), "second third");
}

TEST_F(MyTimersTest, EventReArmingWithZeroFiresAgainNextFrame) {
    Timers.SetTimer("again", 10);
    int left = 2;
    Reaction = [&](const std::string& name) {
        if (left-- > 0) Timers.SetTimer(name, 0);
    };
    EXPECT_EQ(Frame(10), "again");
    EXPECT_EQ(Frame(0), "again");
    EXPECT_EQ(Frame(0), "again");
    EXPECT_EQ(Frame(0), "");
}

TEST_F(MyTimersTest, EventMaySetALaterTimerThatStillFiresThisFrame) {
    Timers.SetTimer("a", 10);
    Timers.SetTimer("b", 1000);
    Reaction = [&](const std::string& name) {
        if (name == "a") Timers.SetTimer("b", 0);
    };
    EXPECT_EQ(Frame(10), "a b");
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(MyTimersTest, FailingEventFiresOnceAndTheRestFireNextFrame) {
    Timers.SetTimer("ok", 10);
    Timers.SetTimer("bad", 10);
    Timers.SetTimer("after", 10);
    Reaction = [&](const std::string& name) {
        if (name == "bad") throw bbx::EConvertError("'x' is not a valid integer value");
    };
    EXPECT_THROW(Frame(10), bbx::EConvertError);
    EXPECT_EQ(Listed(), "after:0;");
    EXPECT_EQ(Frame(0), "after");
}

TEST_F(MyTimersTest, LongFrameCannotWrapARunOutTimer) {
    Timers.SetTimer("long", std::numeric_limits<std::int32_t>::min() + 5);
    Timers.Elapse(std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(Timers.Item(0).Remaining, std::numeric_limits<std::int32_t>::min());
    Timers.SetTimer("max", std::numeric_limits<std::int32_t>::max());
    Timers.Elapse(std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(Timers.Item(1).Remaining, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(Frame(0), "long max");
}

TEST_F(MyTimersTest, DueNameAndItemCheckTheIndex) {
    Timers.SetTimer("a", 5);
    EXPECT_EQ(Timers.DueName(0), "");
    Timers.Elapse(5);
    EXPECT_EQ(Timers.DueName(0), "a");
    EXPECT_THROW(Timers.DueName(1), EListError);
    EXPECT_THROW(Timers.Item(-1), EListError);
}

}  // namespace
}  // namespace gb
