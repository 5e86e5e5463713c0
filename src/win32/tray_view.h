#pragma once

#include <string>

#include "app/main_window_controller.h"
#include "state/runtime.h"
#include "ui/main_window.h"
#include "win32/pictures.h"
#include "win32/screen_window.h"
#include "win32/windows_api.h"

namespace vespar::win32 {

// The notification-area icon with its picture and tip, and MenuPopUp, which opens at the
// mouse when the model asks for it. The icon's messages arrive at the main window as mouse
// moves whose parameter is the mouse message on the icon.
class TrayView {
  public:
    TrayView(MainWindowScreen& main, const Runtime& rt, MainWindowController& rules, EventSink sink,
             const Pictures& pictures, HWND window);
    ~TrayView();
    TrayView(const TrayView&) = delete;
    TrayView& operator=(const TrayView&) = delete;

    // Whether the task bar took the icon (the last time it was asked to).
    bool Available() const { return available_; }
    void Refresh();
    // Removes the icon at once (the program is ending).
    void Remove();
    // The main window's messages that belong to the tray: the icon's mouse messages, the
    // deferred popup and a restarted task bar. True when the message was the tray's.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    bool Notify(DWORD command);
    void OpenPopup();

    MainWindowScreen& main_;
    const Runtime& rt_;
    MainWindowController& rules_;
    EventSink sink_;
    const Pictures& pictures_;
    HWND window_;
    HWND menuOwner_ = nullptr;  // hidden; made foreground so the menu closes as it should
    UINT taskbarCreated_ = 0;
    bool added_ = false;
    bool available_ = true;
    TrayIcon shown_ = TrayIcon::Window;
    std::string tip_;
};

}  // namespace vespar::win32
