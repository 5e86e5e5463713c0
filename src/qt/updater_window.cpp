#include "qt/updater_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "qt/clickable_label.h"
#include "qt/tray_icons.h"

namespace vespar::qt {

namespace {

QString Text(const std::string& s) {
    QString text = QString::fromLatin1(s.c_str(), static_cast<qsizetype>(s.size()));
    text.replace("\r\n", "\n");
    return text;
}

}  // namespace

UpdaterWindow::UpdaterWindow(UpdaterScreen& updater, EventSink sink)
    : ScreenWindow(updater, std::move(sink)) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(TrayIconPicture(TrayIcon::Window));
    auto* layout = new QVBoxLayout(this);  // owned by this window
    auto* top = new QHBoxLayout;
    layout->addLayout(top);
    ClickableLabel* logo = AddLink(top, "Logo");
    logo->setPixmap(LogoPicture());
    logo->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* lines = new QVBoxLayout;
    top->addLayout(lines, 1);
    QLabel* version = AddLabel(lines, "UVersion");
    QFont big = version->font();
    big.setBold(true);
    version->setFont(big);
    status_ = new QLineEdit(this);
    status_->setObjectName("Status");
    status_->setReadOnly(true);
    status_->setMinimumWidth(420);
    lines->addWidget(status_);
    AddOwn("Status", status_);
    lines->addStretch(1);

    message_ = new QPlainTextEdit(this);
    message_->setObjectName("Message");
    message_->setReadOnly(true);
    message_->setFixedHeight(message_->fontMetrics().lineSpacing() * 6 + 12);
    layout->addWidget(message_);
    AddOwn("Message", message_);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    for (const char* name : {"WebSite", "History", "KIssues", "Download", "Exit"}) {
        AddButton(buttons, name);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void UpdaterWindow::ApplyWindowState() {
    // A hidden window is drawn when it is shown.
    if (!isVisible() && !model().visible) return ScreenWindow::ApplyWindowState();
    // Read only: a writable access would count as a change of the model at every redraw.
    const ScreenModel& m = model();
    const QString status = Text(m.control("Status").caption);
    if (status_->text() != status) status_->setText(status);
    const QString message = Text(m.control("Message").caption);
    if (message_->toPlainText() != message) message_->setPlainText(message);
    ScreenWindow::ApplyWindowState();
}

}  // namespace vespar::qt
