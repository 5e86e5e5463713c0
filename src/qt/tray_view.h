#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <string>

#include "app/main_window_controller.h"
#include "qt/screen_window.h"
#include "state/runtime.h"
#include "ui/main_window.h"

namespace vespar::qt {

// The tray icon with its picture and tip, and MenuPopUp, which opens at the mouse when the
// model asks for it.
class TrayView : public QObject {
  public:
    TrayView(MainWindowScreen& main, const Runtime& rt, MainWindowController& rules,
             ScreenWindow::EventSink sink);

    static bool Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void Refresh();
    // A click on the icon, as the desktop reports it.
    void Activated(QSystemTrayIcon::ActivationReason reason);
    // Removes the icon at once (the program is ending).
    void Remove() { icon_.hide(); }

    QMenu& menu() { return menu_; }
    const QSystemTrayIcon& icon() const { return icon_; }

  private:
    void RefreshMenu();

    MainWindowScreen& main_;
    const Runtime& rt_;
    MainWindowController& rules_;
    ScreenWindow::EventSink sink_;
    QSystemTrayIcon icon_;
    QMenu menu_;
    std::map<std::string, QAction*> items_;
    TrayIcon shown_ = TrayIcon::Window;
};

}  // namespace vespar::qt
