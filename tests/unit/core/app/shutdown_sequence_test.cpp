#include <algorithm>

#include "base/system_error.h"
#include "engine_fixture.h"

namespace vespar::test {

TEST_F(EngineTest, ARefusedHibernateCountsAsMadeAndMonitoringGoesOn) {
    fh.rt.config.ShutType = 5;
    fh.rt.config.NoWarn = 2;
    power.tokenOk = false;
    EnterShutdown();
    EXPECT_NO_THROW(engine.ShutdownTick());
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Initialise);
    const auto log = Log();
    // The reason follows the entry as free text, before the restart.
    const auto refused = std::find(log.begin(), log.end(), LogPair("Refused", "Hibernate"));
    const auto restart = std::find(refused, log.end(), LogPair("Restart", "Hibernate"));
    ASSERT_NE(restart, log.end());
    std::string reason;
    for (auto line = refused + 1; line != restart; ++line)
        reason += line->second == "#text" ? line->first : "(entry)";
    EXPECT_NE(reason.find("privileges"), std::string::npos) << reason;
    EXPECT_EQ(reason.find("(entry)"), std::string::npos) << reason;
}

TEST(ShutTypeName, NamesEveryTypeAndNothingElse) {
    const char* names[] = {"",          "Power Off", "Reboot",  "Shutdown", "Monitor",
                           "Hibernate", "Standby",   "Log Off", ""};
    for (int type = 0; type <= 8; ++type) EXPECT_EQ(ShutTypeNameOf(type), names[type]) << type;
}

TEST_F(EngineTest, EveryShutTypeWithAndWithoutWarningAndForce) {
    struct Case {
        int type, force, noWarn;
        std::string exitCall;  // empty: no system call
    };
    const std::vector<Case> cases = {
        {1, 1, 1, "ExitSession 8 "}, {1, 2, 2, "ExitSession 12 "}, {2, 1, 2, "ExitSession 2 "},
        {2, 2, 1, "ExitSession 6 "}, {3, 1, 1, "ExitSession 1 "},  {3, 2, 1, "ExitSession 5 "},
        {7, 1, 2, "ExitSession 0 "}, {7, 2, 1, "ExitSession 4 "},  {4, 2, 1, ""},
        {5, 1, 1, "Suspend 1"},      {6, 2, 2, "Suspend 0"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.type * 100 + k.force * 10 + k.noWarn);
        power.calls.clear();
        fh.rt.config.ShutType = static_cast<std::int16_t>(k.type);
        fh.rt.config.ForceS = static_cast<std::int16_t>(k.force);
        fh.rt.config.NoWarn = static_cast<std::int16_t>(k.noWarn);
        fh.rt.trayIconShown = true;
        EnterShutdown();
        MarkLog();
        const std::string name = fh.rt.shutTypeName;
        const bool sleeps = k.type == 5 || k.type == 6;  // the program goes on after a sleep
        bool exited = false;
        int ticks = 0;
        try {
            while (fh.rt.monitorState == MonitorState::Shutdown && ticks++ < 20)
                engine.ShutdownTick();
        } catch (const ProgramExit& exit) {
            exited = true;
            EXPECT_EQ(exit.code, 0);
        }
        EXPECT_EQ(ticks, k.noWarn == 2 ? 1 : 6);
        EXPECT_EQ(exited, !sleeps);
        EXPECT_EQ(fh.rt.trayIconShown, sleeps);
        EXPECT_EQ(ExitCall().substr(0, k.exitCall.size()), k.exitCall);
        EXPECT_EQ(ExitCall().empty(), k.exitCall.empty());
        std::string start = k.noWarn == 2 ? "Silent" : "Start";
        if (k.force == 2) start += "(F)";
        if (k.type >= 4 && k.type <= 6) start = "Start";
        EXPECT_TRUE(Logged(start, name));
        const auto log = Log();
        ASSERT_GE(log.size(), 3u);
        if (k.type <= 4) {
            EXPECT_EQ(log.back(), LogPair("Close", name));
        }
        if (sleeps) {
            EXPECT_EQ(fh.rt.monitorState, MonitorState::Initialise);
            EXPECT_EQ(log[log.size() - 3], LogPair("Restart", name));
            EXPECT_EQ(log.back(), LogPair("---------", "----------"));
        }
    }
}

