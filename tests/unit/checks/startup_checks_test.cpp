#include "log/startup_checks.h"

#include <gtest/gtest.h>

#include "base/program_exit.h"
#include "fakes/fake_host.h"

namespace vespar {
namespace {

struct StartupChecks : ::testing::Test {
    test::FakeHost host;
    Timer& refresh = host.timers.Create("tmrRefresh", 500, [] {});

    void SetUp() override {
        refresh.SetEnabled(true);
        host.rt.trayIconShown = true;
        host.rt.config.LogPath = "Log\\";
    }
    // Runs a check that must stop the program and returns the one box it showed.
    template <typename F>
    MessageBox Stopped(F check) {
        EXPECT_THROW(check(), ProgramExit);
        EXPECT_FALSE(refresh.enabled());
        EXPECT_FALSE(host.rt.trayIconShown);
        EXPECT_EQ(host.dialogs.shown.size(), 1u);
        return host.dialogs.shown.empty() ? MessageBox{} : host.dialogs.shown.back();
    }
};

TEST_F(StartupChecks, PresentThingsPass) {
    host.folder.WriteFile(host.folder.path() / "Log" / "Vespar.log", "x");
    CheckDirectory(host.ctx, "data");
    CheckLogDirectory(host.ctx, "log");
    CheckLogFile(host.ctx, "log", "Log\\", "Vespar.log");
    CheckRequiredFile(host.ctx, "configuration", "Data\\", "Vespar.ini");
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_TRUE(refresh.enabled());
}

TEST_F(StartupChecks, MissingDataDirectory) {
    std::filesystem::remove_all(host.folder.path() / "Data");
    const auto box = Stopped([&] { CheckDirectory(host.ctx, "data"); });
    EXPECT_EQ(box.title, "Vespar Data Directory Error");
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_EQ(box.text,
              "The data directory does not exist.\r\nTo restore the data directory\r\n"
              "reinstall the program.\r\nThe program will now terminate.");
}

TEST_F(StartupChecks, MissingLogDirectoryIsTheConfiguredOne) {
    host.rt.programTitle = "Vespar Slave";
    host.rt.config.LogPath = "Elsewhere\\";  // Log/ exists, the configured folder does not
    const auto box = Stopped([&] { CheckLogDirectory(host.ctx, "log"); });
    EXPECT_EQ(box.title, "Vespar Slave Log Directory Error");
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.text,
              "The log directory does not exist. This\r\ndirectory must be created manually "
              "if\r\nit is not the default one. To restore\r\nthe default log directory "
              "reinstall\r\nthe program.\r\nThe program will now terminate.");
}

TEST_F(StartupChecks, AbsoluteLogPathWithBackslashes) {
    const auto abs = (host.folder.path() / "Log").string();
    std::string configured;
    for (char c : abs) configured += c == '/' ? '\\' : c;
    host.rt.config.LogPath = configured + "\\";
    CheckLogDirectory(host.ctx, "log");
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(StartupChecks, MissingLogFile) {
    const auto box = Stopped([&] { CheckLogFile(host.ctx, "log", "Log\\", "Vespar.log"); });
    EXPECT_EQ(box.title, "Vespar Log File Error");
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.text,
              "The log file is either missing or\r\ncorrupted. Delete the log file if\r\n"
              "it exists and restart the program.\r\nThe program will now terminate.");
}

TEST_F(StartupChecks, MissingConfigurationFileAndADirectoryInItsPlace) {
    std::filesystem::remove(host.folder.ini());
    std::filesystem::create_directory(host.folder.ini());  // a folder is not the file
    const auto box =
        Stopped([&] { CheckRequiredFile(host.ctx, "configuration", "Data\\", "Vespar.ini"); });
    EXPECT_EQ(box.title, "Vespar Configuration File Error");
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.text,
              "The configuration file is either missing or\r\ncorrupted. To restore the "
              "configuration file\r\nreinstall the program.\r\nThe program will now "
              "terminate.");
}

}  // namespace
}  // namespace vespar
