#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "sensors/input_change.h"

namespace vespar::test {

// Every check of a source that cannot be read is activity, none of it shown as seen input.
inline void ExpectUnreadableIsActivity(InputChangeDetector& detector, int checks = 3) {
    for (int check = 0; check < checks; ++check) {
        EXPECT_TRUE(detector.InDataChanged()) << "check " << check;
        EXPECT_TRUE(detector.Unreadable());
        EXPECT_FALSE(detector.MouseMoved());
        EXPECT_FALSE(detector.KeysChanged());
    }
}

// A key tapped and released before each check counts at every check, not only at the first.
inline void ExpectTapsAtEveryCheck(InputChangeDetector& detector, const std::function<void()>& tap,
                                   int checks) {
    for (int check = 0; check < checks; ++check) {
        tap();
        EXPECT_TRUE(detector.InDataChanged()) << "check " << check;
        EXPECT_TRUE(detector.KeysChanged());
        EXPECT_FALSE(detector.MouseMoved());
        EXPECT_NE(detector.KeysNow(), "0");
    }
}

}  // namespace vespar::test
