#include "base/numbers.h"

#include <gtest/gtest.h>

namespace vespar {
namespace {

TEST(NumberAtStart, ReadsLikeStoredSettings) {
    EXPECT_EQ(NumberAtStart("60"), 60);
    EXPECT_EQ(NumberAtStart(" 6 0"), 60);
    EXPECT_EQ(NumberAtStart("12abc"), 12);
    EXPECT_EQ(NumberAtStart(""), 0);
    EXPECT_EQ(NumberAtStart("abc"), 0);
    EXPECT_EQ(NumberAtStart("2.5"), 2.5);
    EXPECT_EQ(NumberAtStart("-7"), -7);
    EXPECT_EQ(NumberAtStart("+7x"), 7);
    EXPECT_EQ(NumberAtStart("1.5E2"), 150);
    EXPECT_EQ(NumberAtStart("1e"), 1);
    EXPECT_EQ(NumberAtStart("\t4\n2"), 42);
    EXPECT_EQ(NumberAtStart("&H10"), 16);
    EXPECT_EQ(NumberAtStart("&HFFFF"), -1);
    EXPECT_EQ(NumberAtStart("&O17"), 15);
    EXPECT_EQ(NumberAtStart("&O8"), 0);
    EXPECT_EQ(NumberAtStart("1.2.3"), 1.2);
    EXPECT_EQ(NumberAtStart("-"), 0);
    EXPECT_EQ(NumberAtStart("1e999"), 0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(5.5), 6);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
}

TEST(RangeLimits, SixteenAndThirtyTwoBits) {
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_FALSE(ToInt16(32767.5).has_value());  // rounds to 32768
    EXPECT_EQ(ToInt16(-32768), -32768);
    EXPECT_FALSE(ToInt16(40000).has_value());
    EXPECT_EQ(ToInt32(70000), 70000);
    EXPECT_FALSE(ToInt32(2147483648.0).has_value());
    EXPECT_EQ(ToInt32(-2147483648.0), -2147483647 - 1);
}

TEST(NumberText, PlainDecimal) {
    EXPECT_EQ(NumberText(5), "5");
    EXPECT_EQ(NumberText(5.5), "5.5");
    EXPECT_EQ(NumberText(-1), "-1");
    EXPECT_EQ(FormatFixed3(99.9), "99.900");
    EXPECT_EQ(FormatFixed3(0.25), "0.250");
}

}  // namespace
}  // namespace vespar
