#include "base/numbers.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace vespar {
namespace {

TEST(NumberAtStart, ReadsLikeStoredSettings) {
    const std::pair<const char*, double> cases[] = {
        {"60", 60},     {" 6 0", 60}, {"1hour", 1},      {"", 0},        {"abc", 0},
        {"2.5", 2.5},   {"-7", -7},   {"+7x", 7},        {"1.5E2", 150}, {"1e", 1},
        {"\t4\n2", 42}, {"&H10", 16}, {"&HFFFF", -1},    {"&O17", 15},   {"&O8", 0},
        {"1.2.3", 1.2}, {"-", 0},     {"1D2", 1},        {"1e+2", 100},  {"1e-2", .01},
        {"&o17", 15},   {"&h1a", 26}, {"&H10000", 65536}};
    for (const auto& [text, value] : cases) EXPECT_EQ(NumberAtStart(text), value) << text;
    constexpr double kInf = std::numeric_limits<double>::infinity();
    // clang-format off
    for (const auto& [text, value] : {std::pair{"1E999", kInf}, {"-1e999", -kInf},
                                      {"&H100000000", kInf}, {"&O77777777777777", kInf}})
        EXPECT_EQ(NumberAtStart(text), value) << text;
    // clang-format on
}

TEST(IsWholeNumber, BlanksAroundASignedWholeNumber) {
    for (const char* t : {"0", " 9", "07 ", "+12", "-1", " 1 "}) EXPECT_TRUE(IsWholeNumber(t)) << t;
    for (const char* t : {"", "  ", "+", "1.5", "1 2", "a1", "1a", "&H1", "\t1"})
        EXPECT_FALSE(IsWholeNumber(t)) << t;
}

TEST(RoundingAndRanges, HalvesToEvenAndSixteenAndThirtyTwoBits) {
    const std::pair<double, double> halves[] = {{2.5, 2},    {3.5, 4}, {5.5, 6}, {-2.5, -2},
                                                {2.4999, 2}, {1.5, 2}, {2.6, 3}};
    for (const auto& [x, rounded] : halves) EXPECT_EQ(RoundHalfEven(x), rounded) << x;

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
    // An exact half rounds to even, as printf's "%.3f" does; a sign and every digit are kept.
    EXPECT_EQ(FormatFixed3(2.0625), "2.062");
    EXPECT_EQ(FormatFixed3(-1e20), "-100000000000000000000.000");
}

}  // namespace
}  // namespace vespar
