#include "app/event_boundary.h"

#include <utility>

#include "base/program_exit.h"
#include "base/system_error.h"

namespace vespar {

EventBoundary::EventBoundary(Program& program, const Clock& clock, Hooks hooks)
    : program_(program), clock_(clock), hooks_(std::move(hooks)) {}

void EventBoundary::Deliver(const std::function<void()>& event) {
    Handle(event, [] { return true; });
}

void EventBoundary::Pump() {
    bool fired = false;
    Handle([&] { fired = program_.timers().RunDue(clock_.tickMs()); }, [&] { return fired; });
}

void EventBoundary::Handle(const std::function<void()>& event,
                           const std::function<bool()>& changed) {
    if (ended_) return;
    program_.timers().SetNow(clock_.tickMs());
    try {
        try {
            event();
        } catch (const SystemError& e) {
            program_.ReportSystemError(e);
        }
    } catch (const ProgramExit& e) {
        ended_ = true;
        exitCode_ = e.code;
        hooks_.end(e.code);
        return;
    }
    hooks_.arm();
    if (!changed()) return;
    // Showing or hiding a window raises events of its own; the redraw runs once more when
    // they changed the models meanwhile.
    if (redrawing_) {
        stale_ = true;
        return;
    }
    redrawing_ = true;
    for (int pass = 0; pass < 3 && !ended_; ++pass) {
        stale_ = false;
        hooks_.redraw();
        if (!stale_) break;
    }
    redrawing_ = false;
}

}  // namespace vespar
