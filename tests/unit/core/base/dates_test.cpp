#include "base/dates.h"

#include <gtest/gtest.h>

namespace vespar {
namespace {

TEST(Dates, FormatAndParseRoundTripAndRejectWhatIsNotADate) {
    const LocalTime t{2026, 12, 5, 4, 25, 13};
    EXPECT_EQ(FormatDateTime(t), "05-Dec-26 04:25:13");
    EXPECT_EQ(ParseDateTime("05-Dec-26 04:25:13"), t);
    EXPECT_EQ(ParseDateTime("01-Jan-27"), (LocalTime{2027, 1, 1, 0, 0, 0}));
    for (const char* text :
         {"File Created", "05-dec-26 04:25:13", "05-Dec-26 24:00:00", "05-Dec-26 23:60:00",
          "05-Dec-26 23:59:60", "05-Dec-26 04-25:13", "05-Dec-26 0a:25:13", "00-Dec-26", ""})
        EXPECT_FALSE(ParseDateTime(text).has_value()) << text;
}

TEST(Dates, EveryMonthEndsOnItsOwnLastDay) {
    const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        const std::string mon = FormatDate({2026, month, 1, 0, 0, 0}).substr(2, 5);
        const int last = days[month - 1];
        EXPECT_TRUE(ParseDateTime(std::to_string(last) + mon + "26").has_value()) << mon;
        EXPECT_FALSE(ParseDateTime(std::to_string(last + 1) + mon + "26").has_value()) << mon;
    }
    EXPECT_TRUE(ParseDateTime("29-Feb-28").has_value());  // leap years
    EXPECT_TRUE(ParseDateTime("29-Feb-00").has_value());  // 2000: divisible by 400
}

TEST(Dates, ArithmeticCrossesDaysMonthsAndYears) {
    EXPECT_EQ(AddSeconds({2026, 12, 31, 23, 59, 58}, 3), (LocalTime{2027, 1, 1, 0, 0, 1}));
    EXPECT_EQ(AddSeconds({2028, 3, 1, 0, 0, 0}, -1), (LocalTime{2028, 2, 29, 23, 59, 59}));
    EXPECT_EQ(AddSeconds({1970, 1, 1, 0, 0, 0}, -1), (LocalTime{1969, 12, 31, 23, 59, 59}));
    // 1 March 2000 opens a 400-year cycle of the calendar.
    EXPECT_EQ(AddSeconds({2000, 2, 29, 12, 0, 0}, 86400), (LocalTime{2000, 3, 1, 12, 0, 0}));
    // 2100 is no leap year: its 28 February is the last day of the cycle's first century.
    EXPECT_EQ(AddSeconds({2100, 2, 28, 12, 0, 0}, 86400), (LocalTime{2100, 3, 1, 12, 0, 0}));
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    // Forward and back agree on every 97th day of two centuries.
    const LocalTime start{1990, 1, 1, 12, 0, 0};
    for (std::int64_t day = 0; day < 73'000; day += 97) {
        const LocalTime t = AddSeconds(start, day * 86400);
        ASSERT_EQ(DaysFromCivil(t.year, t.month, t.day), DaysFromCivil(1990, 1, 1) + day) << day;
        ASSERT_EQ(t.hour, 12);
    }
    EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);
}

}  // namespace
}  // namespace vespar
