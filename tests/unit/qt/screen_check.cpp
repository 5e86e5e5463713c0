#include "screen_check.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "qt/front_end.h"

namespace vespar::qt {
namespace {

QString Text(const std::string& s) { return QString::fromLatin1(s.c_str()).replace("\r\n", "\n"); }

// Calls `fault` for every state of the control the widget does not show.
void CheckWidget(QWidget* w, const Control& c, const std::function<void(const char*)>& fault) {
    if (w->toolTip() != Text(c.tooltip)) fault("tooltip");
    if (w->isEnabled() != c.enabled) fault("enabled");
    if (w->isHidden() == c.visible) fault("visible");
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // A picture label keeps its picture while its caption is empty.
        if ((!c.caption.empty() || label->pixmap().isNull()) && label->text() != Text(c.caption))
            fault("caption");
        if (label->font().bold() != c.bold) fault("bold");
        if (label->textFormat() != Qt::PlainText) fault("markup");
        for (const auto& [color, role] : {std::pair{c.foreColor, QPalette::WindowText},
                                          std::pair{c.backColor, QPalette::Window}}) {
            if (color.kind == Color::Kind::Rgb &&
                label->palette().color(role) != QColor(color.r, color.g, color.b))
                fault("colour");
        }
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        if (box->isChecked() != (c.value == 1)) fault("check value");
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
        QStringList items, shown;
        for (const auto& item : c.items) items << Text(item);
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        if (shown != items || list->currentIndex() != c.selection) fault("list");
    } else if (auto* edit = qobject_cast<QLineEdit*>(w);
               qobject_cast<QPushButton*>(w) || (edit && edit->hasFrame())) {
        // A button or a framed field shows the caption as its text.
        if (w->property("text").toString() != Text(c.caption)) fault("caption");
    }
}

}  // namespace

QString ScreenFaults(FrontEnd* frontEnd, int* screens) {
    std::map<const ScreenModel*, std::set<std::string>> covered;
    QString faults;
    const auto fault = [&](const ScreenModel& m, const std::string& name, const char* what) {
        faults += QString::fromStdString(m.name() + "." + name) + ": " + what + "\n";
    };
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<ScreenWindow*>(widget);
        if (window == nullptr) continue;
        const ScreenModel& model = window->model();
        auto& names = covered[&model];
        // Only a window on screen is kept up to date.
        const bool shown = window->isVisible();
        if (shown && window->windowTitle() != Text(model.caption)) fault(model, "#", "caption");
        for (const std::string& name : window->Drawn()) {
            names.insert(name);
            // "#" names the front-end's own widgets, such as a caption beside a list.
            if (name.front() == '#') continue;
            if (!model.has(name)) {
                fault(model, name, "drawn, not in model");
            } else if (auto* w = window->findChild<QWidget*>(QString::fromStdString(name));
                       w != nullptr && shown) {
                CheckWidget(w, model.control(name),
                            [&](const char* what) { fault(model, name, what); });
            }
        }
        names.insert(window->notDrawn().begin(), window->notDrawn().end());
    }
    if (TrayView* tray = frontEnd ? frontEnd->tray() : nullptr; tray && frontEnd->mainWindow()) {
        const ScreenModel& model = frontEnd->mainWindow()->model();
        for (const std::string& name : tray->Drawn()) {
            covered[&model].insert(name);
            auto* item = tray->menu().findChild<QAction*>(QString::fromStdString(name));
            if (item == nullptr || !model.has(name)) continue;
            const Control& c = model.control(name);
            // A hidden action reads as disabled.
            if (item->text() != Text(c.caption) || item->isVisible() != c.visible ||
                (c.visible && item->isEnabled() != c.enabled))
                fault(model, name, "menu item");
        }
    }
    for (const auto& [model, names] : covered) {
        for (const auto& [name, control] : model->controls())
            if (names.count(name) == 0) fault(*model, name, "neither drawn nor declared not drawn");
    }
    if (screens != nullptr) *screens = static_cast<int>(covered.size());
    return faults;
}

}  // namespace vespar::qt
