#pragma once

#include <functional>

#include "app/program.h"
#include "base/clock.h"

namespace vespar {

// Where every event from outside the core enters it (a timer, a widget, the tray, a socket, a
// download), whatever the toolkit: the core handles the event, a failed system action is
// reported, the program's end is carried out once, and the front-end re-arms its wake-up and
// redraws what changed.
class EventBoundary {
  public:
    struct Hooks {
        std::function<void()> arm;     // sets the wake-up for the next due core timer
        std::function<void()> redraw;  // draws every screen from its model
        std::function<void(int)> end;  // closes the windows and leaves the event loop
    };
    EventBoundary(Program& program, const Clock& clock, Hooks hooks);

    // Handles one event and redraws, since any event may change the screens.
    void Deliver(const std::function<void()>& event);
    // Fires the core timers that are due now; redraws only when one fired.
    void Pump();

    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }

  private:
    void Handle(const std::function<void()>& event, const std::function<bool()>& changed);

    Program& program_;
    const Clock& clock_;
    Hooks hooks_;
    bool redrawing_ = false;
    bool stale_ = false;  // an event changed the models during a redraw
    bool ended_ = false;
    int exitCode_ = 0;
};

}  // namespace vespar
