#include "base/held_clock.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"

namespace vespar {
namespace {

struct CountingClock : test::FakeClock {
    LocalTime now() const override {
        ++reads;
        return FakeClock::now();
    }
    mutable int reads = 0;
};

TEST(HeldClock, ReadsTheLocalTimeOncePerHoldWhileTimeStandsStill) {
    CountingClock source;
    HeldClock clock(source);
    clock.now();
    clock.now();
    EXPECT_EQ(source.reads, 2);  // no hold: every reading is fresh

    {
        const HeldClock::Hold outer(clock);
        const LocalTime first = clock.now();
        {
            const HeldClock::Hold inner(clock);
            source.AdvanceMs(HeldClock::kFreshMs - 1);
            EXPECT_EQ(clock.now(), first);
        }
        EXPECT_EQ(clock.now(), first);  // the inner hold's end keeps the outer's reading
        EXPECT_EQ(source.reads, 3);
        // A modal box inside the work lets time pass: the time is read again.
        source.AdvanceMs(5000);
        EXPECT_EQ(clock.now(), source.FakeClock::now());
        EXPECT_EQ(source.reads, 4);
        EXPECT_EQ(clock.tickMs(), source.tickMs());
    }
    clock.now();
    EXPECT_EQ(source.reads, 5);
}

}  // namespace
}  // namespace vespar
