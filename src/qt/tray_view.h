#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "app/main_window_controller.h"
#include "qt/screen_window.h"
#include "qt/tray_watch.h"
#include "state/runtime.h"
#include "ui/drawn_control.h"
#include "ui/main_window.h"

namespace vespar::qt {

// The tray icon with its picture and tip, and MenuPopUp, which opens at the mouse when the
// model asks for it.
class TrayView : public QObject {
  public:
    TrayView(MainWindowScreen& main, const Runtime& rt, MainWindowController& rules,
             ScreenWindow::EventSink sink);

    // Whether the desktop has a tray: asked at start and again whenever the desktop says a
    // tray came or went, never at every redraw (the question is a round trip to the server).
    bool Available() const { return available_; }

    void Refresh();
    // A click on the icon, as the desktop reports it.
    void Activated(QSystemTrayIcon::ActivationReason reason);
    // Removes the icon at once (the program is ending).
    void Remove() { icon_.hide(); }

    QMenu& menu() { return menu_; }
    // The main window's controls drawn here: MenuPopUp and its items.
    std::set<std::string> Drawn() const;
    const QSystemTrayIcon& icon() const { return icon_; }

  private:
    void RefreshMenu();
    void TrayChanged();
    // Each state's picture, drawn on its first use: the state changes with every spell of
    // activity, and drawing the six sizes again each time was a quarter of the idle cost.
    const QIcon& Picture(TrayIcon which);

    MainWindowScreen& main_;
    const Runtime& rt_;
    MainWindowController& rules_;
    ScreenWindow::EventSink sink_;
    QSystemTrayIcon icon_;
    QMenu menu_;
    // A menu item and what it shows of its control.
    struct Item {
        QAction* action;
        DrawnControl drawn;
    };
    std::map<std::string, Item> items_;
    const Control& menuControl_;
    DrawnScreen drawn_;  // whether the model changed since its controls were drawn
    TrayIcon shown_ = TrayIcon::Window;
    std::map<TrayIcon, QIcon> pictures_;
    std::string tip_;
    std::string title_;
    bool available_ = false;
    TrayWatch watch_;
};

}  // namespace vespar::qt
