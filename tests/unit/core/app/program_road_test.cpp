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
    MonitorState State() { return program.runtime().monitorState; }
};

TEST_F(ProgramRoad, SimulatedRunReachesItsActionAndOtherUsersCannotStopIt) {
    folder.SetKey("UserExitA", "1");
    sys.groups.answer = false;
    Start("-InhibitShutdown");
    EXPECT_EQ(control("Title").caption, "Power Off if there is no activity for 8 sec");
    time.Advance(11'500);
    ASSERT_EQ(State(), MonitorState::Shutdown);
    for (const char* name : {"Reset", "mPopUpCancel", "TestS", "Exit"})
        EXPECT_NO_THROW(program.mainWindow().Click(name)) << name;
    EXPECT_EQ(State(), MonitorState::Shutdown);
    ASSERT_TRUE(RunUntilExit(20'000));
    EXPECT_TRUE(sys.power.calls.empty()) << "a simulated run touched the power actions";
    EXPECT_TRUE(Shown("Vespar Simulate Power Off"));
    EXPECT_FALSE(program.runtime().trayIconShown);
    EXPECT_EQ(Log().find("NoInput"), std::string::npos);  // the input was readable
}

TEST_F(ProgramRoad, TypingKeepsTheComputerOnAndIdlenessPowersItOffForced) {
    Start("");
    for (int minute = 0; minute < 30; minute += 5) {
        sys.input.Press(65);
        ASSERT_FALSE(RunUntilExit(300'000)) << "switched off after " << minute << " min";
    }
    EXPECT_EQ(State(), MonitorState::Run);
    // On the shipped settings the keyboard check is the longest at 600 s; the warning 60 s.
    sys.input.Press(65);
    EXPECT_FALSE(RunUntilExit(600'000));
    EXPECT_TRUE(sys.power.calls.empty());
    ASSERT_TRUE(RunUntilExit(120'000));
    EXPECT_NE(
        std::find(sys.power.calls.begin(), sys.power.calls.end(), "ExitSession 12 4294967295"),
        sys.power.calls.end())
        << ::testing::PrintToString(sys.power.calls);
    EXPECT_NE(Log().find(",  Start(F) , Power Off ,"), std::string::npos) << Log();
}

TEST_F(ProgramRoad, FailedPowerOffIsReportedWithItsNumberAndEndsTheProgram) {
    sys.power.exitOk = false;
    sys.power.messageText = "A system shutdown has already been scheduled.";
    Start("");
    try {
        time.Advance(700'000);
        FAIL() << "the failed action was not raised";
    } catch (const SystemError& e) {
        dialogs.shown.clear();
        try {
            program.ReportSystemError(e);
            ADD_FAILURE() << "the program went on";
        } catch (const ProgramExit& exit) {
            EXPECT_EQ(exit.code, 1);
        }
    }
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0],
              (MessageBox{"Vespar",
                          "Run-time error '-2147219925 (8004062b)':\r\n\r\nShutdownSystem "
                          "failed: A system shutdown has already been scheduled.",
                          Icon::Critical, Buttons::Ok}));
    EXPECT_FALSE(program.runtime().trayIconShown);
    EXPECT_FALSE(program.timers().Find(kRefreshTimer)->enabled());
}

}  // namespace
}  // namespace vespar::test
