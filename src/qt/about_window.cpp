#include "qt/about_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/clickable_label.h"
#include "qt/tray_icons.h"

namespace vespar::qt {

std::unique_ptr<ScreenWindow> MakeAboutWindow(AboutScreen& about, ScreenWindow::EventSink sink) {
    auto window = std::make_unique<ScreenWindow>(about, std::move(sink));
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    window->setWindowIcon(TrayIconPicture(TrayIcon::Window));
    auto* layout = new QVBoxLayout(window.get());  // owned by the window
    layout->setSizeConstraint(QLayout::SetFixedSize);
    QLabel* logo = new QLabel(window.get());
    logo->setPixmap(LogoPicture());
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);
    QLabel* name = window->AddLabel(layout, AboutScreen::kProgName);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    name->setFont(big);
    window->AddLabel(layout, AboutScreen::kProgVersion);
    ClickableLabel* site = window->AddLink(layout, AboutScreen::kWebSite);
    QFont link = site->font();
    link.setUnderline(true);
    site->setFont(link);
    window->AddLabel(layout, AboutScreen::kTMessage)->setMinimumWidth(260);
    window->AddButton(layout, AboutScreen::kExitAbout);
    for (QLabel* label : window->findChildren<QLabel*>()) label->setAlignment(Qt::AlignCenter);
    return window;
}

}  // namespace vespar::qt
