// The whole program on fake sensors and fake power actions, in virtual time: from start to
// the action, with the real log file in a temporary program folder.

#include <algorithm>
#include <string>

#include "program_fixture.h"

namespace vespar::test {
namespace {

constexpr std::int64_t kSecond100ns = 10'000'000;

class ProgramRoad : public ProgramTest {
  protected:
    ProgramRoad() {
        clock.Set({2026, 12, 7, 9, 0, 0});
        sys.interfaces.rows = {{"eth0", {0, 0x0c, 0x29, 0xab}, 1000, 1000}};
        // An idle processor: every second passes in the idle process.
        program.timers()
            .Create("test.load", 1000,
                    [this] { sys.systemTimes.Advance(kSecond100ns, kSecond100ns, 0); })
            .SetEnabled(true);
    }
};

TEST_F(ProgramRoad, SimulatedRunReachesItsActionWithoutTouchingThePower) {
    Start("-InhibitShutdown");
    EXPECT_EQ(control("Title").caption, "Power Off if there is no activity for 8 sec");
    time.Advance(1500);
    EXPECT_EQ(control("Counter").caption, "Program Activation In 1s");
    time.Advance(10'000);
    EXPECT_EQ(program.runtime().monitorState, MonitorState::Shutdown);
    EXPECT_EQ(control("Counter").caption.rfind("The Computer Will Power Off In ", 0), 0u);
    EXPECT_EQ(control("Reset").caption, "&Cancel");
    ASSERT_TRUE(RunUntilExit(20'000));

    EXPECT_TRUE(sys.power.calls.empty()) << "a simulated run touched the power actions";
    EXPECT_TRUE(Shown("Vespar Simulate Power Off"));
    EXPECT_FALSE(program.runtime().trayIconShown);
    const std::string log = Log();
    for (const char* entry :
         {",  Start    , Initialise,", ",  Enter    , Run       ,", ",  Enter    , Power Off ,",
          ",  Simulate , Power Off ,", ",  Close    , Power Off ,"}) {
        EXPECT_NE(log.find(entry), std::string::npos) << entry << "\n" << log;
    }
}

TEST_F(ProgramRoad, IdleComputerIsPoweredOffForcedOnTheShippedSettings) {
    Start("");
    // The keyboard check is the longest at 600 s; the warning then lasts 60 s.
    EXPECT_FALSE(RunUntilExit(600'000));
    EXPECT_TRUE(sys.power.calls.empty());
    ASSERT_TRUE(RunUntilExit(120'000));
    ASSERT_FALSE(sys.power.calls.empty());
    EXPECT_NE(
        std::find(sys.power.calls.begin(), sys.power.calls.end(), "ExitSession 12 4294967295"),
        sys.power.calls.end())
        << "expected a forced power off: " << ::testing::PrintToString(sys.power.calls);
    EXPECT_NE(Log().find(",  Start(F) , Power Off ,"), std::string::npos) << Log();
}

TEST_F(ProgramRoad, TypingEveryFewMinutesKeepsTheComputerOn) {
    Start("");
    for (int minute = 0; minute < 60; minute += 5) {
        sys.input.Press(65);
        ASSERT_FALSE(RunUntilExit(300'000)) << "switched off after " << minute << " min";
    }
    EXPECT_TRUE(sys.power.calls.empty());
    EXPECT_EQ(program.runtime().monitorState, MonitorState::Run);
}

TEST_F(ProgramRoad, CancelIsAnEntitledUsersOnly) {
    Start("-InhibitShutdown");
    time.Advance(12'000);
    ASSERT_EQ(program.runtime().monitorState, MonitorState::Shutdown);
    program.mainWindow().Click("Reset");
    EXPECT_EQ(program.runtime().monitorState, MonitorState::Initialise);
    EXPECT_EQ(control("Reset").caption, "&Reset");
    EXPECT_NE(Log().find(",  Reset    , Power Off ,"), std::string::npos);
}

TEST_F(ProgramRoad, OtherUsersCannotCancelOrExitDuringTheWarning) {
    folder.SetKey("UserExitA", "1");
    sys.groups.answer = false;
    Start("-InhibitShutdown");
    time.Advance(12'000);
    ASSERT_EQ(program.runtime().monitorState, MonitorState::Shutdown);
    EXPECT_FALSE(control("Reset").enabled);
    EXPECT_FALSE(control("mPopUpCancel").visible);
    program.mainWindow().Click("Reset");
    program.mainWindow().Click("mPopUpCancel");
    EXPECT_NO_THROW(program.mainWindow().Click("Exit"));
    EXPECT_EQ(program.runtime().monitorState, MonitorState::Shutdown);
    EXPECT_TRUE(RunUntilExit(20'000));
    EXPECT_TRUE(Shown("Vespar Simulate Power Off"));
}

TEST_F(ProgramRoad, TestRunEndsInItsTimedMessageAndMonitoringGoesOn) {
    Start("-InhibitShutdown");
    time.Advance(3000);
    program.mainWindow().Click("TestS");
    EXPECT_EQ(program.mainWindow().caption, "Vespar - Test Mode");
    EXPECT_FALSE(control("About").enabled);
    EXPECT_FALSE(RunUntilExit(15'000));
    auto test = std::find_if(dialogs.shown.begin(), dialogs.shown.end(),
                             [](const MessageBox& b) { return b.title == "Vespar Test"; });
    ASSERT_NE(test, dialogs.shown.end());
    EXPECT_EQ(test->text, "Test Power Off");
    EXPECT_GT(test->timeoutSeconds, 0);
    EXPECT_TRUE(sys.power.calls.empty());
    EXPECT_EQ(program.mainWindow().caption, "Vespar");
    EXPECT_TRUE(control("About").enabled);
}

TEST_F(ProgramRoad, AboutScreenPausesTheEngineAndClosesItself) {
    Start("-InhibitShutdown");
    program.mainWindow().Click("About");
    auto& about = program.windowRules().about();
    ASSERT_TRUE(about.isOpen());
    EXPECT_FALSE(control("Config").enabled);
    // Started with a switch, the screen counts down from 4; the engine waits meanwhile.
    EXPECT_FALSE(RunUntilExit(3'000));
    EXPECT_TRUE(about.isOpen());
    EXPECT_EQ(program.runtime().monitorState, MonitorState::Initialise);
    EXPECT_EQ(about.control("TMessage").caption, "About will close in 2 sec");
    EXPECT_FALSE(RunUntilExit(3'000));
    EXPECT_FALSE(about.isOpen());
    EXPECT_TRUE(control("Config").enabled);
    EXPECT_FALSE(program.runtime().childFormOpen);
}

TEST_F(ProgramRoad, FailedPowerOffIsReportedWithItsNumberAndEndsTheProgram) {
    sys.power.exitOk = false;
    sys.power.lastError = 1190;
    sys.power.messageText = "A system shutdown has already been scheduled.";
    Start("");
    try {
        time.Advance(700'000);
        FAIL() << "the failed action was not raised";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Number(), ObjectErrorNumber(kShutdownFailed));
        dialogs.shown.clear();
        EXPECT_THROW(program.ReportSystemError(e), ProgramExit);
    }
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Vespar");
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Critical);
    EXPECT_EQ(dialogs.shown[0].text.rfind("Run-time error '-2147219925 (8004062b)':\r\n\r\n", 0),
              0u)
        << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find("already been scheduled"), std::string::npos);
    EXPECT_FALSE(program.runtime().trayIconShown);
}

}  // namespace
}  // namespace vespar::test
