#include <tuple>

#include "base/system_error.h"
#include "program_fixture.h"

namespace vespar::test {

TEST_F(EngineTest, ARefusedHibernateCountsAsMadeAndMonitoringGoesOn) {
    rt.config.ShutType = 5;
    rt.config.NoWarn = 2;
    sys.power.tokenOk = false;
    EnterShutdown();
    EXPECT_NO_THROW(engine.ShutdownTick());
    EXPECT_EQ(rt.monitorState, MonitorState::Initialise);
    // The reason follows the entry as free text, and the restart's entry comes next.
    const std::string log = Log(), refused = ",  Refused  , Hibernate , Count:";
    const auto from = log.find(refused) + refused.size();
    const std::string between = log.substr(from, log.find(",  Restart  , Hib") - from);
    EXPECT_NE(between.find("privileges"), std::string::npos) << log;
    EXPECT_EQ(between.find("Count:"), std::string::npos) << log;
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
        sys.power.calls.clear();
        rt.config.ShutType = static_cast<std::int16_t>(k.type);
        rt.config.ForceS = static_cast<std::int16_t>(k.force);
        rt.config.NoWarn = static_cast<std::int16_t>(k.noWarn);
        rt.trayIconShown = true;
        EnterShutdown();
        MarkLog();
        const std::string name = rt.shutTypeName;
        const bool sleeps = k.type == 5 || k.type == 6;  // the program goes on after a sleep
        int ticks = 0;
        EXPECT_EQ(ExitCode([&] {
                      while (rt.monitorState == MonitorState::Shutdown && ticks++ < 20)
                          engine.ShutdownTick();
                  }),
                  sleeps ? -1 : 0);
        EXPECT_EQ(ticks, k.noWarn == 2 ? 1 : 6);
        EXPECT_EQ(rt.trayIconShown, sleeps);
        EXPECT_EQ(ExitCall().substr(0, k.exitCall.size()), k.exitCall);
        EXPECT_EQ(ExitCall().empty(), k.exitCall.empty());
        std::string start = k.noWarn == 2 ? "Silent" : "Start";
        if (k.force == 2) start += "(F)";
        if (k.type >= 4 && k.type <= 6) start = "Start";
        EXPECT_TRUE(Logged(start, name));
        const auto log = Entries();
        ASSERT_GE(log.size(), 3u);
        if (k.type <= 4) {
            EXPECT_EQ(log.back(), LogPair("Close", name));
        }
        if (sleeps) {
            EXPECT_EQ(rt.monitorState, MonitorState::Initialise);
            EXPECT_EQ(log[log.size() - 3], LogPair("Restart", name));
            EXPECT_EQ(log.back(), LogPair("---------", "----------"));
        }
    }
}

TEST_F(EngineTest, FixedDelayAndStopTimeForcePowerOffWithForcedFlags) {
    Configuration& c = rt.config;
    c.CPU_On = c.Key_On = c.DL_On = 1;
    c.Del_On = c.NoWarn = 2;
    c.StartDelay = 1;
    Start();
    Seconds(2);
    EXPECT_EQ(control("Counter").caption, "Active - Delay Time Left: 59s");
    EXPECT_EQ(control("Counter").foreColor, kOrange);  // LongestDelay 0 is exceeded
    Seconds(58);
    EXPECT_THROW(Second(), ProgramExit);
    EXPECT_EQ(ExitCall().rfind("ExitSession 12 ", 0), 0u);

    // The stop time is reached at its whole minute, whatever the seconds.
    c.Del_On = 1;
    c.Stop_On = 2;
    sys.power.calls.clear();
    clock.Set(LocalTime{2026, 12, 6, 21, 59, 56});
    Start();
    Seconds(3);
    EXPECT_EQ(rt.monitorState, MonitorState::Run);
    EXPECT_THROW(Second(), ProgramExit);
    EXPECT_EQ(ExitCall().rfind("ExitSession 12 ", 0), 0u);
}

