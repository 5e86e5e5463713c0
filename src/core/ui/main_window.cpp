#include "ui/main_window.h"

namespace vespar {

MainWindowScreen::MainWindowScreen() : ScreenModel("VesparMain") {
    caption = "Vespar";
    control("TestS").caption = "&Test";
    control("NetCon");
    control("Config").caption = "&Configure";
    Control& update = control("Update");
    update.caption = "&Update";
    update.tooltip = "Check the Karvell web site for the latest version of Vespar";
    control("Reset").caption = "&Reset";
    control("About").caption = "&About";
    control("Exit").caption = "&Exit";
    control("Logo");
    control("Park");
    control("DLLoad");
    control("Title");
    control("Counter");
    control("CPULoad");

    // Popup menu, in its order; separators have no caption.
    control("mPopUpAbout").caption = "About Vespar";
    control("mPopUpLine1");
    Control& cancel = control("mPopUpCancel");
    cancel.caption = "Cancel";
    cancel.visible = false;
    Control& config = control("mPopUpConfig");
    config.caption = "Configure";
    config.enabled = false;
    control("mPopUpMin").caption = "Minimise";
    control("mPopUpReset").caption = "Reset";
    control("mPopUpRestore").caption = "Restore";
    Control& test = control("mPopUpTest");
    test.caption = "Test";
    test.enabled = false;
    control("mPopUpUpdate").caption = "Update";
    control("mPopUpLine2");
    control("mPopUpExit").caption = "Close Vespar";
}

}  // namespace vespar
