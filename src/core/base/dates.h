#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/clock.h"

namespace vespar {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day);

// Seconds since 1970-01-01 00:00:00 of a local time, ignoring time zones.
std::int64_t SerialSeconds(const LocalTime& t);

// The local time that lies the given seconds after t.
LocalTime AddSeconds(const LocalTime& t, std::int64_t seconds);

// "dd-mmm-yy hh:mm:ss" with English month abbreviations, whatever the locale.
std::string FormatDateTime(const LocalTime& t);
// "dd-mmm-yy".
std::string FormatDate(const LocalTime& t);
// "hh:mm:ss".
std::string FormatTime(const LocalTime& t);

// Reads "dd-mmm-yy hh:mm:ss" (and "dd-mmm-yy") as written above; two-digit years are 20yy.
std::optional<LocalTime> ParseDateTime(const std::string& text);

}  // namespace vespar
