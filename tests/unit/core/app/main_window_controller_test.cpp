#include "app/main_window_controller.h"

#include <filesystem>
#include <functional>
#include <tuple>

#include "base/dates.h"
#include "program_fixture.h"
#include "ui/web_site.h"

namespace vespar::test {

namespace {

// Settings for the status line: every check off, stop time 22:30 and fixed delay both off.
Configuration Plain() {
    Configuration c;
    c.ShutType = c.CMain = c.CPU_On = c.Key_On = c.DL_On = c.Stop_On = c.Del_On = 1;
    c.StopTime = 2230;
    return c;
}

}  // namespace

TEST(StatusLineTest, ExamplesMonitorAndSlaveVariants) {
    // The change to the plain settings, the longest delay, the delay limit and the line.
    const std::tuple<std::function<void(Configuration&)>, float, int, const char*> cases[] = {
        {[](auto& c) { c.CPU_On = 2; }, 300, 3600, "Power Off if there is no activity for 300 sec"},
        {[](auto& c) { c.CPU_On = c.Stop_On = c.Del_On = 2; }, 300, 3600,
         "Power Off if there is no activity for 300 sec or at 22:30 or after 3600s"},
        {[](auto& c) { c.ShutType = 4, c.Stop_On = 2; }, 0, 3600, "On until 22:30"},
        {[](auto& c) { c.ShutType = 4, c.Stop_On = c.Del_On = 2; }, 0, 3600,
         "On until 22:30 or for 3600s"},
        {[](auto& c) { c.ShutType = 4, c.Del_On = 2; }, 0, 3600, "Monitor for 3600s"},
        {[](auto& c) { c.ShutType = 4, c.Key_On = c.Stop_On = c.Del_On = 2, c.StopTime = 805; },
         120, 60, "Monitor until no activity for 120 sec or until 08:05 or for 60s"},
        {[](auto& c) { c.CMain = 2; }, 60, 3600,
         "Power Off if there are no communications for 60 sec"},
        {[](auto& c) { c.CMain = c.DL_On = 2; }, 90, 3600,
         "Power Off if there is no activity for 90 sec"},
        // A slave of type Monitor without a check has nothing to wait for but its master.
        {[](auto& c) { c.CMain = 2, c.ShutType = 4; }, 60, 3600, "Monitor"},
        // Only a stop time, or only a delay, on a closing type.
        {[](auto& c) { c.ShutType = c.Stop_On = 2, c.StopTime = 5; }, 0, 3600, "Reboot at 00:05"},
        {[](auto& c) { c.ShutType = c.Del_On = 2; }, 0, 7, "Reboot after 7s"},
    };
    for (const auto& [change, longest, delayLimit, line] : cases) {
        Configuration c = Plain();
        change(c);
        EXPECT_EQ(
            MainWindowController::StatusLine(c, ShutTypeNameOf(c.ShutType), longest, delayLimit),
            line);
    }
}

TEST(StatusLineTest, LongestDelayTakesTheEnabledChecksOnly) {
    EngineState e;
    e.keyIdleLimit = 100, e.dlIdleLimit = 200, e.cpuIdleLimit = 300, e.commsLostLimit = 400;
    // The change to the plain settings, the command line switch and the longest delay.
    // clang-format off
    const std::tuple<std::function<void(Configuration&)>, int, float> cases[] = {
        {[](auto&) {}, 0, 0}, {[](auto& c) { c.Key_On = 2; }, 0, 100},
        {[](auto& c) { c.Key_On = c.DL_On = 2; }, 0, 200},
        {[](auto& c) { c.Key_On = c.DL_On = c.CPU_On = 2; }, 0, 300},
        {[](auto& c) { c.DL_On = c.CMain = 2; }, 0, 400},
        {[](auto& c) { c.DL_On = c.CMain = 2; }, 3, 60}, {[](auto& c) { c.DL_On = 2; }, 3, 600}};
    // clang-format on
    for (const auto& [change, cmdSwitch, longest] : cases) {
        Configuration c = Plain();
        change(c);
        EXPECT_EQ(MainWindowController::ComputeLongestDelay(c, e, cmdSwitch), longest);
    }
}

TEST_F(EngineTest, ShowStatusTextsTimerAndStartEntry) {
    rt.programTitle = "Vespar Slave";
    rt.config.CMain = 2;
    rt.config.Key_On = 1;
    rt.config.ComDelay = 45;
    rt.autoMinimiseArmed = false;  // as a reset leaves it
    Start();
    std::string tips;
    for (const char* name : {"Reset", "Exit", "About", "Config", "TestS"})
        tips += control(name).tooltip + "; ";
    EXPECT_EQ(tips,
              "Reset Vespar Slave; Close Vespar Slave; About Vespar Slave; Configure Vespar "
              "Slave; Enables/Restarts Vespar Slave Test Mode; ");
    EXPECT_EQ(control("Title").caption, "Power Off if there is no activity for 45 sec");
    EXPECT_EQ(control("Title").foreColor, Color::System(Color::Kind::ButtonText));
    EXPECT_FALSE(control("Title").bold);
    EXPECT_EQ(control("Counter").caption, "Program Activation In 3s");
    EXPECT_EQ(rt.pendingMessage, "<QZA000>");
    EXPECT_TRUE(rt.autoMinimiseArmed);  // the next restart may minimise again
    EXPECT_EQ(LogCount("Start", "Initialise"), 1);

    // Activation at a fixed time counts whole minutes, or one second once the time has
    // passed; the window leaves the topmost level when it should not stay there.
    rt.config.StartTime = 2;
    rt.config.StartDelay = 805;
    clock.Set(LocalTime{2026, 12, 6, 8, 4, 50});
    main.topmost = true;
    Start();
    EXPECT_EQ(control("Counter").caption, "Program Activation At 08:05");
    EXPECT_EQ(rt.stateSeconds, 60);
    EXPECT_FALSE(main.topmost);
    rt.config.StartDelay = 700;
    engine.InitialiseMonitor();
    EXPECT_EQ(rt.stateSeconds, 1);
}

TEST_F(EngineTest, UnusableConfigurationAsksForSetUpAndWritesNoStartEntry) {
    rt.config.UserExitA = 2;
    rt.config.StartMin = 2;
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(which);
        rt.unconfigured = which == 0;
        rt.portFailed = which == 1;
        MarkLog();
        Start();
        EXPECT_FALSE(Logged("Start", "Initialise"));
        EXPECT_EQ(control("Title").caption, "Click Configure To Set Up Vespar");
        EXPECT_EQ(control("Title").foreColor, kOrange);
        EXPECT_TRUE(control("Title").bold);
        EXPECT_EQ(control("Counter").caption, "");
        EXPECT_FALSE(main.minimised);  // it stays up to be configured

        EXPECT_FALSE(Enabled("Reset"));
        EXPECT_FALSE(Enabled("TestS"));
        // Closing the About screen leaves Reset and Test closed.
        main.Click("About");
        window.about().Close();
        EXPECT_EQ(EnabledCommands(), "all but Reset TestS mReset mTest");
    }
}

