#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/event_boundary.h"
#include "app/program.h"
#include "base/clock.h"
#include "win32/pictures.h"
#include "win32/screen_window.h"
#include "win32/theme.h"
#include "win32/timer_window.h"
#include "win32/tray_view.h"

namespace vespar::win32 {

// The Win32 side of the program: it draws the core's screens, turns control and tray events
// into model events, runs the core's timers with one window timer, and is the event boundary
// where a failed system action is reported and the program's end is carried out.
class FrontEnd {
  public:
    FrontEnd(Program& program, const Clock& clock);
    ~FrontEnd();
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    // Enters the program and shows its first window; false when the program ended already.
    bool Start(const std::string& commandLine);
    // Runs the core's timers from the message loop: the process sleeps until the next one is
    // due.
    void StartTimers();
    // Fires the core timers that are due now.
    void Pump();
    // The one entry of every event from outside the core (a control, the tray, a socket, a
    // download): the core handles it, the screens that changed are redrawn, and the wake-up
    // is set for the next due timer, since the event may have started or stopped one.
    void Deliver(const std::function<void()>& event);
    // Hands a keyboard message to the window it belongs to for its dialog keys (Tab, the
    // underlined letters); true when it was used so.
    bool DialogKey(MSG& message) const;

    bool ended() const { return boundary_.ended(); }
    int exitCode() const { return boundary_.exitCode(); }

  private:
    void RefreshAll();
    // Sets the single wake-up for the earliest due core timer.
    void Arm();
    void End(int code);
    bool MainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

    Program& program_;
    const Clock& clock_;
    EventBoundary boundary_;
    Theme theme_;
    Pictures pictures_;
    TimerWindow wake_;
    std::optional<std::int64_t> armedFor_;  // the due time wake_ is set for
    std::unique_ptr<TrayView> tray_;
    std::unique_ptr<ScreenWindow> main_;
    std::unique_ptr<ScreenWindow> about_;
    std::unique_ptr<ScreenWindow> updater_;
    std::unique_ptr<ScreenWindow> config_;
    bool timersStarted_ = false;
};

}  // namespace vespar::win32