TEST_F(EngineTest, FixedDelayAndStopTimeForcePowerOffWithForcedFlags) {
    Configuration& c = fh.rt.config;
    c.CPU_On = c.Key_On = c.DL_On = 1;
    c.Del_On = c.NoWarn = 2;
    c.StartDelay = 1;
    Start();
    Seconds(2);
    EXPECT_EQ(Ctl("Counter").caption, "Active - Delay Time Left: 59s");
    EXPECT_EQ(Ctl("Counter").foreColor, kOrange);  // LongestDelay 0 is exceeded
    Seconds(58);
    EXPECT_THROW(Second(), ProgramExit);
    EXPECT_TRUE(Logged("Silent(F)", "Power Off"));
    EXPECT_EQ(ExitCall().rfind("ExitSession 12 ", 0), 0u);

    // The stop time is reached at its whole minute, whatever the seconds.
    c.Del_On = 1;
    c.Stop_On = 2;
    power.calls.clear();
    fh.clock.Set(LocalTime{2026, 12, 6, 21, 59, 56});
    Start();
    Seconds(3);
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);
    EXPECT_THROW(Second(), ProgramExit);
    EXPECT_EQ(ExitCall().rfind("ExitSession 12 ", 0), 0u);
}

TEST_F(EngineTest, OnlyEntitledUsersMayCancelTheWarningAndCancelRestarts) {
    host.admin = false;
    EnterShutdown();
    engine.ShutdownTick();
    EXPECT_FALSE(Enabled("Reset"));
    EXPECT_FALSE(Ctl("mPopUpCancel").visible);
    fh.rt.config.UserExitA = 2;  // every user entitled
    engine.ShutdownTick();
    EXPECT_TRUE(Ctl("mPopUpCancel").visible);

    host.admin = true;
    fh.rt.config.UserExitA = 1;
    fh.rt.config.StartMin = 2;
    Start();
    EXPECT_EQ(Look(), "minimised hidden +Restore");
    ASSERT_TRUE(RunUntilState(MonitorState::Shutdown));
    EXPECT_EQ(Look(), "restored visible +Min");
    EXPECT_TRUE(main.topmost);
    EXPECT_EQ(EnabledCommands(), "Reset mReset");
    EXPECT_EQ(Ctl("Reset").caption, "&Cancel");
    EXPECT_EQ(Ctl("Reset").tooltip, "Cancel Vespar Power Off");
    EXPECT_TRUE(Ctl("mPopUpCancel").visible);
    EXPECT_FALSE(Ctl("mPopUpReset").visible);

    // Cancel restarts the engine and, the warning not being the user's choice, sends the
    // window back to the tray.
    main.Click("mPopUpCancel");
    EXPECT_TRUE(Logged("Reset", "Power Off"));
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Initialise);
    EXPECT_EQ(Look(), "minimised hidden +Restore");
    EXPECT_FALSE(Ctl("Counter").bold);
    EXPECT_EQ(Ctl("Reset").caption, "&Reset");
    EXPECT_EQ(Ctl("Reset").tooltip, "Reset Vespar");
    EXPECT_TRUE(Ctl("mPopUpReset").visible);
    EXPECT_FALSE(Ctl("mPopUpCancel").visible);
    EXPECT_EQ(EnabledCommands(), "all");
    EXPECT_EQ(fh.rt.pendingMessage, "<QZC000>");
    EXPECT_EQ(host.calls.back(), "Send");
}

TEST_F(EngineTest, TestRunClosesAboutConfigureAndUpdateAndEndsInTimedMessage) {
    fh.rt.config.UserExitA = 2;
    for (int sw : {0, 0, 2}) {
        host.admin = fh.dialogs.shown.size() == 0;
        fh.rt.cmdSwitch = sw;
        fh.rt.config.StartMin = 1;
        Start();
        // Neither the test nor its end minimises the window.
        fh.rt.config.StartMin = 2;
        main.Click("mPopUpTest");
        EXPECT_EQ(main.caption, "Vespar - Test Mode");
        EXPECT_EQ(Ctl("Counter").caption, "Program Activation In 2s");
        EXPECT_EQ(fh.rt.pendingMessage, "<QZT000>");
        EXPECT_TRUE(Logged("Enter", "Test"));
        EXPECT_EQ(EnabledCommands(), "all but Config About Update mConfig mAbout mUpdate");
        MarkLog();
        const std::size_t before = fh.dialogs.shown.size();
        for (int i = 0; i < 12 && fh.dialogs.shown.size() == before; ++i) Second();
        ASSERT_EQ(fh.dialogs.shown.size(), before + 1);
        const MessageBox& box = fh.dialogs.shown.back();
        EXPECT_EQ(box.title, "Vespar Test");
        EXPECT_EQ(box.text, "Test Power Off");
        EXPECT_EQ(box.timeoutSeconds, sw > 0 ? 3 : host.admin ? 600 : 30);
        EXPECT_TRUE(Logged("Simulate", "Power Off"));
        EXPECT_EQ(ExitCall(), "");
        EXPECT_EQ(fh.rt.monitorState, MonitorState::Initialise);
        EXPECT_FALSE(fh.rt.testMode);
        EXPECT_EQ(EnabledCommands(), "all");
        EXPECT_FALSE(main.minimised);
    }
}

