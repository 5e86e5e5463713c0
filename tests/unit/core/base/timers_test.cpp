#include "base/timers.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"

namespace vespar {
namespace {

TEST(Timers, FireOnTheirIntervalFromTheMomentTheyAreEnabled) {
    test::FakeClock clock;
    TimerRegistry timers;
    test::VirtualTime time(clock, timers);
    int fast = 0;
    int slow = 0;
    timers.Create("fast", 500, [&] { ++fast; }).SetEnabled(true);
    Timer& s = timers.Create("slow", 2000, [&] { ++slow; });
    time.Advance(1000);
    s.SetEnabled(true);
    time.Advance(1999);
    EXPECT_EQ(fast, 5);
    EXPECT_EQ(slow, 0);
    time.Advance(1);
    EXPECT_EQ(slow, 1);
    s.SetEnabled(false);
    time.Advance(4000);
    EXPECT_EQ(slow, 1);
    EXPECT_EQ(fast, 14);
}

TEST(Timers, ABusyTimerIsNotReenteredButOthersRun) {
    test::FakeClock clock;
    TimerRegistry timers;
    int outer = 0;
    int other = 0;
    // The outer handler "shows a modal box" that keeps the loop running for 3 seconds.
    Timer& t = timers.Create("outer", 500, [&] {
        ++outer;
        for (int i = 0; i < 60; ++i) {
            clock.AdvanceMs(50);
            timers.RunDue(clock.tickMs());
        }
    });
    timers.Create("other", 500, [&] { ++other; }).SetEnabled(true);
    t.SetEnabled(true);
    timers.RunDue(clock.tickMs());
    clock.AdvanceMs(500);
    timers.RunDue(clock.tickMs());
    EXPECT_EQ(outer, 1);
    EXPECT_GE(other, 6);
}

TEST(Timers, AHandlerMayRemoveItselfOrStopItself) {
    test::FakeClock clock;
    TimerRegistry timers;
    test::VirtualTime time(clock, timers);
    int n = 0;
    Timer* self = nullptr;
    self = &timers.Create("once", 100, [&] {
        ++n;
        self->SetEnabled(false);
    });
    self->SetEnabled(true);
    timers.Create("gone", 100, [&] { timers.Remove(*timers.Find("gone")); }).SetEnabled(true);
    time.Advance(1000);
    EXPECT_EQ(n, 1);
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
    Timer& a = timers.Create("a", 500, [&] { dueInside = timers.NextDue(); });
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
    EXPECT_EQ(timers.NextDue(), 700);
    EXPECT_GE(changes, 5);  // busy, then free again
    a.SetEnabled(false);
    b.SetEnabled(false);
    EXPECT_EQ(timers.NextDue(), std::nullopt);
}

}  // namespace
}  // namespace vespar
