#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vespar {

class TimerRegistry;

// A core timer: the front-end (real time) or the fake host (virtual time) drives it through
// TimerRegistry::RunDue.
class Timer {
  public:
    Timer(std::string name, int intervalMs, std::function<void()> handler, TimerRegistry& registry);

    const std::string& name() const { return name_; }
    int interval() const { return intervalMs_; }
    bool enabled() const { return enabled_; }
    // Enabling restarts the interval from the moment of the call, as window timers do.
    void SetEnabled(bool enabled);
    void SetInterval(int intervalMs);

  private:
    friend class TimerRegistry;
    std::string name_;
    int intervalMs_;
    std::function<void()> handler_;
    bool enabled_ = false;
    bool running_ = false;  // its handler is on the stack (a modal box inside it)
    std::int64_t dueMs_ = 0;
    TimerRegistry& registry_;
};

class TimerRegistry {
  public:
    // The timer lives as long as the registry or until Remove.
    Timer& Create(std::string name, int intervalMs, std::function<void()> handler);
    void Remove(const Timer& timer);
    Timer* Find(const std::string& name);

    // Fires every enabled timer whose interval has passed at nowMs; a timer whose previous
    // tick is still running is skipped. Missed ticks are dropped, not caught up. True when
    // any timer fired, so the front-end redraws only then.
    bool RunDue(std::int64_t nowMs);

    // The time of the event being handled: a timer enabled by it counts from here.
    void SetNow(std::int64_t nowMs) { nowMs_ = nowMs; }
    // When the next timer falls due: the earliest enabled timer whose handler is not running.
    std::optional<std::int64_t> NextDue() const;
    // Whether a timer's handler is running (a modal box inside it keeps the events flowing).
    bool Busy() const;
    // Called whenever NextDue may have changed, so that a host can sleep until then.
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }

  private:
    friend class Timer;
    void Changed() {
        if (changed_) changed_();
    }

    std::vector<std::unique_ptr<Timer>> timers_;
    std::int64_t nowMs_ = 0;
    std::function<void()> changed_;
};

}  // namespace vespar
