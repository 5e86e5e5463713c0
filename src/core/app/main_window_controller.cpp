#include "app/main_window_controller.h"

#include <utility>

#include "base/dates.h"
#include "base/numbers.h"
#include "log/log_entry.h"
#include "ui/web_site.h"

namespace vespar {

std::string TimeOfDayText(int hhmm) {
    const std::string four = "0000" + std::to_string(hhmm);
    const std::string two = "0" + std::to_string(hhmm);
    return four.substr(four.size() - 4, 2) + ":" + two.substr(two.size() - 2);
}

MainWindowController::MainWindowController(Context& ctx, MainWindowScreen& main, Timer& refresh,
                                           EngineState& engine, std::function<bool()> entitled,
                                           UpdateWindow& update, UrlOpener& opener)
    : ctx_(ctx),
      rt_(ctx.rt),
      main_(main),
      refresh_(refresh),
      engine_(engine),
      entitled_(std::move(entitled)),
      update_(update),
      opener_(opener),
      about_(ctx, opener, [this] { EnableControls(); }) {
    OnEnabledClick(main_window::kAbout, [this] { AboutClick(); });
    OnEnabledClick(main_window::kConfig, [this] { ConfigClick(); });
    OnEnabledClick(main_window::kUpdate, [this] { UpdateClick(); });
    main_.OnClick(main_window::kLogo, [this] { LaunchWebSite(ctx_, opener_, ""); });

    OnEnabledClick(main_window::kMPopUpAbout, [this] { AboutClick(); });
    OnEnabledClick(main_window::kMPopUpCancel, [this] { main_.Click(main_window::kReset); });
    OnEnabledClick(main_window::kMPopUpReset, [this] { main_.Click(main_window::kReset); });
    OnEnabledClick(main_window::kMPopUpConfig, [this] { ConfigClick(); });
    OnEnabledClick(main_window::kMPopUpMin, [this] { Minimise(); });
    OnEnabledClick(main_window::kMPopUpRestore, [this] {
        ShowMainWindow();
        rt_.minimiseToggled = false;
        ApplyMinimiseToggledRule();
    });
    OnEnabledClick(main_window::kMPopUpTest, [this] { main_.Click(main_window::kTestS); });
    OnEnabledClick(main_window::kMPopUpUpdate, [this] { UpdateClick(); });
}

void MainWindowController::OnEnabledClick(const std::string& name, std::function<void()> handler) {
    // A disabled control delivers no click, whoever raises it.
    main_.OnClick(name, [this, name, handler = std::move(handler)] {
        if (main_.control(name).enabled) handler();
    });
}

float MainWindowController::ComputeLongestDelay(const Configuration& c, const EngineState& e,
                                                int cmdSwitch) {
    float longest = 0;
    if (c.Key_On == 2 && e.keyIdleLimit > longest) longest = e.keyIdleLimit;
    if (c.CPU_On == 2 && e.cpuIdleLimit > longest) longest = e.cpuIdleLimit;
    if (c.DL_On == 2 && e.dlIdleLimit > longest) longest = e.dlIdleLimit;
    if (c.CMain == 2 && e.commsLostLimit > longest) longest = e.commsLostLimit;
    if (cmdSwitch == 3) {
        if (c.CMain == 1) longest = 600;
        if (c.CMain == 2) longest = 60;
    }
    return longest;
}

std::string MainWindowController::StatusLine(const Configuration& c,
                                             const std::string& shutTypeName, float longestDelay,
                                             int delayLimit) {
    const bool anyCheck = c.Key_On == 2 || c.CPU_On == 2 || c.DL_On == 2;
    const bool noCheck = c.Key_On == 1 && c.CPU_On == 1 && c.DL_On == 1;
    const bool monitor = c.ShutType == 4;
    const bool stop = c.Stop_On == 2;
    const bool delay = c.Del_On == 2;
    const std::string d = NumberText(longestDelay);

    std::string t = shutTypeName;
    std::string reason = "is no activity";
    if (!monitor && noCheck && c.CMain == 2) reason = "are no communications";
    if (!monitor && (anyCheck || c.CMain == 2)) t += " if there " + reason + " for " + d + " sec";
    if (monitor && anyCheck) t += " until no activity for " + d + " sec";
    if (!monitor && stop) {
        if (anyCheck) t += " or at ";
        if (noCheck) t += " at ";
    }
    if (monitor && stop) {
        if (anyCheck) t += " or until ";
        if (noCheck) t = "On until ";
    }
    if (stop) t += TimeOfDayText(c.StopTime);
    if (delay && (stop || anyCheck)) t += " or";
    if (delay) t += (monitor ? " for " : " after ") + std::to_string(delayLimit) + "s";
    return t;
}

void MainWindowController::ShowStatus() {
    const Configuration& c = rt_.config;
    const bool blocked = rt_.unconfigured || rt_.portFailed;
    engine_.longestDelay = ComputeLongestDelay(c, engine_, rt_.cmdSwitch);

    const std::string& title = rt_.programTitle;
    main_.control(main_window::kReset).tooltip = "Reset " + title;
    main_.control(main_window::kExit).tooltip = "Close " + title;
    main_.control(main_window::kAbout).tooltip = "About " + title;
    main_.control(main_window::kConfig).tooltip = "Configure " + title;
    main_.control(main_window::kTestS).tooltip = "Enables/Restarts " + title + " Test Mode";
    main_.caption = title;

    Control& status = main_.control(main_window::kTitle);
    status.caption = StatusLine(c, rt_.shutTypeName, engine_.longestDelay, engine_.delayLimit);

    Control& counter = main_.control(main_window::kCounter);
    if (c.StartTime == 1) {
        counter.caption = "Program Activation In " + NumberText(rt_.stateSeconds) + "s";
    } else if (c.StartTime == 2) {
        counter.caption = "Program Activation At " + TimeOfDayText(c.StartDelay);
    }

    if (blocked) {
        counter.caption.clear();
        status.foreColor = kOrange;
        status.bold = true;
        status.caption = "Click Configure To Set Up Vespar";
        main_.control(main_window::kReset).enabled = false;
        main_.control(main_window::kTestS).enabled = false;
    } else {
        status.foreColor = Color::System(Color::Kind::ButtonText);
        status.bold = false;
    }

    if (rt_.autoMinimiseArmed && !blocked &&
        ((c.StartMin == 2 && !rt_.minimiseToggled) || (c.StartMin == 1 && rt_.minimiseToggled))) {
        Minimise();
    }
    rt_.autoMinimiseArmed = true;
    if (c.RunOnTop == 1) main_.topmost = false;
    if (!blocked) WriteLogEntry(ctx_, "Start", "Initialise");
    rt_.pendingMessage = "<QZA000>";
    refresh_.SetEnabled(true);
}

void MainWindowController::SetTrayState(const std::string& word) {
    if (word == "Activity") {
        main_.trayIcon = TrayIcon::Activity;
    } else if (word == "NoActivity") {
        main_.trayIcon = TrayIcon::Window;
    } else if (word == "Activate" || word == "Start") {
        main_.trayIcon = TrayIcon::Activate;
    } else if (word == "Shutdown") {
        main_.trayIcon = TrayIcon::Shutdown;
    }
    main_.trayTip = rt_.programTitle;
    rt_.trayState = word;
    if (word == "Start") rt_.trayIconShown = true;
}

void MainWindowController::TrayMouse(int message) {
    if (message == kTrayLeftDoubleClick) {
        ShowMainWindow();
        ApplyMinimiseToggledRule();
    } else if (message == kTrayRightButtonDown) {
        if (!rt_.minimiseToggled) main_.foregroundRequested = true;
        main_.popupRequested = true;
    }
}

bool MainWindowController::MinimiseToggledRule() const {
    const int startMin = rt_.config.StartMin;
    return (main_.minimised && startMin == 1) ||
           (!main_.minimised && startMin == 2 && rt_.monitorState != MonitorState::Shutdown);
}

void MainWindowController::ApplyMinimiseToggledRule() {
    rt_.minimiseToggled = MinimiseToggledRule();
}

void MainWindowController::WindowStateChanged(bool minimised) {
    main_.minimised = minimised;
    if (!minimised) main_.visible = true;
    ResizeHandling();
}

void MainWindowController::ResizeHandling() {
    if (!main_.minimised) {
        main_.control(main_window::kMPopUpRestore).visible = false;
        main_.control(main_window::kMPopUpMin).visible = true;
    } else {
        rt_.trayIconShown = true;
        main_.visible = false;
        main_.control(main_window::kMPopUpRestore).visible = true;
        main_.control(main_window::kMPopUpMin).visible = false;
    }
    // The warning brings the window up by itself; that is not the user's choice.
    const bool toggled = MinimiseToggledRule();
    if (toggled || rt_.monitorState != MonitorState::Shutdown) rt_.minimiseToggled = toggled;
}

void MainWindowController::Minimise() {
    if (main_.minimised) return;
    main_.minimised = true;
    ResizeHandling();
}

void MainWindowController::ShowMainWindow() {
    if (main_.minimised) {
        main_.minimised = false;
        main_.visible = true;
        ResizeHandling();
        if (rt_.centreOnShow) {
            main_.centreRequested = true;
            rt_.centreOnShow = false;
        }
        main_.focusParkRequested = true;
    }
    main_.topmost = rt_.config.RunOnTop == 2 || rt_.monitorState == MonitorState::Shutdown;
    main_.visible = true;
}

void MainWindowController::ShowCloseItem(bool keep) {
    if (keep) {
        main_.systemMenu = kDefaultSystemMenu;
        return;
    }
    // Only a menu that still ends with Close loses it and the separator above it.
    std::vector<std::string>& menu = main_.systemMenu;
    if (!main_.closeItemShown()) return;
    menu.pop_back();
    if (!menu.empty()) menu.pop_back();
}

void MainWindowController::DisableControls() {
    main_.control(main_window::kTestS).enabled = false;
    main_.control(main_window::kConfig).enabled = false;
    main_
        .control(rt_.monitorState == MonitorState::Shutdown ? main_window::kMPopUpCancel
                                                            : main_window::kReset)
        .enabled = false;
    for (const char* name :
         {main_window::kAbout, main_window::kMPopUpAbout, main_window::kMPopUpConfig,
          main_window::kMPopUpReset, main_window::kMPopUpTest}) {
        main_.control(name).enabled = false;
    }
}

void MainWindowController::EnableControls() {
    const bool entitled = entitled_();
    // Without a usable configuration only Configure stays open, as ShowStatus left it; a
    // running update check keeps its command closed until it ends.
    const bool blocked = rt_.unconfigured || rt_.portFailed;
    if (entitled && !blocked) main_.control(main_window::kTestS).enabled = true;
    main_.control(main_window::kConfig).enabled = true;
    if (rt_.monitorState == MonitorState::Shutdown) {
        main_.control(main_window::kMPopUpCancel).enabled = true;
    } else if (!blocked) {
        main_.control(main_window::kReset).enabled = true;
    }
    if (!rt_.updateBusy) {
        main_.control(main_window::kUpdate).enabled = true;
        main_.control(main_window::kMPopUpUpdate).enabled = true;
    }
    for (const char* name :
         {main_window::kAbout, main_window::kMPopUpAbout, main_window::kMPopUpConfig}) {
        main_.control(name).enabled = true;
    }
    if (!blocked) main_.control(main_window::kMPopUpReset).enabled = true;
    if (!blocked && entitled) main_.control(main_window::kMPopUpTest).enabled = true;
    if (!main_.minimised) main_.focusParkRequested = true;
}

void MainWindowController::DisableForTest() {
    for (const char* name :
         {main_window::kAbout, main_window::kConfig, main_window::kUpdate,
          main_window::kMPopUpAbout, main_window::kMPopUpConfig, main_window::kMPopUpUpdate}) {
        main_.control(name).enabled = false;
    }
}

void MainWindowController::CheckUpdateDue(bool automatic) {
    // One check at a time: until the running one ends, neither the daily time nor the user
    // starts another.
    if (rt_.updateBusy) return;
    // Due once the time has come, so a tick that skips that very second still starts it.
    if (automatic && SerialSeconds(ctx_.clock.now()) < SerialSeconds(rt_.updateCheckAt)) return;
    rt_.updateBusy = true;
    rt_.manualUpdate = !automatic;
    if (automatic) {
        update_.LoadHidden();
    } else {
        update_.Show();
    }
}

void MainWindowController::AboutClick() {
    DisableControls();
    about_.Open();
}

void MainWindowController::ConfigClick() {
    if (!openConfigScreen_) return;
    DisableControls();
    openConfigScreen_();
}

void MainWindowController::UpdateClick() { CheckUpdateDue(false); }

}  // namespace vespar
