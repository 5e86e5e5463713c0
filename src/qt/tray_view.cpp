#include "qt/tray_view.h"

#include <QCursor>

#include "qt/tray_icons.h"

namespace vespar::qt {

namespace {

// MenuPopUp's items in their order; the lines are separators.
constexpr const char* kItems[] = {"mPopUpAbout",  "mPopUpLine1", "mPopUpCancel",  "mPopUpConfig",
                                  "mPopUpMin",    "mPopUpReset", "mPopUpRestore", "mPopUpTest",
                                  "mPopUpUpdate", "mPopUpLine2", "mPopUpExit"};

bool IsSeparator(const std::string& name) { return name.rfind("mPopUpLine", 0) == 0; }

}  // namespace

TrayView::TrayView(MainWindowScreen& main, const Runtime& rt, MainWindowController& rules,
                   ScreenWindow::EventSink sink)
    : main_(main), rt_(rt), rules_(rules), sink_(std::move(sink)) {
    menu_.setObjectName("MenuPopUp");
    for (const char* name : kItems) {
        QAction* item = menu_.addAction(QString());
        item->setObjectName(name);
        item->setSeparator(IsSeparator(name));
        items_[name] = item;
        const std::string n = name;
        connect(item, &QAction::triggered, this,
                [this, n] { sink_([this, n] { main_.Click(n); }); });
    }
    icon_.setIcon(TrayIconPicture(shown_));
    // Our own handling of the right button: the popup comes from the model's rules.
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
}

void TrayView::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) {
        sink_([this] { rules_.TrayMouse(kTrayLeftDoubleClick); });
    } else if (reason == QSystemTrayIcon::Context) {
        sink_([this] { rules_.TrayMouse(kTrayRightButtonDown); });
    }
}

void TrayView::RefreshMenu() {
    menu_.setTitle(QString::fromLatin1(main_.control("MenuPopUp").caption.c_str()));
    for (auto& [name, item] : items_) {
        const Control& c = main_.control(name);
        if (!IsSeparator(name)) item->setText(QString::fromLatin1(c.caption.c_str()));
        item->setEnabled(c.enabled);
        item->setVisible(c.visible);
    }
}

void TrayView::Refresh() {
    RefreshMenu();
    if (main_.trayIcon != shown_) {
        shown_ = main_.trayIcon;
        icon_.setIcon(TrayIconPicture(shown_));
    }
    icon_.setToolTip(QString::fromLatin1(main_.trayTip.c_str()));
    const bool show = rt_.trayIconShown && Available();
    if (icon_.isVisible() != show) icon_.setVisible(show);
    if (main_.popupRequested) {
        main_.popupRequested = false;
        menu_.popup(QCursor::pos());
    }
}

}  // namespace vespar::qt
