#include "ui/main_window.h"

namespace vespar {

MainWindowScreen::MainWindowScreen() : ScreenModel("VesparMain") {
    caption = "Vespar";
    // The commands of entitled users wait for the engine's initialisation to open them.
    Control& testS = control("TestS");
    testS.caption = "&Test";
    testS.enabled = false;
    control("NetCon");
    control("Config").caption = "&Configure";
    Control& update = control("Update");
    update.caption = "&Update";
    update.tooltip = "Check the Karvell web site for the latest version of Vespar";
    for (const char* icon : {"ShutdownIcon", "ActivityIcon", "ActivateIcon"}) {
        control(icon).visible = false;
    }
    control("Reset").caption = "&Reset";
    control("About").caption = "&About";
    Control& exit = control("Exit");
    exit.caption = "&Exit";
    exit.enabled = false;
    control("Logo");
    control("Park");
    control("DLLoad");
    control("Title");
    control("Counter");
    control("CPULoad");

    // The popup menu exists only as a popup; its items in their order, separators without
    // a caption.
    Control& menu = control("MenuPopUp");
    menu.caption = "Vespar";
    menu.visible = false;
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
    // The window starts in its normal state, which offers Minimise rather than Restore.
    Control& restore = control("mPopUpRestore");
    restore.caption = "Restore";
    restore.visible = false;
    Control& test = control("mPopUpTest");
    test.caption = "Test";
    test.enabled = false;
    control("mPopUpUpdate").caption = "Update";
    control("mPopUpLine2");
    Control& exitItem = control("mPopUpExit");
    exitItem.caption = "Close Vespar";
    exitItem.enabled = false;
}

}  // namespace vespar
