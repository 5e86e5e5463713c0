#include "platform/linux/idle_time_taps.h"

namespace vespar::linux_platform {
namespace {

// Idle times come in whole milliseconds, truncated, so input just before the previous sweep
// can look as if it came after it. Any wider margin would hide real input; input counted
// twice only keeps a busy computer busy.
constexpr std::chrono::milliseconds kMargin{1};

}  // namespace

int IdleTimeTaps::Sweep(std::chrono::milliseconds idle, Clock::time_point now, bool explained) {
    const auto previous = previous_;
    previous_ = now;
    if (!previous || explained) return 0;
    if (idle + kMargin >= now - *previous) return 0;
    const int code = kTapCodes[next_];
    next_ = 1 - next_;
    return code;
}

}  // namespace vespar::linux_platform
