#pragma once

#include "base/clock.h"
#include "base/dates.h"
#include "base/timers.h"

namespace vespar::test {

// A clock whose time moves only when the test says so.
class FakeClock : public Clock {
  public:
    LocalTime now() const override { return AddSeconds(start_, (startOffsetMs_ + ms_) / 1000); }
    std::int64_t tickMs() const override { return ms_; }

    void Set(const LocalTime& t, int millis = 0) {
        start_ = t;
        startOffsetMs_ = millis - ms_;
    }
    void AdvanceMs(std::int64_t ms) { ms_ += ms; }

  private:
    LocalTime start_{2026, 12, 6, 12, 0, 0};
    std::int64_t startOffsetMs_ = 0;
    std::int64_t ms_ = 0;
};

// Runs the timers of a registry in virtual time.
class VirtualTime {
  public:
    VirtualTime(FakeClock& clock, TimerRegistry& timers) : clock_(clock), timers_(timers) {
        timers_.RunDue(clock_.tickMs());
    }
    // Moves time forward in steps of at most stepMs, firing due timers on the way.
    void Advance(std::int64_t ms, std::int64_t stepMs = 50) {
        const std::int64_t end = clock_.tickMs() + ms;
        while (clock_.tickMs() < end) {
            clock_.AdvanceMs(std::min(stepMs, end - clock_.tickMs()));
            timers_.RunDue(clock_.tickMs());
        }
    }

  private:
    FakeClock& clock_;
    TimerRegistry& timers_;
};

}  // namespace vespar::test