TEST_F(EngineTest, TestRunClosesAboutConfigureAndUpdateAndEndsInTimedMessage) {
    rt.config.UserExitA = 2;
    for (int sw : {0, 0, 2}) {
        sys.groups.answer = dialogs.shown.size() == 0;
        rt.cmdSwitch = sw;
        rt.config.StartMin = 1;
        Start();
        // Neither the test nor its end minimises the window.
        rt.config.StartMin = 2;
        main.Click("mPopUpTest");
        EXPECT_EQ(main.caption, "Vespar - Test Mode");
        EXPECT_EQ(control("Title").caption, "Power Off if there is no activity for 5 sec");
        EXPECT_EQ(control("Counter").caption, "Program Activation In 2s");
        EXPECT_EQ(EnabledCommands(), "all but Config About Update mConfig mAbout mUpdate");
        MarkLog();
        const std::size_t before = dialogs.shown.size();
        for (int i = 0; i < 12 && dialogs.shown.size() == before; ++i) Second();
        ASSERT_EQ(dialogs.shown.size(), before + 1);
        const MessageBox& box = dialogs.shown.back();
        EXPECT_EQ(box.text, "Test Power Off");
        EXPECT_EQ(box.timeoutSeconds, sw > 0 ? 3 : *sys.groups.answer ? 600 : 30);
        EXPECT_TRUE(Logged("Simulate", "Power Off"));
        EXPECT_EQ(ExitCall(), "");
        EXPECT_FALSE(rt.testMode);
        EXPECT_EQ(EnabledCommands(), "all");
        EXPECT_FALSE(main.minimised);
    }
}

TEST_F(EngineTest, SwitchesSimulateTheActionAndShortenDelays) {
    rt.cmdSwitch = 3;
    engine.InitialiseMonitor();
    const Configuration& c = rt.config;
    EXPECT_EQ(std::tuple(c.CPUDelay, c.KeyDelay, c.DLDelay, c.DelTime, c.ComDelay, c.ShutTime),
              std::tuple(6, 6, 8, 7, 6, 5));
    rt.cmdSwitch = 4;
    engine.InitialiseMonitor();
    EXPECT_EQ(c.ShutTime, 6);

    // A simulation never calls the power actions.
    rt.cmdSwitch = 2;
    rt.config.NoWarn = 2;
    EnterShutdown();
    EXPECT_THROW(engine.ShutdownTick(), ProgramExit);
    EXPECT_EQ(ExitCall(), "");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Test Real Power Off");
    EXPECT_TRUE(Logged("Simulate", "Power Off"));
}

TEST_F(EngineTest, SlaveStartsShutdownWhenCommunicationsAreLost) {
    Configuration& c = rt.config;
    c.CMain = 2;
    c.CPU_On = c.Key_On = c.DL_On = 1;
    c.StartDelay = 1;
    Start();
    Seconds(21);
    engine.state().noDatagramFlag = 0;  // a datagram arrived
    Second();
    EXPECT_EQ(control("Counter").caption, "Activity");
    Seconds(29);
    EXPECT_EQ(rt.monitorState, MonitorState::Run);
    Second();
    EXPECT_EQ(rt.monitorState, MonitorState::Shutdown);
}

TEST_F(EngineTest, CountersFrozenWhileChildFormOpen) {
    rt.config.StartDelay = 1;
    Start();
    Seconds(3);
    EXPECT_EQ(control("Counter").caption, "No activity for 2s");
    rt.childFormOpen = true;
    Seconds(5);
    EXPECT_EQ(control("Counter").caption, "No activity for 2s");
    rt.childFormOpen = false;
    Second();
    EXPECT_EQ(control("Counter").caption, "No activity for 3s");
    // Activity in the last second before the decision holds the shutdown back.
    Seconds(6);
    sys.input.Press(65);
    Second();
    EXPECT_EQ(rt.monitorState, MonitorState::Run);
    EXPECT_EQ(control("Counter").caption, "Activity");
}

TEST_F(EngineTest, FailedOrUnknownActionsAndRefusedCommands) {
    // A raised system error leaves the engine before the "Close" entry and the exit.
    rt.config.NoWarn = 2;
    sys.power.exitOk = false;
    EnterShutdown();
    EXPECT_THROW(engine.ShutdownTick(), SystemError);
    EXPECT_FALSE(Logged("Close", "Power Off"));

    // ForceS outside its values: no system call, but the program still logs and closes.
    sys.power.calls.clear();
    rt.config.ForceS = 0;
    rt.stateSeconds = 0;
    EXPECT_THROW(engine.ShutdownTick(), ProgramExit);
    EXPECT_EQ(ExitCall(), "");

    // Test is refused while the program's port failed.
    MarkLog();
    rt.portFailed = true;
    engine.Test();
    EXPECT_FALSE(rt.testMode);
    EXPECT_TRUE(Entries().empty());
}

}  // namespace vespar::test
