#pragma once

#include <chrono>
#include <optional>

namespace vespar::linux_platform {

// Key states read at each poll miss a key tapped and released between two polls. The time
// since the last input of any kind (the desktop's idle time over D-Bus) does
// not: when it is shorter than the time since the previous poll, something happened in
// between. Such input is reported as a press of a code no real key or button uses.
class IdleTimeTaps {
  public:
    using Clock = std::chrono::steady_clock;

    // Codes 3 and 7: X keycodes start at 8 and the buttons are 1, 2 and 4, so a reported
    // tap always changes the key list. They alternate because the detector counts an
    // identical list at consecutive checks only once; with a single code a steady typist
    // would read as idle after the first check.
    static constexpr int kTapCodes[2] = {3, 7};

    // One poll sweep: idle is the time since the last input, read at now. explained tells
    // that the sweep's own readings account for that input (a key or button down now or at
    // the previous sweep, whose press, release or auto-repeat it may be; a pointer move the
    // position check sees). Returns the code to report as pressed, or 0.
    int Sweep(std::chrono::milliseconds idle, Clock::time_point now, bool explained);

    // The idle time could not be read: the next sweep only takes its reference.
    void Forget() { previous_.reset(); }

  private:
    std::optional<Clock::time_point> previous_;
    int next_ = 0;
};

}  // namespace vespar::linux_platform
