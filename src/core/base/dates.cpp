#include "base/dates.h"

#include <array>
#include <cstdio>

namespace vespar {

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool TwoDigits(const std::string& s, std::size_t at, int& out) {
    if (at + 2 > s.size()) return false;
    const char a = s[at];
    const char b = s[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return false;
    out = (a - '0') * 10 + (b - '0');
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

}  // namespace

std::int64_t DaysFromCivil(int year, int month, int day) {
    // Howard Hinnant's days_from_civil.
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::int64_t SerialSeconds(const LocalTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

LocalTime AddSeconds(const LocalTime& t, std::int64_t seconds) {
    std::int64_t total = SerialSeconds(t) + seconds;
    std::int64_t days = total >= 0 ? total / 86400 : (total - 86399) / 86400;
    std::int64_t rest = total - days * 86400;
    // civil_from_days
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    LocalTime r;
    r.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    r.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    r.year = static_cast<int>(yoe + era * 400 + (r.month <= 2 ? 1 : 0));
    r.hour = static_cast<int>(rest / 3600);
    r.minute = static_cast<int>(rest % 3600 / 60);
    r.second = static_cast<int>(rest % 60);
    return r;
}

std::string FormatDate(const LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%s-%02d", t.day,
                  kMonths[static_cast<std::size_t>((t.month - 1) % 12)], t.year % 100);
    return buf;
}

std::string FormatTime(const LocalTime& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
    return buf;
}

std::string FormatDateTime(const LocalTime& t) { return FormatDate(t) + " " + FormatTime(t); }

std::optional<LocalTime> ParseDateTime(const std::string& text) {
    LocalTime t;
    int yy = 0;
    if (text.size() != 9 && text.size() != 18) return std::nullopt;
    if (!TwoDigits(text, 0, t.day) || text[2] != '-' || text[6] != '-') return std::nullopt;
    const std::string mon = text.substr(3, 3);
    t.month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (mon == kMonths[i]) t.month = static_cast<int>(i) + 1;
    }
    if (t.month == 0 || !TwoDigits(text, 7, yy)) return std::nullopt;
    t.year = 2000 + yy;
    if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return std::nullopt;
    if (text.size() == 18) {
        if (text[9] != ' ' || text[12] != ':' || text[15] != ':') return std::nullopt;
        if (!TwoDigits(text, 10, t.hour) || !TwoDigits(text, 13, t.minute) ||
            !TwoDigits(text, 16, t.second)) {
            return std::nullopt;
        }
        if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    }
    return t;
}

}  // namespace vespar
