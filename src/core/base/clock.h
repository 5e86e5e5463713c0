#pragma once

#include <cstdint>

namespace vespar {

// A local calendar date and time to the second.
struct LocalTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// Local wall-clock time and a monotonic millisecond count.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
    virtual std::int64_t tickMs() const = 0;
};

}  // namespace vespar