TEST_F(EngineTest, SwitchesSimulateTheActionAndShortenDelays) {
    fh.rt.cmdSwitch = 3;
    engine.InitialiseMonitor();
    const Configuration& c = fh.rt.config;
    EXPECT_EQ(c.CPUDelay, 6);
    EXPECT_EQ(c.DLDelay, 8);
    EXPECT_EQ(c.ShutTime, 5);
    fh.rt.cmdSwitch = 4;
    engine.InitialiseMonitor();
    EXPECT_EQ(c.ShutTime, 6);

    // A simulation never calls the power actions.
    fh.rt.cmdSwitch = 2;
    fh.rt.config.NoWarn = 2;
    EnterShutdown();
    EXPECT_THROW(engine.ShutdownTick(), ProgramExit);
    EXPECT_EQ(ExitCall(), "");
    ASSERT_EQ(fh.dialogs.shown.size(), 1u);
    EXPECT_EQ(fh.dialogs.shown[0].text, "Test Real Power Off");
    EXPECT_EQ(fh.dialogs.shown[0].title, "Vespar Simulate Power Off");
    EXPECT_TRUE(Logged("Simulate", "Power Off"));
    EXPECT_EQ(Log().back(), LogPair("Close", "Power Off"));
}

TEST_F(EngineTest, SlaveStartsShutdownWhenCommunicationsAreLost) {
    Configuration& c = fh.rt.config;
    c.CMain = 2;
    c.CPU_On = c.Key_On = c.DL_On = 1;
    c.StartDelay = 1;
    Start();
    Seconds(21);
    engine.state().noDatagramFlag = 0;  // a datagram arrived
    Second();
    EXPECT_EQ(Ctl("Counter").caption, "Activity");
    Seconds(29);
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);
    Second();
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Shutdown);
}

TEST_F(EngineTest, CountersFrozenWhileChildFormOpenAndFailedCpuIsActivity) {
    fh.rt.config.StartDelay = 1;
    Start();
    Seconds(3);
    EXPECT_EQ(Ctl("Counter").caption, "No activity for 2s");
    fh.rt.childFormOpen = true;
    Seconds(5);
    EXPECT_EQ(Ctl("Counter").caption, "No activity for 2s");
    fh.rt.childFormOpen = false;
    Second();
    EXPECT_EQ(Ctl("Counter").caption, "No activity for 3s");
    // A failed reading is activity, and the sampler starts afresh from the next reading.
    times.failReads = 1;
    Second(1000);
    EXPECT_EQ(Ctl("Counter").caption, "Activity");
    EXPECT_EQ(fh.rt.cpuText, "Err ");
    Second(0);
    EXPECT_EQ(fh.rt.cpuText, "  0%");  // not the busy second the failed reading lost
    // Activity in the last second before the decision holds the shutdown back.
    Seconds(8);
    input.Press(65);
    Second();
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);
    EXPECT_EQ(Ctl("Counter").caption, "Activity");
}

TEST_F(EngineTest, FailedOrUnknownActionsAndRefusedCommands) {
    // A raised system error leaves the engine before the "Close" entry and the exit.
    fh.rt.config.NoWarn = 2;
    power.exitOk = false;
    EnterShutdown();
    EXPECT_THROW(engine.ShutdownTick(), SystemError);
    EXPECT_FALSE(Logged("Close", "Power Off"));
    EXPECT_TRUE(fh.rt.trayIconShown);

    // ForceS outside its values: no system call, but the program still logs and closes.
    power.calls.clear();
    fh.rt.config.ForceS = 0;
    fh.rt.stateSeconds = 0;
    EXPECT_THROW(engine.ShutdownTick(), ProgramExit);
    EXPECT_EQ(ExitCall(), "");
    EXPECT_EQ(Log().back(), LogPair("Close", "Power Off"));

    // Reset names the state it interrupted.
    fh.rt.monitorState = MonitorState::Run;
    engine.Reset();
    EXPECT_TRUE(Logged("Reset", "Run"));
    engine.Reset();
    EXPECT_TRUE(Logged("Reset", "Initialise"));

    // Test is refused while the program's port failed.
    MarkLog();
    fh.rt.portFailed = true;
    engine.Test();
    EXPECT_FALSE(fh.rt.testMode);
    EXPECT_TRUE(Log().empty());
    fh.rt.portFailed = false;
    host.calls.clear();
    engine.Test();
    EXPECT_TRUE(fh.rt.testMode);
    EXPECT_EQ(host.calls.back(), "Send");
}

}  // namespace vespar::test
