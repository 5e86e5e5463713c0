#include "qt/screen_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace vespar::qt {

namespace {

QString Latin1(const std::string& s) { return QString::fromLatin1(s.c_str()); }

QColor ToQColor(const Color& c, const QPalette& palette) {
    switch (c.kind) {
        case Color::Kind::ButtonFace:
            return palette.color(QPalette::Button);
        case Color::Kind::ButtonText:
            return palette.color(QPalette::ButtonText);
        case Color::Kind::WindowBackground:
            return palette.color(QPalette::Window);
        case Color::Kind::Rgb:
            break;
    }
    return QColor(c.r, c.g, c.b);
}

}  // namespace

ScreenWindow::ScreenWindow(ScreenModel& model, EventSink sink)
    : model_(model), sink_(std::move(sink)) {}

QLabel* ScreenWindow::AddLabel(QBoxLayout* layout, const std::string& name) {
    auto* label = new QLabel(this);  // owned by this window
    label->setObjectName(Latin1(name));
    label->setAutoFillBackground(true);
    layout->addWidget(label);
    labels_[name] = label;
    return label;
}

QPushButton* ScreenWindow::AddButton(QBoxLayout* layout, const std::string& name) {
    auto* button = new QPushButton(this);  // owned by this window
    button->setObjectName(Latin1(name));
    layout->addWidget(button);
    buttons_[name] = button;
    connect(button, &QPushButton::clicked, this,
            [this, name] { sink_([this, name] { model_.Click(name); }); });
    return button;
}

void ScreenWindow::Refresh() {
    setWindowTitle(Latin1(model_.caption));
    setWindowFlag(Qt::WindowStaysOnTopHint, model_.topmost);
    for (auto& [name, label] : labels_) {
        if (!model_.has(name)) continue;
        const Control& c = model_.control(name);
        QString text = Latin1(c.caption);
        text.replace("\r\n", "\n");
        label->setText(text);
        label->setToolTip(Latin1(c.tooltip));
        label->setEnabled(c.enabled);
        label->setVisible(c.visible);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, ToQColor(c.foreColor, palette()));
        p.setColor(QPalette::Window, ToQColor(c.backColor, palette()));
        label->setPalette(p);
        QFont f = label->font();
        f.setBold(c.bold);
        label->setFont(f);
    }
    for (auto& [name, button] : buttons_) {
        if (!model_.has(name)) continue;
        const Control& c = model_.control(name);
        button->setText(Latin1(c.caption));
        button->setToolTip(Latin1(c.tooltip));
        button->setEnabled(c.enabled);
        button->setVisible(c.visible);
    }
}

void ScreenWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // Activation is a model event too (the main window re-applies its rules there).
        sink_([this] { model_.Click("#activate"); });
    }
    QWidget::changeEvent(event);
}

}  // namespace vespar::qt

namespace vespar::qt {

void ScreenWindow::closeEvent(QCloseEvent* event) {
    // The model decides whether the window may close (it ends the program when it does).
    event->ignore();
    sink_([this] { model_.Click("#close"); });
}

}  // namespace vespar::qt
