#include "screen_check.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <map>
#include <set>
#include <string>

#include "qt/front_end.h"

namespace vespar::qt {

QString UndrawnControls(FrontEnd& frontEnd, int& screens) {
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
        for (const std::string& name : window->Drawn()) {
            // "#" names the front-end's own widgets, such as a caption beside a list.
            if (name.front() != '#' && !model.has(name)) fault(model, name, "drawn, not in model");
            names.insert(name);
        }
        names.insert(window->notDrawn().begin(), window->notDrawn().end());
    }
    if (TrayView* tray = frontEnd.tray(); tray != nullptr && frontEnd.mainWindow() != nullptr) {
        const auto drawn = tray->Drawn();
        covered[&frontEnd.mainWindow()->model()].insert(drawn.begin(), drawn.end());
    }
    for (const auto& [model, names] : covered) {
        for (const auto& [name, control] : model->controls()) {
            if (names.count(name) == 0) fault(*model, name, "neither drawn nor declared not drawn");
        }
    }
    screens = static_cast<int>(covered.size());
    return faults;
}

QString MisdrawnControls(ScreenWindow& window, FrontEnd* frontEnd) {
    QString faults;
    const ScreenModel& model = window.model();
    const auto check = [&](bool same, const std::string& name, const char* what) {
        if (!same) faults += QString::fromStdString(model.name() + "." + name) + ": " + what + "\n";
    };
    const auto text = [](const std::string& s) {
        return QString::fromLatin1(s.c_str()).replace("\r\n", "\n");
    };
    check(window.windowTitle() == text(model.caption), "#window", "caption");
    for (const std::string& name : window.Drawn()) {
        auto* w = window.findChild<QWidget*>(QString::fromStdString(name));
        if (name.front() == '#' || !model.has(name) || w == nullptr) continue;
        const Control& c = model.control(name);
        check(w->toolTip() == text(c.tooltip), name, "tooltip");
        check(w->isEnabled() == c.enabled, name, "enabled");
        check(w->isHidden() != c.visible, name, "visible");
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // A picture label keeps its picture while its caption is empty.
            if (!c.caption.empty() || label->pixmap().isNull())
                check(label->text() == text(c.caption), name, "caption");
            check(label->font().bold() == c.bold, name, "bold");
            const QPalette p = label->palette();
            for (const auto& [color, role] : {std::pair{c.foreColor, QPalette::WindowText},
                                              std::pair{c.backColor, QPalette::Window}}) {
                if (color.kind == Color::Kind::Rgb)
                    check(p.color(role) == QColor(color.r, color.g, color.b), name, "colour");
            }
        } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
            check(box->isChecked() == (c.value == 1), name, "check value");
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            check(button->text() == text(c.caption), name, "caption");
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            QStringList items;
            for (const auto& item : c.items) items << text(item);
            QStringList shown;
            for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
            check(shown == items && list->currentIndex() == c.selection, name, "list");
        } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->hasFrame()) {
            check(edit->text() == text(c.caption), name, "caption");
        }
    }
    if (TrayView* tray = frontEnd ? frontEnd->tray() : nullptr;
        tray && &window.model() == &frontEnd->mainWindow()->model()) {
        for (const std::string& name : tray->Drawn()) {
            auto* item = tray->menu().findChild<QAction*>(QString::fromStdString(name));
            if (item == nullptr || !model.has(name)) continue;
            const Control& c = model.control(name);
            // A hidden action reads as disabled.
            check(item->text() == text(c.caption) && item->isVisible() == c.visible &&
                      (!c.visible || item->isEnabled() == c.enabled),
                  name, "menu item");
        }
    }
    return faults;
}

}  // namespace vespar::qt
