#include "qt/tray_view.h"

#include <QCursor>

#include "qt/tray_icons.h"

namespace vespar::qt {

TrayView::TrayView(MainWindowScreen& main, const Runtime& rt, MainWindowController& rules,
                   ScreenWindow::EventSink sink)
    : main_(main),
      rt_(rt),
      rules_(rules),
      sink_(std::move(sink)),
      menuControl_(main.control(main_window::kMenuPopUp)),
      available_(QSystemTrayIcon::isSystemTrayAvailable()),
      watch_(nullptr, [this] { TrayChanged(); }) {
    menu_.setObjectName("MenuPopUp");
    for (const std::string& name : MainWindowScreen::PopupItems()) {
        QAction* item = menu_.addAction(QString());
        item->setObjectName(QString::fromStdString(name));
        item->setSeparator(MainWindowScreen::IsSeparator(name));
        items_[name] = {item, {}};
        connect(item, &QAction::triggered, this,
                [this, name] { sink_([this, name] { main_.Click(name); }); });
    }
    icon_.setIcon(Picture(shown_));
    // Our own handling of the right button: the popup comes from the model's rules.
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
}

std::set<std::string> TrayView::Drawn() const {
    std::set<std::string> drawn{main_window::kMenuPopUp};
    for (const auto& entry : items_) drawn.insert(entry.first);
    return drawn;
}

void TrayView::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) {
        sink_([this] { rules_.TrayMouse(kTrayLeftDoubleClick); });
    } else if (reason == QSystemTrayIcon::Context) {
        sink_([this] { rules_.TrayMouse(kTrayRightButtonDown); });
    }
}

void TrayView::TrayChanged() {
    // An event like any other: the windows are redrawn for the new answer.
    sink_([this] { available_ = QSystemTrayIcon::isSystemTrayAvailable(); });
}

const QIcon& TrayView::Picture(TrayIcon which) {
    auto it = pictures_.find(which);
    if (it == pictures_.end()) it = pictures_.emplace(which, TrayIconPicture(which)).first;
    return it->second;
}

void TrayView::RefreshMenu() {
    if (!drawn_.Due(main_)) return;
    if (menuControl_.caption != title_) {
        title_ = menuControl_.caption;
        menu_.setTitle(QString::fromLatin1(title_.c_str()));
    }
    for (auto& [name, item] : items_) {
        const auto change = item.drawn.Redraw(main_, name);
        if (!change) continue;
        const Control& c = change->now;
        if (!item.action->isSeparator())
            item.action->setText(QString::fromLatin1(c.caption.c_str()));
        item.action->setEnabled(c.enabled);
        item.action->setVisible(c.visible);
    }
}

void TrayView::Refresh() {
    RefreshMenu();
    if (main_.trayIcon != shown_) {
        shown_ = main_.trayIcon;
        icon_.setIcon(Picture(shown_));
    }
    if (main_.trayTip != tip_) {
        tip_ = main_.trayTip;
        icon_.setToolTip(QString::fromLatin1(tip_.c_str()));
    }
    const bool show = rt_.trayIconShown && available_;
    if (icon_.isVisible() != show) icon_.setVisible(show);
    if (main_.popupRequested) {
        main_.popupRequested = false;
        menu_.popup(QCursor::pos());
    }
}

}  // namespace vespar::qt
