#include "app/program.h"

#include <gtest/gtest.h>

#include "base/program_exit.h"
#include "base/text.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_system_ports.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/temp_program_folder.h"

namespace vespar {
namespace {

class FakeGuard : public InstanceGuard {
  public:
    bool AlreadyRunning(const std::string& name) override {
        asked.push_back(name);
        return heldElsewhere;
    }
    bool heldElsewhere = false;
    std::vector<std::string> asked;
};

class FakeProcess : public ProcessControl {
  public:
    void RaisePriority() override { ++raised; }
    int raised = 0;
};

struct ProgramFixture : ::testing::Test {
    test::TempProgramFolder folder;
    test::FakeClock clock;
    test::ScriptedDialogs dialogs;
    FakeGuard guard;
    FakeProcess process;
    test::FakeSystemPorts sys;
    Program program{clock, dialogs, guard, process, sys.ports(), folder.path()};
    test::VirtualTime time{clock, program.timers()};

    std::filesystem::path logFile() const { return folder.path() / "Log" / "Vespar.log"; }
};

TEST_F(ProgramFixture, SecondInstanceShowsTheNoticeOnly) {
    guard.heldElsewhere = true;
    EXPECT_EQ(program.Enter(""), Program::Window::MultiInst);
    EXPECT_EQ(guard.asked, std::vector<std::string>{"Vespar"});
    auto& notice = program.multiInst();
    EXPECT_EQ(notice.caption, "Vespar Start Up Error");
    EXPECT_EQ(notice.control("ErrorMess").caption,
              "Vespar or Vespar Lumo is already\r\nrunning. Only one instance\r\n"
              "can be running at a time.");
    EXPECT_EQ(notice.control("Exit").caption, "&Exit");
    EXPECT_EQ(notice.control("Exit").tooltip, "Close Vespar");
    EXPECT_THROW(notice.Click("Exit"), ProgramExit);
    EXPECT_FALSE(std::filesystem::exists(logFile()));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ProgramFixture, AllowMultiStillTakesTheLock) {
    guard.heldElsewhere = true;
    EXPECT_EQ(program.Enter("-InhibitShutdown -AllowMulti"), Program::Window::Main);
    EXPECT_EQ(guard.asked.size(), 1u);
    guard.heldElsewhere = true;
    Program other{clock, dialogs, guard, process, sys.ports(), folder.path()};
    EXPECT_EQ(other.Enter("-AllowMulti -InhibitShutdown"), Program::Window::MultiInst);
}

TEST_F(ProgramFixture, LoadsOnTheShippedConfiguration) {
    clock.Set({2026, 12, 6, 10, 0, 0});
    ASSERT_EQ(program.Enter("-InhibitShutdown"), Program::Window::Main);
    program.LoadMainWindow();
    const Runtime& rt = program.runtime();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(program.mainWindow().caption, "Vespar");
    EXPECT_EQ(rt.programTitle, "Vespar");
    EXPECT_EQ(rt.cmdSwitch, 1);
    EXPECT_EQ(process.raised, 1);
    EXPECT_EQ(rt.updateCheckAt, (LocalTime{2026, 12, 6, 10, 0, 3}));
    EXPECT_TRUE(rt.trayIconShown);
    EXPECT_FALSE(rt.unconfigured);
    EXPECT_EQ(rt.config.ShutType, 1);
    EXPECT_TRUE(program.timers().Find("tmrRefresh")->enabled());
    // The shipped default lets every user exit.
    EXPECT_TRUE(program.mainWindow().control("Exit").enabled);

    // The log starts with two empty lines and the start header.
    auto text = folder.ReadFile(logFile());
    EXPECT_NE(text.find("File Created\r\n06-Dec-26 10:00:00\r\n\r\n\r\nVespar\r\nVersion "),
              std::string::npos);
    EXPECT_NE(text.find(" Start    , Initialise, Count:    2\r\n"), std::string::npos);
}

TEST_F(ProgramFixture, ExitWritesTheLastEntryAndRemovesTheTrayIcon) {
    program.Enter("");
    program.LoadMainWindow();
    EXPECT_THROW(program.mainWindow().Click("Exit"), ProgramExit);
    EXPECT_FALSE(program.runtime().trayIconShown);
    EXPECT_FALSE(program.timers().Find("tmrRefresh")->enabled());
    const auto text = folder.ReadFile(logFile());
    EXPECT_NE(text.find(",  Exit     , Initialise, Count:    2\r\n"), std::string::npos);
}

TEST_F(ProgramFixture, UsersWhoMayNotExitCannotCloseTheWindow) {
    folder.SetKey("UserExitA", "1");
    sys.groups.answer = false;
    program.Enter("");
    program.LoadMainWindow();
    EXPECT_FALSE(program.mainWindow().control("Exit").enabled);
    EXPECT_FALSE(program.mainWindow().closeItemShown());
    EXPECT_NO_THROW(program.mainWindow().Click("#close"));
    program.ActivateMainWindow();
    EXPECT_FALSE(program.mainWindow().control("mPopUpExit").enabled);
}

TEST_F(ProgramFixture, BrokenConfigurationEndsWithItsMessageAndNothingElse) {
    folder.WriteFile(folder.ini(), "garbage\r\n");
    program.Enter("");
    EXPECT_THROW(program.LoadMainWindow(), ProgramExit);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Vespar Configuration File Error");
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Critical);
    EXPECT_EQ(dialogs.shown[0].text,
              "The configuration file is corrupted.\r\nReinstall the program to restore the "
              "file.\r\nThe program will now terminate.");
    EXPECT_FALSE(std::filesystem::exists(logFile()));
    EXPECT_EQ(folder.ReadFile(folder.ini()), "garbage\r\n");
}

TEST_F(ProgramFixture, OutOfRangeValueEndsWithTheRangeMessage) {
    folder.SetKey("LogName", "Ves.log");  // 7 characters
    program.Enter("-AddErrorMessage");
    EXPECT_THROW(program.LoadMainWindow(), ProgramExit);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 14), "1Range Errors\r");
    EXPECT_FALSE(std::filesystem::exists(logFile()));
}

