#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/event_boundary.h"
#include "app/program.h"
#include "base/clock.h"
#include "qt/main_window_view.h"
#include "qt/screen_window.h"
#include "qt/tray_view.h"

namespace vespar::qt {

// The Qt side of the program: it draws the core's screens, turns widget and tray events into
// model events, runs the core's timers on the event loop, and is the event boundary where a
// failed system action is reported and the program's end is carried out.
class FrontEnd {
  public:
    FrontEnd(Program& program, const Clock& clock);
    ~FrontEnd();
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Enters the program and shows its first window; false when the program ended already.
    bool Start(const std::string& commandLine);
    // Runs the core's timers from the event loop: the process sleeps until the next one is due.
    void StartTimers();
    // Fires the core timers that are due now.
    void Pump();
    // The one entry of every event from outside the core (a widget, the tray, a socket, a
    // download): the core handles it, the screens that changed are redrawn, and the wake-up
    // is set for the next due timer, since the event may have started or stopped one.
    void Deliver(const std::function<void()>& event);

    bool ended() const { return boundary_.ended(); }
    int exitCode() const { return boundary_.exitCode(); }
    ScreenWindow* mainWindow() { return main_.get(); }
    ScreenWindow* aboutWindow() { return about_.get(); }
    ScreenWindow* updaterWindow() { return updater_.get(); }
    ScreenWindow* configWindow() { return config_.get(); }
    TrayView* tray() { return tray_.get(); }

  private:
    void RefreshAll();
    // Sets the single wake-up for the earliest due core timer.
    void Arm();
    void End(int code);

    Program& program_;
    const Clock& clock_;
    EventBoundary boundary_;
    std::unique_ptr<ScreenWindow> main_;
    std::unique_ptr<ScreenWindow> about_;
    std::unique_ptr<ScreenWindow> updater_;
    std::unique_ptr<ScreenWindow> config_;
    std::unique_ptr<TrayView> tray_;
    QTimer wake_;
    std::int64_t armedFor_ = 0;  // the due time wake_ comes next at
    bool timersStarted_ = false;
};

}  // namespace vespar::qt
