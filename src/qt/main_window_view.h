#pragma once

#include <functional>

#include "app/main_window_controller.h"
#include "qt/screen_window.h"
#include "ui/main_window.h"

class QLineEdit;

namespace vespar::qt {

// VesparMain on screen: status, counter and measurement lines, the interface list, the row of
// buttons and the logo. Minimised, it hides behind the tray icon, or, on a desktop without a
// tray, stays in the task bar so that it can always be found again.
class MainWindowView : public ScreenWindow {
  public:
    MainWindowView(MainWindowScreen& main, MainWindowController& rules, EventSink sink,
                   std::function<bool()> trayAvailable);

  protected:
    void ApplyWindowState() override;
    bool ShownByModel() const override;
    void changeEvent(QEvent* event) override;

  private:
    void CarryOutRequests();

    MainWindowScreen& main_;
    MainWindowController& rules_;
    std::function<bool()> trayAvailable_;
    QLineEdit* park_ = nullptr;
};

}  // namespace vespar::qt
