#include "base/timers.h"

#include <algorithm>

namespace vespar {

Timer::Timer(std::string name, int intervalMs, std::function<void()> handler,
             const std::int64_t& clockMs)
    : name_(std::move(name)),
      intervalMs_(intervalMs),
      handler_(std::move(handler)),
      clockMs_(clockMs) {}

void Timer::SetEnabled(bool enabled) {
    if (enabled && !enabled_) dueMs_ = clockMs_ + intervalMs_;
    enabled_ = enabled;
}

void Timer::SetInterval(int intervalMs) {
    intervalMs_ = intervalMs;
    dueMs_ = clockMs_ + intervalMs_;
}

Timer& TimerRegistry::Create(std::string name, int intervalMs, std::function<void()> handler) {
    timers_.push_back(
        std::make_unique<Timer>(std::move(name), intervalMs, std::move(handler), nowMs_));
    return *timers_.back();
}

void TimerRegistry::Remove(const Timer& timer) {
    std::erase_if(timers_, [&](const auto& t) { return t.get() == &timer; });
}

Timer* TimerRegistry::Find(const std::string& name) {
    for (auto& t : timers_) {
        if (t->name() == name) return t.get();
    }
    return nullptr;
}

bool TimerRegistry::RunDue(std::int64_t nowMs) {
    nowMs_ = nowMs;
    bool fired = false;
    // Handlers may create or remove timers; walk a snapshot of the names' owners.
    std::vector<Timer*> snapshot;
    for (auto& t : timers_) snapshot.push_back(t.get());
    for (Timer* t : snapshot) {
        const bool alive = std::any_of(timers_.begin(), timers_.end(),
                                       [&](const auto& p) { return p.get() == t; });
        if (!alive || !t->enabled_ || t->running_) continue;
        if (nowMs < t->dueMs_) continue;
        t->dueMs_ += t->intervalMs_;
        if (t->dueMs_ <= nowMs) t->dueMs_ = nowMs + t->intervalMs_;  // missed ticks are dropped
        t->running_ = true;
        struct Guard {
            Timer* t;
            std::vector<std::unique_ptr<Timer>>& all;
            ~Guard() {
                for (auto& p : all) {
                    if (p.get() == t) p->running_ = false;
                }
            }
        } guard{t, timers_};
        fired = true;
        t->handler_();
    }
    return fired;
}

}  // namespace vespar
