#include "base/dates.h"

#include <gtest/gtest.h>

namespace vespar {
namespace {

TEST(Dates, FormatAndParseRoundTrip) {
    const LocalTime t{2026, 12, 5, 4, 25, 13};
    EXPECT_EQ(FormatDateTime(t), "05-Dec-26 04:25:13");
    EXPECT_EQ(FormatDate(t), "05-Dec-26");
    EXPECT_EQ(FormatTime(t), "04:25:13");
    EXPECT_EQ(ParseDateTime("05-Dec-26 04:25:13"), t);
    const auto d = ParseDateTime("01-Jan-27");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->year, 2027);
    EXPECT_EQ(d->hour, 0);
}

TEST(Dates, RejectsWhatIsNotADate) {
    EXPECT_FALSE(ParseDateTime("File Created").has_value());
    EXPECT_FALSE(ParseDateTime("31-Feb-26 00:00:00").has_value());
    EXPECT_FALSE(ParseDateTime("05-dec-26 04:25:13").has_value());
    EXPECT_FALSE(ParseDateTime("05-Dec-26 24:00:00").has_value());
    EXPECT_FALSE(ParseDateTime("").has_value());
    EXPECT_TRUE(ParseDateTime("29-Feb-28 23:59:59").has_value());
}

TEST(Dates, ArithmeticCrossesDaysMonthsAndYears) {
    EXPECT_EQ(AddSeconds({2026, 12, 31, 23, 59, 58}, 3), (LocalTime{2027, 1, 1, 0, 0, 1}));
    EXPECT_EQ(AddSeconds({2028, 3, 1, 0, 0, 0}, -1), (LocalTime{2028, 2, 29, 23, 59, 59}));
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);
}

}  // namespace
}  // namespace vespar
