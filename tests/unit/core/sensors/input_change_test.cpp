#include "sensors/input_change.h"

#include <gtest/gtest.h>

#include <limits>

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
    // Along the anti-diagonal x + y stays 300: still a move.
    input.x = 101;
    input.y = 199;
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_TRUE(detector.MouseMoved());
    EXPECT_FALSE(detector.InDataChanged());

    // Moved and back between two looks: the source saw the motion.
    input.moved = true;
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_TRUE(detector.MouseMoved());
    input.moved = false;

    input.y = 200;
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_TRUE(detector.MouseMoved());
    EXPECT_FALSE(detector.KeysChanged());
    detector.ClearMouseMoved();
    EXPECT_FALSE(detector.MouseMoved());

    // A failed read keeps the last position: no movement.
    input.cursorOk = false;
    input.x = 5;
    EXPECT_FALSE(detector.InDataChanged());

    // Sums that would wrap to the same 32-bit value are still different positions.
    input.cursorOk = true;
    input.x = input.y = -1;
    detector.InDataChanged();
    input.x = input.y = std::numeric_limits<std::int32_t>::max();
    EXPECT_TRUE(detector.InDataChanged());
}

TEST_F(InputChangeTest, KeysCountWhenTheReportedSetChanges) {
    EXPECT_FALSE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "0");
    EXPECT_FALSE(detector.InDataChanged());
    EXPECT_EQ(input.keyPolls, 3 * 256);

    input.Press(65);
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "065");
    EXPECT_TRUE(detector.KeysChanged());
    EXPECT_FALSE(detector.MouseMoved());
    EXPECT_FALSE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "0");

    // The same key pressed between every pair of checks counts at every check.
    for (int check = 0; check < 3; ++check) {
        input.Press(65);
        EXPECT_TRUE(detector.InDataChanged()) << check;
        EXPECT_EQ(detector.KeysNow(), "065");
    }

    // Releasing everything is no activity, and the next press counts again.
    EXPECT_FALSE(detector.InDataChanged());
    input.Press(65);
    EXPECT_TRUE(detector.InDataChanged());

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
    detector.InDataReset();
    EXPECT_FALSE(detector.MouseMoved());
    EXPECT_FALSE(detector.KeysChanged());
    EXPECT_FALSE(detector.InDataChanged());
}

TEST_F(InputChangeTest, AnUnreadableSourceCountsAsActivityAtEveryCheck) {
    EXPECT_FALSE(detector.Unreadable());
    EXPECT_FALSE(detector.InDataChanged());

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
    input.Press(65);
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_TRUE(detector.KeysChanged());

    // A reset already tells whether the source can be read, before the first check.
    input.readable = false;
    detector.InDataReset();
    EXPECT_TRUE(detector.Unreadable());
    EXPECT_FALSE(detector.MouseMoved());
    EXPECT_FALSE(detector.KeysChanged());
    input.readable = true;
    detector.InDataReset();
    EXPECT_FALSE(detector.Unreadable());
}

}  // namespace
}  // namespace vespar
