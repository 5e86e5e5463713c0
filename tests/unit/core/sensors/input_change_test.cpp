#include "sensors/input_change.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "fakes/fake_sensors.h"
#include "unit/core/input_checks.h"

namespace vespar {
namespace {

struct InputChangeTest : ::testing::Test {
    test::FakeInputSource input;
    InputChangeDetector detector{input};
    void SetUp() override {
        input.x = 100;
        input.y = 200;
        detector.InDataReset();
    }
};

TEST_F(InputChangeTest, AMoveInAnyDirectionIsSeen) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    // Position, a move the source saw since its last poll, whether the position could be read,
    // and whether a move is reported.
    const std::tuple<std::int32_t, std::int32_t, bool, bool, bool> looks[] = {
        {101, 199, false, true, true},  // x + y stays 300: still a move
        {101, 199, false, true, false},
        {101, 199, true, true, true},  // moved and back between two looks: the source saw it
        {101, 200, false, true, true},
        {5, 200, false, false, false},  // a failed read keeps the last position
        {-1, -1, false, true, true},
        {kMax, kMax, false, true, true},  // sums that would wrap to the same 32 bits
    };
    for (const auto& [x, y, movedSincePoll, cursorOk, moved] : looks) {
        std::tie(input.x, input.y, input.moved, input.cursorOk) =
            std::tie(x, y, movedSincePoll, cursorOk);
        EXPECT_EQ(detector.InDataChanged(), moved) << x << " " << y;
        EXPECT_EQ(detector.MouseMoved(), moved) << x << " " << y;
        EXPECT_FALSE(detector.KeysChanged());
    }
    detector.ClearMouseMoved();
    EXPECT_FALSE(detector.MouseMoved());
}

TEST_F(InputChangeTest, KeysCountWhenTheReportedSetChanges) {
    EXPECT_FALSE(detector.InDataChanged());
    EXPECT_EQ(input.keyPolls, 2 * 256);  // every code, at the reset and at each check

    // The same key pressed between every pair of checks counts at every check.
    test::ExpectTapsAtEveryCheck(
        detector, [&] { input.Press(65); }, 3);
    EXPECT_EQ(detector.KeysNow(), "065");
    EXPECT_FALSE(detector.InDataChanged());  // releasing everything is no activity
    EXPECT_EQ(detector.KeysNow(), "0");

    input.Hold(1);
    input.Hold(65);
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "0165");
    EXPECT_FALSE(detector.InDataChanged());  // held: the same list again
    input.Hold(1, false);
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "065");
    detector.ClearFlags();
    EXPECT_FALSE(detector.KeysChanged());
}

TEST_F(InputChangeTest, ResetTakesTheCurrentStateAsReference) {
    input.x = 500;
    input.Press(13);
    detector.InDataChanged();
    EXPECT_TRUE(detector.MouseMoved());
    EXPECT_TRUE(detector.KeysChanged());

    input.x = 900;
    input.Press(32);  // made before the reset: consumed by it
    input.readable = false;
    detector.InDataReset();
    EXPECT_TRUE(detector.Unreadable());  // known before the first check
    EXPECT_FALSE(detector.MouseMoved());
    EXPECT_FALSE(detector.KeysChanged());
    input.readable = true;
    detector.InDataReset();
    EXPECT_FALSE(detector.Unreadable());
    EXPECT_FALSE(detector.InDataChanged());
}

TEST_F(InputChangeTest, AnUnreadableSourceCountsAsActivityAtEveryCheck) {
    // Nothing moves and no key is down, yet every check reports activity, never idle.
    input.readable = false;
    test::ExpectUnreadableIsActivity(detector);
    // What a dying source still answered is not shown as seen input either.
    input.x = 7;
    input.Press(65);
    test::ExpectUnreadableIsActivity(detector, 1);

    // Readable again: back to the ordinary comparison.
    input.readable = true;
    EXPECT_FALSE(detector.InDataChanged());
    EXPECT_FALSE(detector.Unreadable());
}

}  // namespace
}  // namespace vespar
