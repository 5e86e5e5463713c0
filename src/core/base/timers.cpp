#include "base/timers.h"

#include <algorithm>

namespace vespar {

Timer::Timer(std::string name, int intervalMs, std::function<void()> handler,
             TimerRegistry& registry)
    : name_(std::move(name)),
      intervalMs_(intervalMs),
      handler_(std::move(handler)),
      registry_(registry) {}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    if (enabled) dueMs_ = registry_.nowMs_ + intervalMs_;
    enabled_ = enabled;
    registry_.Changed();
}

void Timer::SetInterval(int intervalMs) {
    intervalMs_ = intervalMs;
    dueMs_ = registry_.nowMs_ + intervalMs_;
    registry_.Changed();
}

Timer& TimerRegistry::Create(std::string name, int intervalMs, std::function<void()> handler) {
    timers_.push_back(
        std::make_unique<Timer>(std::move(name), intervalMs, std::move(handler), *this));
    return *timers_.back();
}

void TimerRegistry::Remove(const Timer& timer) {
    std::erase_if(timers_, [&](const auto& t) { return t.get() == &timer; });
    Changed();
}

Timer* TimerRegistry::Find(const std::string& name) {
    for (auto& t : timers_) {
        if (t->name() == name) return t.get();
    }
    return nullptr;
}

std::optional<std::int64_t> TimerRegistry::NextDue() const {
    std::optional<std::int64_t> next;
    for (const auto& t : timers_) {
        if (t->enabled_ && !t->running_ && (!next || t->dueMs_ < *next)) next = t->dueMs_;
    }
    return next;
}

bool TimerRegistry::Busy() const {
    return std::any_of(timers_.begin(), timers_.end(), [](const auto& t) { return t->running_; });
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
            TimerRegistry& registry;
            ~Guard() {
                for (auto& p : registry.timers_) {
                    if (p.get() == t) p->running_ = false;
                }
            }
        } guard{t, *this};
        fired = true;
        // While the handler runs (a modal box inside it keeps the events flowing), the other
        // timers must still come due.
        Changed();
        t->handler_();
    }
    if (fired) Changed();
    return fired;
}

}  // namespace vespar
