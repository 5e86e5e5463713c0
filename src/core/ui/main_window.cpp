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
    {main_window::kTestS, "&Test", false, true},
    {main_window::kNetCon, "", true, true},
    {main_window::kConfig, "&Configure", true, true},
    {main_window::kUpdate, "&Update", true, true},
    {main_window::kShutdownIcon, "", true, false},
    {main_window::kActivityIcon, "", true, false},
    {main_window::kActivateIcon, "", true, false},
    {main_window::kReset, "&Reset", true, true},
    {main_window::kAbout, "&About", true, true},
    {main_window::kExit, "&Exit", false, true},
    {main_window::kLogo, "", true, true},
    {main_window::kPark, "", true, true},
    {main_window::kDLLoad, "", true, true},
    {main_window::kTitle, "", true, true},
    {main_window::kCounter, "", true, true},
    {main_window::kCPULoad, "", true, true},
};

// The popup menu exists only as a popup; its items in their order, separators without a
// caption. The window starts in its normal state, which offers Minimise rather than Restore.
constexpr Declared kPopup[] = {
    {main_window::kMenuPopUp, "Vespar", true, false},
    {main_window::kMPopUpAbout, "About Vespar", true, true},
    {"mPopUpLine1", "", true, true},
    {main_window::kMPopUpCancel, "Cancel", true, false},
    {main_window::kMPopUpConfig, "Configure", false, true},
    {main_window::kMPopUpMin, "Minimise", true, true},
    {main_window::kMPopUpReset, "Reset", true, true},
    {main_window::kMPopUpRestore, "Restore", true, false},
    {main_window::kMPopUpTest, "Test", false, true},
    {main_window::kMPopUpUpdate, "Update", true, true},
    {"mPopUpLine2", "", true, true},
    {main_window::kMPopUpExit, "Close Vespar", false, true},
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
    control(main_window::kUpdate).tooltip =
        "Check the Karvell web site for the latest version of Vespar";
}

}  // namespace vespar
