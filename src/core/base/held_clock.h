#pragma once

#include <cstdint>
#include <optional>

#include "base/clock.h"

namespace vespar {

// A clock that reads the local time once for a piece of work: the engine's second looks at
// it in the download meter, the stop-time rule and the update check, and each reading of
// the local time costs a look at the time-zone data. While a hold is open every reader sees
// the same reading, unless time has visibly moved on meanwhile (a modal box inside the work).
class HeldClock : public Clock {
  public:
    explicit HeldClock(const Clock& source) : source_(source) {}

    LocalTime now() const override;
    std::int64_t tickMs() const override { return source_.tickMs(); }

    class [[nodiscard]] Hold {
      public:
        explicit Hold(HeldClock& clock) : clock_(clock) { ++clock_.holds_; }
        ~Hold() {
            if (--clock_.holds_ == 0) clock_.reading_.reset();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        HeldClock& clock_;
    };

    // A reading older than this is taken again even inside a hold.
    static constexpr std::int64_t kFreshMs = 100;

  private:
    const Clock& source_;
    int holds_ = 0;
    mutable std::optional<LocalTime> reading_;
    mutable std::int64_t readAtMs_ = 0;
};

inline LocalTime HeldClock::now() const {
    if (holds_ == 0) return source_.now();
    const std::int64_t ms = source_.tickMs();
    if (!reading_ || ms - readAtMs_ >= kFreshMs) {
        reading_ = source_.now();
        readAtMs_ = ms;
    }
    return *reading_;
}

}  // namespace vespar
