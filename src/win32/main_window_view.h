#pragma once

#include <functional>

#include "app/main_window_controller.h"
#include "ui/main_window.h"
#include "win32/pictures.h"
#include "win32/screen_window.h"

namespace vespar::win32 {

// VesparMain on screen: status, counter and measurement lines, the logo, the interface list
// and the row of buttons. Minimised, it hides behind the tray icon, or, when the task bar
// took no icon, stays in the task bar so that it can always be found again.
class MainWindowView : public ScreenWindow {
  public:
    using Hook = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;

    MainWindowView(MainWindowScreen& main, MainWindowController& rules, EventSink sink,
                   const Theme& theme, const Pictures& pictures,
                   std::function<bool()> trayAvailable);

    // Messages of the main window that other parts handle (the tray's, the session's end).
    void SetHook(Hook hook) { hook_ = std::move(hook); }

  protected:
    void ApplyWindowState() override;
    bool ShownByModel() const override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void CarryOutRequests();
    void ShowCloseItem(bool shown);

    MainWindowScreen& main_;
    MainWindowController& rules_;
    std::function<bool()> trayAvailable_;
    Hook hook_;
    HWND park_ = nullptr;
    bool closeItemShown_ = true;
};

}  // namespace vespar::win32
