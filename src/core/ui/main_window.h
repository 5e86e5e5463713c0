#pragma once

#include <string>
#include <vector>

#include "ui/control_model.h"

namespace vespar {

// The picture the tray icon shows.
enum class TrayIcon { Window, Activity, Activate, Shutdown };

// The window's system menu as the platform creates it; an empty text is a separator.
inline const std::vector<std::string> kDefaultSystemMenu = {"Restore",  "Move", "Size", "Minimise",
                                                            "Maximise", "",     "Close"};

// The controls of VesparMain and its popup menu, with their initial captions and state, and
// the window state the front-end draws beyond the controls.
class MainWindowScreen : public ScreenModel {
  public:
    MainWindowScreen();

    // MenuPopUp's items in their order; the mPopUpLine items are separators.
    static std::vector<std::string> PopupItems();
    static bool IsSeparator(const std::string& item) { return item.rfind("mPopUpLine", 0) == 0; }

    // The items of the window's system menu; without "Close" the close button is refused.
    std::vector<std::string> systemMenu = kDefaultSystemMenu;
    bool closeItemShown() const { return !systemMenu.empty() && systemMenu.back() == "Close"; }

    // Tray icon picture and tip; whether the icon is shown is Runtime::trayIconShown.
    TrayIcon trayIcon = TrayIcon::Window;
    std::string trayTip;

    // One-shot requests: the front-end carries each out and clears it.
    bool centreRequested = false;      // move the window to the centre of the screen
    bool focusParkRequested = false;   // give the keyboard focus to Park
    bool foregroundRequested = false;  // bring the window and the process to the foreground
    bool popupRequested = false;       // open MenuPopUp as a popup menu at the mouse
};

}  // namespace vespar
