#include "ui/main_window.h"

namespace vespar {

namespace {

struct Declared {
    const char* name;
    const char* caption;
    bool enabled;
    bool visible;
};

// The controls in their order. The commands of entitled users wait for the engine's
// initialisation to open them; the three icons are pictures only the tray shows.
constexpr Declared kControls[] = {
    {"TestS", "&Test", false, true},
    {"NetCon", "", true, true},
    {"Config", "&Configure", true, true},
    {"Update", "&Update", true, true},
    {"ShutdownIcon", "", true, false},
    {"ActivityIcon", "", true, false},
    {"ActivateIcon", "", true, false},
    {"Reset", "&Reset", true, true},
    {"About", "&About", true, true},
    {"Exit", "&Exit", false, true},
    {"Logo", "", true, true},
    {"Park", "", true, true},
    {"DLLoad", "", true, true},
    {"Title", "", true, true},
    {"Counter", "", true, true},
    {"CPULoad", "", true, true},
};

// The popup menu exists only as a popup; its items in their order, separators without a
// caption. The window starts in its normal state, which offers Minimise rather than Restore.
constexpr Declared kPopup[] = {
    {"MenuPopUp", "Vespar", true, false},
    {"mPopUpAbout", "About Vespar", true, true},
    {"mPopUpLine1", "", true, true},
    {"mPopUpCancel", "Cancel", true, false},
    {"mPopUpConfig", "Configure", false, true},
    {"mPopUpMin", "Minimise", true, true},
    {"mPopUpReset", "Reset", true, true},
    {"mPopUpRestore", "Restore", true, false},
    {"mPopUpTest", "Test", false, true},
    {"mPopUpUpdate", "Update", true, true},
    {"mPopUpLine2", "", true, true},
    {"mPopUpExit", "Close Vespar", false, true},
};

}  // namespace

std::vector<std::string> MainWindowScreen::PopupItems() {
    std::vector<std::string> items;
    for (const Declared& d : kPopup) {
        if (std::string(d.name) != "MenuPopUp") items.emplace_back(d.name);
    }
    return items;
}

MainWindowScreen::MainWindowScreen() : ScreenModel("VesparMain") {
    caption = "Vespar";
    const auto declare = [this](const Declared& d) {
        Control& c = control(d.name);
        c.caption = d.caption;
        c.enabled = d.enabled;
        c.visible = d.visible;
    };
    for (const Declared& d : kControls) declare(d);
    for (const Declared& d : kPopup) declare(d);
    control("Update").tooltip = "Check the Karvell web site for the latest version of Vespar";
}

}  // namespace vespar
