#include "qt/qt_dialogs.h"

#include <QMessageBox>
#include <QTimer>

namespace vespar::qt {

namespace {

QMessageBox::Icon ToQt(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

Answer QtDialogs::Show(const MessageBox& box) {
    QString text = QString::fromLatin1(box.text.c_str());
    text.replace("\r\n", "\n");
    QMessageBox mb(ToQt(box.icon), QString::fromLatin1(box.title.c_str()), text, ToQt(box.buttons));
    mb.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (box.timeoutSeconds > 0) {
        QTimer::singleShot(box.timeoutSeconds * 1000, &mb, [&mb] { mb.done(QMessageBox::Ok); });
    }
    const int pressed = mb.exec();
    switch (pressed) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            // Closed by the window's own close button: the box's escape answer.
            return box.buttons == Buttons::Ok      ? Answer::Ok
                   : box.buttons == Buttons::YesNo ? Answer::No
                                                   : Answer::Cancel;
    }
}

}  // namespace vespar::qt
