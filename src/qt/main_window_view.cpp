#include "qt/main_window_view.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "qt/clickable_label.h"
#include "qt/tray_icons.h"

namespace vespar::qt {

MainWindowView::MainWindowView(MainWindowScreen& main, MainWindowController& rules, EventSink sink,
                               std::function<bool()> trayAvailable)
    : ScreenWindow(main, std::move(sink)),
      main_(main),
      rules_(rules),
      trayAvailable_(std::move(trayAvailable)) {
    // A small tool window: no maximise; the close button follows the system menu's Close.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(TrayIconPicture(TrayIcon::Window));

    auto* layout = new QVBoxLayout(this);  // owned by this window
    auto* top = new QHBoxLayout;
    layout->addLayout(top);
    auto* lines = new QVBoxLayout;
    top->addLayout(lines, 1);
    HoldLines(lines,
              {AddLabel(lines, main_window::kTitle), AddLabel(lines, main_window::kCounter),
               AddLabel(lines, main_window::kCPULoad), AddLabel(lines, main_window::kDLLoad)},
              440);
    ClickableLabel* logo = AddLink(top, main_window::kLogo);
    logo->setPixmap(LogoPicture());
    logo->setAlignment(Qt::AlignTop | Qt::AlignRight);

    auto* list = new QHBoxLayout;
    layout->addLayout(list);
    AddLabel(list, "#NetConCaption")->setText("Network:");
    AddList(list, main_window::kNetCon)->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    for (const char* name : {main_window::kTestS, main_window::kConfig, main_window::kUpdate,
                             main_window::kReset, main_window::kAbout, main_window::kExit}) {
        AddButton(buttons, name);
    }
    park_ = AddFocusBox(buttons, main_window::kPark);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Pictures for the tray, which draws the one the model's trayIcon names.
    NotDrawn({main_window::kShutdownIcon, main_window::kActivityIcon, main_window::kActivateIcon});
}

void MainWindowView::ApplyWindowState() {
    SetTitle(main_.caption);
    SetWindowHint(Qt::WindowCloseButtonHint, main_.closeItemShown());
    SetWindowHint(Qt::WindowStaysOnTopHint, main_.topmost);
    if (main_.minimised) {
        if (trayAvailable_()) {
            if (isVisible()) hide();
        } else if (!isMinimized()) {
            showMinimized();
        }
    } else if (main_.visible) {
        if (isMinimized() || !isVisible()) showNormal();
    } else if (isVisible()) {
        hide();
    }
    CarryOutRequests();
}

bool MainWindowView::ShownByModel() const { return main_.OnScreen(trayAvailable_()); }

void MainWindowView::CarryOutRequests() {
    if (main_.centreRequested) {
        main_.centreRequested = false;
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->geometry();
            move(area.width() / 2 - frameGeometry().width() / 2,
                 area.height() / 2 - frameGeometry().height() / 2);
        }
    }
    if (main_.foregroundRequested) {
        main_.foregroundRequested = false;
        if (isVisible()) {
            raise();
            activateWindow();
        }
    }
    if (main_.focusParkRequested) {
        main_.focusParkRequested = false;
        park_->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindowView::changeEvent(QEvent* event) {
    // Only a change the model does not know yet is the user's: our own minimising and
    // restoring land here too.
    if (event->type() == QEvent::WindowStateChange && isMinimized() != main_.minimised) {
        const bool minimised = isMinimized();
        Send([this, minimised] { rules_.WindowStateChanged(minimised); });
    }
    ScreenWindow::changeEvent(event);
}

}  // namespace vespar::qt