TEST_F(EngineTest, TrayStatesAndMouse) {
    rt.programTitle = "Vespar";
    rt.trayIconShown = false;  // "Start" brings it
    // An unknown state keeps the icon.
    const std::pair<const char*, TrayIcon> states[] = {
        {"Start", TrayIcon::Activate},    {"Shutdown", TrayIcon::Shutdown},
        {"Bogus", TrayIcon::Shutdown},    {"NoActivity", TrayIcon::Window},
        {"Activity", TrayIcon::Activity}, {"Activate", TrayIcon::Activate}};
    for (const auto& [state, icon] : states) {
        window.SetTrayState(state);
        EXPECT_EQ(main.trayIcon, icon) << state;
    }
    EXPECT_TRUE(rt.trayIconShown);
    EXPECT_EQ(main.trayTip, "Vespar");
    EXPECT_EQ(rt.trayState, "Activate");

    // Modifying never brings back a removed icon.
    rt.trayIconShown = false;
    window.SetTrayState("Activity");
    EXPECT_FALSE(rt.trayIconShown);

    // A right click opens the popup, and brings the window forward unless the user toggled it.
    for (const bool toggled : {false, true}) {
        main.popupRequested = main.foregroundRequested = false;
        rt.minimiseToggled = toggled;
        window.TrayMouse(kTrayRightButtonDown);
        EXPECT_TRUE(main.popupRequested);
        EXPECT_EQ(main.foregroundRequested, !toggled);
    }
}

TEST_F(EngineTest, StartMinimisedCentresOnTheFirstRestoreAndTheUsersChoiceSurvives) {
    rt.config.StartMin = 2;
    rt.centreOnShow = true;
    Start();
    EXPECT_EQ(Look(), "minimised hidden +Restore");
    window.TrayMouse(kTrayLeftDoubleClick);
    EXPECT_EQ(Look(), "restored visible +Min toggled");
    EXPECT_TRUE(main.centreRequested);
    EXPECT_TRUE(main.focusParkRequested);
    main.centreRequested = false;

    main.Click("mPopUpMin");
    EXPECT_EQ(Look(), "minimised hidden +Restore");
    window.TrayMouse(kTrayLeftDoubleClick);
    // Restoring from the menu: the same rule; a window kept on top comes back on top.
    rt.config.RunOnTop = 2;
    main.Click("mPopUpMin");
    main.Click("mPopUpRestore");
    EXPECT_EQ(Look(), "restored visible +Min toggled");
    EXPECT_FALSE(main.centreRequested);
    EXPECT_TRUE(main.topmost);

    // Restored by the user: the window stays up, also when the engine restart is armed to
    // minimise.
    rt.autoMinimiseArmed = true;
    Start();
    EXPECT_EQ(Look(), "restored visible +Min toggled");

    main.Click("mPopUpMin");
    // StartMin 1 and the user minimised: the warning brings the window up, the resize
    // during Shutdown keeps the user's choice, and after Cancel it is minimised again.
    rt.config.StartMin = 1;
    window.TrayMouse(kTrayLeftDoubleClick);
    window.WindowStateChanged(true);
    Start();
    EXPECT_EQ(Look(), "minimised hidden +Restore toggled");
    ASSERT_TRUE(RunUntilState(MonitorState::Shutdown));
    main.Click("mPopUpCancel");
    EXPECT_EQ(rt.monitorState, MonitorState::Initialise);
    EXPECT_EQ(Look(), "minimised hidden +Restore toggled");

    // The plain rule, outside the resize handling, does clear it during Shutdown.
    rt.config.StartMin = 2;
    window.ShowMainWindow();
    rt.monitorState = MonitorState::Shutdown;
    window.ApplyMinimiseToggledRule();
    EXPECT_FALSE(rt.minimiseToggled);
}

