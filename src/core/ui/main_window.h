#pragma once

#include <string>
#include <vector>

#include "ui/control_model.h"

namespace vespar {

// The names of the main window's controls and popup menu items, shared by its rules and the
// front-ends that draw them.
namespace main_window {
inline constexpr const char* kTitle = "Title";
inline constexpr const char* kCounter = "Counter";
inline constexpr const char* kCPULoad = "CPULoad";
inline constexpr const char* kDLLoad = "DLLoad";
inline constexpr const char* kLogo = "Logo";
inline constexpr const char* kNetCon = "NetCon";
inline constexpr const char* kPark = "Park";
inline constexpr const char* kTestS = "TestS";
inline constexpr const char* kConfig = "Config";
inline constexpr const char* kUpdate = "Update";
inline constexpr const char* kReset = "Reset";
inline constexpr const char* kAbout = "About";
inline constexpr const char* kExit = "Exit";
inline constexpr const char* kMenuPopUp = "MenuPopUp";
inline constexpr const char* kShutdownIcon = "ShutdownIcon";
inline constexpr const char* kActivityIcon = "ActivityIcon";
inline constexpr const char* kActivateIcon = "ActivateIcon";
inline constexpr const char* kMPopUpAbout = "mPopUpAbout";
inline constexpr const char* kMPopUpCancel = "mPopUpCancel";
inline constexpr const char* kMPopUpConfig = "mPopUpConfig";
inline constexpr const char* kMPopUpMin = "mPopUpMin";
inline constexpr const char* kMPopUpReset = "mPopUpReset";
inline constexpr const char* kMPopUpRestore = "mPopUpRestore";
inline constexpr const char* kMPopUpTest = "mPopUpTest";
inline constexpr const char* kMPopUpUpdate = "mPopUpUpdate";
inline constexpr const char* kMPopUpExit = "mPopUpExit";
}  // namespace main_window

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

    // Whether the window belongs on screen: minimised it goes to the tray, or stays on the
    // task bar where there is no tray.
    bool OnScreen(bool trayAvailable) const { return minimised ? !trayAvailable : visible; }

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
