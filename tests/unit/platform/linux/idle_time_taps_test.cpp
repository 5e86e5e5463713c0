#include "platform/linux/idle_time_taps.h"

#include <gtest/gtest.h>

namespace vespar::linux_platform {
namespace {

using namespace std::chrono_literals;
using Clock = IdleTimeTaps::Clock;

TEST(IdleTimeTaps, InputSinceThePreviousSweepBecomesAlternatingTapCodes) {
    IdleTimeTaps taps;
    const Clock::time_point t0{};
    // The first sweep has nothing to compare with.
    EXPECT_EQ(taps.Sweep(0ms, t0, false), 0);
    // Idle for longer than the second since: nothing happened in between.
    EXPECT_EQ(taps.Sweep(5000ms, t0 + 1s, false), 0);
    // Input at every sweep: 3 and 7 by turns, so that the key list changes every time.
    EXPECT_EQ(taps.Sweep(200ms, t0 + 2s, false), 3);
    EXPECT_EQ(taps.Sweep(200ms, t0 + 3s, false), 7);
    EXPECT_EQ(taps.Sweep(200ms, t0 + 4s, false), 3);

    // Input the sweep's own readings account for is not reported again.
    EXPECT_EQ(taps.Sweep(10ms, t0 + 5s, true), 0);
    EXPECT_EQ(taps.Sweep(10ms, t0 + 6s, false), 7);

    // At the edge: input within the idle time's millisecond after the previous sweep is
    // taken as made before it, since truncation can make it look later; later counts.
    EXPECT_EQ(taps.Sweep(999ms, t0 + 7s, false), 0);
    EXPECT_EQ(taps.Sweep(998ms, t0 + 8s, false), 3);

    // After a failed read the next sweep only takes its reference.
    taps.Forget();
    EXPECT_EQ(taps.Sweep(0ms, t0 + 9s, false), 0);
    EXPECT_EQ(taps.Sweep(0ms, t0 + 10s, false), 7);
}

}  // namespace
}  // namespace vespar::linux_platform