TEST_F(ProgramFixture, MissingDataFolderIsReportedFirst) {
    std::filesystem::remove_all(folder.path() / "Data");
    program.Enter("");
    EXPECT_THROW(program.LoadMainWindow(), ProgramExit);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Vespar Data Directory Error");
    EXPECT_EQ(dialogs.shown[0].text,
              "The data directory does not exist.\r\nTo restore the data directory\r\n"
              "reinstall the program.\r\nThe program will now terminate.");
}

TEST_F(ProgramFixture, MissingConfigurationFileIsReported) {
    std::filesystem::remove(folder.ini());
    program.Enter("");
    EXPECT_THROW(program.LoadMainWindow(), ProgramExit);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Vespar Configuration File Error");
    EXPECT_EQ(dialogs.shown[0].text.substr(0, 40), "The configuration file is either missing");
}

TEST_F(ProgramFixture, SlaveTitleAndUnconfiguredStart) {
    // A slave without a master's address loads but is marked unconfigured.
    folder.SetKey("CMain", "2");
    program.Enter("");
    program.LoadMainWindow();
    EXPECT_EQ(program.runtime().programTitle, "Vespar Slave");
    EXPECT_EQ(program.mainWindow().caption, "Vespar Slave");
    EXPECT_TRUE(program.runtime().unconfigured);
    const auto text = folder.ReadFile(logFile());
    EXPECT_NE(text.find("UnConfig "), std::string::npos);
    EXPECT_EQ(text.find("Initialise, Count"), std::string::npos);
    // Closing while unconfigured writes no exit entry.
    EXPECT_THROW(program.ExitProgram(), ProgramExit);
    EXPECT_EQ(folder.ReadFile(logFile()), text);
}

TEST_F(ProgramFixture, TickDividerRunsOnceASecond) {
    program.Enter("");
    program.LoadMainWindow();
    std::vector<int> phases;
    for (int i = 0; i < 6; ++i) {
        time.Advance(500);
        phases.push_back(program.runtime().tickPhase);
    }
    EXPECT_EQ(phases, (std::vector<int>{1, 2, 1, 2, 1, 2}));
}

}  // namespace
}  // namespace vespar
