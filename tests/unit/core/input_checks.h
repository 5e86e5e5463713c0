#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// Input made before each check, seen only through the idle time, reads as a tap code that
// alternates, so that a steady typist counts at every check, not only at the first.
inline void ExpectTapsAtEveryCheck(InputChangeDetector& detector, const std::function<void()>& tap,
                                   int checks) {
    std::string previous = detector.KeysNow();
    for (int check = 0; check < checks; ++check) {
        tap();
        EXPECT_TRUE(detector.InDataChanged()) << "check " << check;
        EXPECT_TRUE(detector.KeysChanged());
        EXPECT_FALSE(detector.MouseMoved());
        EXPECT_TRUE(detector.KeysNow() == "03" || detector.KeysNow() == "07") << detector.KeysNow();
        EXPECT_NE(detector.KeysNow(), previous);
        previous = detector.KeysNow();
    }
}

}  // namespace vespar::test
