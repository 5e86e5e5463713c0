#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <string>

namespace vespar::qt {

// The ways the system ends the program: SIGTERM, SIGINT and SIGHUP, the desktop session's
// end, and a lost display. Each is handed to onEnd on the user-interface thread with the
// reason to log ("" for an ordinary end, "NoDisplay" for a lost X connection), so that the
// program's own exit path runs: timer stopped, last log entry, tray icon removed.
class SystemExitWatch : public QObject {
  public:
    explicit SystemExitWatch(std::function<void(const std::string& why)> onEnd);
    ~SystemExitWatch() override;
    SystemExitWatch(const SystemExitWatch&) = delete;
    SystemExitWatch& operator=(const SystemExitWatch&) = delete;

    // Before the application object exists: a display that cannot be opened is told on
    // standard error and ends the process with code 1, instead of Qt's abort.
    static void ReportFatalMessages();

  private:
    std::function<void(const std::string&)> onEnd_;
    QSocketNotifier* notifier_ = nullptr;  // owned by this object
};

}  // namespace vespar::qt