TEST_F(EngineTest, NonEntitledUserGetsNoCloseItemAndNoExitAndCloseGoesOnlyOnce) {
    sys.groups.answer = false;
    engine.InitialiseMonitor();
    EXPECT_EQ(EnabledCommands(), "all but TestS Exit mTest mConfig mExit");
    // Close goes with its separator, once: the menu no longer ends with it.
    window.ShowCloseItem(false);
    EXPECT_EQ(main.systemMenu,
              (std::vector<std::string>{"Restore", "Move", "Size", "Minimise", "Maximise"}));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Log" / "Vespar.log"));

    // After the About screen, Configure is open again, but neither Exit nor Test.
    main.Click("mPopUpAbout");
    window.about().Close();
    EXPECT_EQ(EnabledCommands(), "all but TestS Exit mTest mExit");

    // Entitled again: Close comes back once, with its separator.
    rt.config.UserExitA = 2;
    engine.InitialiseMonitor();
    EXPECT_EQ(main.systemMenu, kDefaultSystemMenu);
    EXPECT_EQ(EnabledCommands(), "all");
    EXPECT_EQ(control("Counter").foreColor, kBlue);
    EXPECT_EQ(control("CPULoad").backColor, Color::System(Color::Kind::ButtonFace));
    // A menu the platform built differently loses Close and the item above it.
    main.systemMenu = {"Move", "Close"};
    window.ShowCloseItem(false);
    EXPECT_TRUE(main.systemMenu.empty());
}

TEST_F(EngineTest, ChildScreensCloseTheCommandsAndDisabledOnesDoNothing) {
    rt.config.UserExitA = 2;
    Start();
    main.Click("About");
    EXPECT_EQ(EnabledCommands(), "Update Exit mUpdate mExit mMin mRestore");
    window.about().Click("ExitAbout");
    EXPECT_EQ(EnabledCommands(), "all");
    EXPECT_TRUE(main.focusParkRequested);

    int configOpened = 0;
    window.SetConfigScreenOpener([&] { ++configOpened; });
    main.Click("mPopUpConfig");
    EXPECT_EQ(EnabledCommands(), "Update Exit mUpdate mExit mMin mRestore");
    main.Click("mPopUpConfig");
    main.Click("Config");
    EXPECT_EQ(configOpened, 1);
    window.EnableControls();
    main.Click("Config");
    EXPECT_EQ(configOpened, 2);
    window.EnableControls();

    // Reset through the menu is the engine's Reset.
    const int resets = LogCount("Reset", "Initialise");
    main.Click("mPopUpReset");
    EXPECT_EQ(LogCount("Reset", "Initialise"), resets + 1);

    // The logo opens the home page.
    main.Click("Logo");
    EXPECT_EQ(sys.urlOpener.opened, std::vector<std::string>{kWebSiteBase});
}

TEST_F(EngineTest, UpdateCheckIsDueOnceTheTimeHasCome) {
    const LocalTime at{2026, 12, 6, 12, 0, 10};
    rt.updateCheckAt = at;
    clock.Set(AddSeconds(at, -1));
    window.CheckUpdateDue(true);
    EXPECT_FALSE(rt.updateBusy);

    // The tick skipped the very second: the check still starts, hidden, and until it ends
    // the user starts none.
    clock.Set(AddSeconds(at, 1));
    window.CheckUpdateDue(true);
    EXPECT_TRUE(rt.updateBusy);
    EXPECT_FALSE(rt.manualUpdate);
    EXPECT_FALSE(program.updater().visible);
    main.Click("mPopUpUpdate");
    EXPECT_FALSE(rt.manualUpdate);

    // The window ended and moved the time on: the next one waits for it.
    rt.updateBusy = false;
    rt.updateCheckAt = AddSeconds(at, 24 * 3600);
    window.CheckUpdateDue(true);
    EXPECT_FALSE(rt.updateBusy);

    // The user's own check shows the window at any time; the button is the same.
    main.Click("mPopUpUpdate");
    EXPECT_TRUE(program.updater().visible);
    EXPECT_TRUE(rt.manualUpdate);
    // Closing a child screen meanwhile leaves Update closed until the check ends.
    main.control("Update").enabled = false;
    main.control("mPopUpUpdate").enabled = false;
    window.EnableControls();
    EXPECT_EQ(EnabledCommands(), "all but Update Exit mUpdate mExit");
}

}  // namespace vespar::test
