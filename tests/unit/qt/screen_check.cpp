#include "screen_check.h"

#include <QApplication>
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

}  // namespace vespar::qt
