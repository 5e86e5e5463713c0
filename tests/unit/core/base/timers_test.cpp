#include "base/timers.h"

#include <gtest/gtest.h>

#include <utility>

#include "fakes/fake_clock.h"

namespace vespar {
namespace {

struct TimersTest : ::testing::Test {
    test::FakeClock clock;
    TimerRegistry timers;
    test::VirtualTime time{clock, timers};
    int fired = 0, other = 0;
};

TEST_F(TimersTest, FireOnTheirIntervalFromTheMomentTheyAreEnabled) {
    timers.Create("fast", 500, [&] { ++other; }).SetEnabled(true);
    Timer& slow = timers.Create("slow", 2000, [&] { ++fired; });
    time.Advance(1000);
    slow.SetEnabled(true);
    time.Advance(1999);
    EXPECT_EQ(std::pair(other, fired), std::pair(5, 0));
    time.Advance(1);
    EXPECT_EQ(fired, 1);
    slow.SetEnabled(false);
    time.Advance(4000);
    EXPECT_EQ(std::pair(other, fired), std::pair(14, 1));
}

TEST_F(TimersTest, ABusyTimerIsNotReenteredButOthersRun) {
    // The handler "shows a modal box" that keeps the loop running for 3 seconds.
    Timer& busy = timers.Create("busy", 500, [&] {
        ++fired;
        time.Advance(3000);
    });
    busy.SetEnabled(true);
    timers.Create("other", 500, [&] { ++other; }).SetEnabled(true);
    time.Advance(500);
    EXPECT_EQ(fired, 1);
    EXPECT_GE(other, 6);
}

TEST_F(TimersTest, AHandlerMayRemoveItselfOrStopItself) {
    Timer* self = nullptr;
    self = &timers.Create("once", 100, [&] {
        ++fired;
        self->SetEnabled(false);
    });
    self->SetEnabled(true);
    timers.Create("gone", 100, [&] { timers.Remove(*timers.Find("gone")); }).SetEnabled(true);
    time.Advance(1000);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(timers.Find("gone"), nullptr);
    EXPECT_NE(timers.Find("once"), nullptr);
}

// A host sleeps until NextDue and must hear of every change to it, also from inside a
// handler whose modal box keeps the other timers running.
TEST(Timers, NextDueFollowsEveryChangeAndSkipsABusyTimer) {
    TimerRegistry timers;
    int changes = 0;
    timers.OnChange([&] { ++changes; });
    std::optional<std::int64_t> dueInside;
    bool busyInside = false;
    Timer& a = timers.Create("a", 500, [&] {
        dueInside = timers.NextDue();
        busyInside = timers.Busy();
    });
    Timer& b = timers.Create("b", 2000, [] {});
    EXPECT_EQ(timers.NextDue(), std::nullopt);
    timers.SetNow(100);
    b.SetEnabled(true);
    EXPECT_EQ(timers.NextDue(), 2100);
    a.SetEnabled(true);
    EXPECT_EQ(timers.NextDue(), 600);
    a.SetInterval(300);
    EXPECT_EQ(timers.NextDue(), 400);
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(timers.RunDue(400));
    EXPECT_EQ(dueInside, 2100);  // "a" is busy meanwhile
    EXPECT_TRUE(busyInside && !timers.Busy());
    EXPECT_EQ(timers.NextDue(), 700);
    EXPECT_GE(changes, 5);  // busy, then free again
    a.SetEnabled(false);
    b.SetEnabled(false);
    EXPECT_EQ(timers.NextDue(), std::nullopt);
}

}  // namespace
}  // namespace vespar
