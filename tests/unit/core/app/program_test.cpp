#include "app/program.h"

#include <algorithm>

#include "program_fixture.h"

namespace vespar::test {
namespace {

TEST_F(ProgramTest, ASecondInstanceShowsTheNoticeOnlyUnlessAllowed) {
    guard.heldElsewhere = true;
    EXPECT_EQ(program.Enter(""), Program::Window::MultiInst);
    EXPECT_EQ(guard.asked, std::vector<std::string>{"Vespar"});
    auto& notice = program.multiInst();
    EXPECT_TRUE(notice.visible);
    EXPECT_EQ(notice.caption, "Vespar Start Up Error");
    EXPECT_EQ(notice.control("ErrorMess").caption,
              "Vespar or Vespar Lumo is already\r\nrunning. Only one instance\r\n"
              "can be running at a time.");
    EXPECT_EQ(notice.control("Exit").tooltip, "Close Vespar");
    // The running copy's log is left alone, and nothing else is asked of the user.
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Log" / "Vespar.log"));
    EXPECT_TRUE(dialogs.shown.empty());
    notice.Click("Logo");  // the maker's web site
    EXPECT_EQ(sys.urlOpener.opened.size(), 1u);
    for (const char* name : {ScreenModel::kCloseEvent, "Exit"})
        EXPECT_THROW(notice.Click(name), ProgramExit) << name;

    // Allowed at the end of the line only; the lock is asked for all the same.
    Program other{clock, dialogs, guard, process, sys.ports(), netPorts.ports(), folder.path()};
    EXPECT_EQ(other.Enter("-InhibitShutdown -AllowMulti"), Program::Window::Main);
    EXPECT_EQ(guard.asked.size(), 2u);
}

TEST_F(ProgramTest, LoadsOnTheShippedConfigurationAndExitWritesTheLastEntry) {
    clock.Set({2026, 12, 6, 10, 0, 0});
    program.runtime().centreOnShow = true;  // only a window that starts minimised is centred
    Start("-InhibitShutdown");
    const Runtime& rt = program.runtime();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(program.mainWindow().caption, "Vespar");
    EXPECT_EQ(process.raised, 1);
    EXPECT_EQ(rt.updateCheckAt, (LocalTime{2026, 12, 6, 10, 0, 3}));
    EXPECT_TRUE(rt.trayIconShown);
    EXPECT_FALSE(rt.centreOnShow);
    EXPECT_EQ(program.timers().Find(kRefreshTimer)->interval(), 500);  // two ticks a second
    // The log starts with two empty lines and the start header.
    EXPECT_NE(Log().find("File Created\r\n06-Dec-26 10:00:00\r\n\r\n\r\nVespar\r\nVersion "),
              std::string::npos);

    // The shipped default lets every user exit.
    EXPECT_EQ(ExitCode([&] { program.mainWindow().Click("Exit"); }), 0);
    EXPECT_FALSE(rt.trayIconShown || program.timers().Find(kRefreshTimer)->enabled());
    EXPECT_NE(Log().find(",  Exit     , Initialise, Count:    2\r\n"), std::string::npos);
}

TEST_F(ProgramTest, TheWarningStaysOnTopAndAnEntitledUserMayStillClose) {
    Start("-InhibitShutdown");
    program.runtime().monitorState = MonitorState::Shutdown;
    program.mainWindow().control("Exit").enabled = false;  // as the warning leaves it
    program.ActivateMainWindow();
    EXPECT_TRUE(program.mainWindow().topmost);
    EXPECT_THROW(program.mainWindow().Click("#close"), ProgramExit);
    EXPECT_NE(Log().find(",  Exit     , Power Off , Count:"), std::string::npos);
}

// The switch is known before the file is read, so its counts reach this very start.
TEST_F(ProgramTest, ALoadThatFailsEndsWithItsMessageAndNothingElse) {
    folder.SetKey("LogName", "Ves.log");
    const std::string ini = folder.ReadFile(folder.ini());
    program.Enter("-AddErrorMessage");
    EXPECT_THROW(program.LoadMainWindow(), ProgramExit);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Vespar Configuration File Error");
    EXPECT_EQ(dialogs.shown[0].text.rfind("1Range Errors\r\n", 0), 0u) << dialogs.shown[0].text;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Log" / "Vespar.log"));
    EXPECT_EQ(folder.ReadFile(folder.ini()), ini);
}

TEST_F(ProgramTest, SlaveTitleAndUnconfiguredStart) {
    // A slave without a master's address loads but is marked unconfigured.
    folder.SetKey("CMain", "2");
    Start("");
    EXPECT_EQ(program.mainWindow().caption, "Vespar Slave");
    EXPECT_TRUE(program.runtime().unconfigured);
    const auto text = Log();
    EXPECT_NE(text.find("UnConfig , ********"), std::string::npos);
    // Closing while unconfigured writes no exit entry.
    EXPECT_THROW(program.ExitProgram(), ProgramExit);
    EXPECT_EQ(Log(), text);
}

// Every load asks the version which load measurement to use and takes the native counters'
// references; the engine then measures the chosen way. Input that cannot be read is logged
// and shown once.
TEST_F(ProgramTest, EveryLoadChoosesTheLoadMeasurementAndUnreadableInputIsShownOnce) {
    sys.version.version = PlatformVersion{2, 5, 0};
    program.ReloadConfiguration();
    EXPECT_EQ(program.runtime().winVersion, 1);
    EXPECT_EQ(sys.nativeCounters.calls, (std::vector<char>{'t', 'p'}));
    sys.input.readable = false;
    Start("");
    time.Advance(6000);
    const auto& calls = sys.nativeCounters.calls;
    EXPECT_NE(std::find(calls.begin(), calls.end(), 'b'), calls.end());  // Query reads the count
    const std::string title = control("Title").caption;
    EXPECT_TRUE(title.ends_with(" (no keyboard/mouse input readable)")) << title;
    const auto log = Log();
    EXPECT_NE(log.find(",  NoInput  , Keyboard  ,"), std::string::npos);
    EXPECT_EQ(log.find("NoInput", log.find("NoInput") + 1), std::string::npos);
    // A restart writes the status line anew and keeps the note.
    program.mainWindow().Click("Reset");
    EXPECT_EQ(control("Title").caption, title);
}

TEST_F(ProgramTest, AFailedSystemActionIsReportedWithItsNumberAndEndsTheProgram) {
    Start("");
    EXPECT_THROW(program.ReportSystemError(SystemError(static_cast<std::int32_t>(0x8004062Bu),
                                                       "Vespar", "Already scheduled.")),
                 ProgramExit);
    EXPECT_EQ(dialogs.shown,
              (std::vector<MessageBox>{{"Vespar",
                                        "Run-time error '-2147219925 (8004062b)':\r\n\r\nAlready "
                                        "scheduled.",
                                        Icon::Critical, Buttons::Ok}}));
    EXPECT_FALSE(program.runtime().trayIconShown);
    EXPECT_FALSE(program.timers().Find(kRefreshTimer)->enabled());
}

// The whole program on an idle computer, from its start to the simulated action, for a user
// who may not exit.
TEST_F(ProgramTest, SimulatedRunReachesItsActionAndOtherUsersCannotStopIt) {
    folder.SetKey("UserExitA", "1");
    sys.groups.answer = false;
    sys.interfaces.rows = {{"eth0", {0, 0x0c, 0x29, 0xab}, 1000, 1000}};
    // Every second passes in the idle process.
    program.timers()
        .Create("test.load", 1000, [this] { sys.systemTimes.Advance(10'000'000, 10'000'000, 0); })
        .SetEnabled(true);
    Start("-InhibitShutdown");
    program.ActivateMainWindow();
    EXPECT_FALSE(control("Exit").enabled);
    EXPECT_FALSE(control("mPopUpExit").enabled);
    time.Advance(11'500);
    ASSERT_EQ(program.runtime().monitorState, MonitorState::Shutdown);
    for (const char* name : {"Reset", "mPopUpCancel", "TestS", "Exit", "mPopUpExit", "#close"})
        EXPECT_NO_THROW(program.mainWindow().Click(name)) << name;
    EXPECT_EQ(program.runtime().monitorState, MonitorState::Shutdown);
    ASSERT_THROW(time.Advance(20'000), ProgramExit);
    EXPECT_TRUE(sys.power.calls.empty()) << "a simulated run touched the power actions";
    EXPECT_EQ(dialogs.shown.size(), 1u);                  // the simulation's notice
    EXPECT_EQ(Log().find("NoInput"), std::string::npos);  // the input was readable
}

}  // namespace
}  // namespace vespar::test
