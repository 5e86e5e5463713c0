#pragma once

#include <string>

namespace vespar {

// What the monitor engine asks of the rest of the program: the main window, the tray icon,
// the datagram link, the update check, the administrator test and the log.
class EngineHost {
  public:
    virtual ~EngineHost() = default;
    virtual void ShowStatus() = 0;
    virtual void SetTrayState(const std::string& state) = 0;
    virtual void ShowMainWindow() = 0;
    virtual void DisableForTest() = 0;
    virtual void ShowCloseItem(bool show) = 0;
    virtual void ResizeHandling() = 0;
    // Sends PendingMessage and replaces it with the next status datagram.
    virtual void SendPendingMessage() = 0;
    virtual void CheckUpdateDue(bool automatic) = 0;
    virtual bool IsAdmin() = 0;
    virtual void CloseAboutScreen() = 0;
    virtual void CloseConfigScreen() = 0;
    virtual void WriteLogEntry(const std::string& event, const std::string& state) = 0;
    // A line of free text in the log (a reason too long for an entry's columns).
    virtual void WriteLogText(const std::string& text) = 0;
    virtual void StartLogFile() = 0;
};

}  // namespace vespar
