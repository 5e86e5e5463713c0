#include "log/startup_checks.h"

#include <gtest/gtest.h>

#include "fakes/running_host.h"

namespace vespar {
namespace {

TEST(StartupChecks, PresentThingsPassMissingOnesEndTheProgram) {
    test::RunningHost host;
    host.rt.config.LogPath = "Log\\";
    host.folder.WriteFile(host.folder.path() / "Log" / "Vespar.log", "x");
    CheckDirectory(host.ctx, "data");
    CheckLogDirectory(host.ctx, "log");
    CheckLogFile(host.ctx, "log", "Log\\", "Vespar.log");
    CheckRequiredFile(host.ctx, "configuration", "Data\\", "Vespar.ini");
    // An absolute log path written with backslashes.
    std::string absolute;
    for (char c : (host.folder.path() / "Log").string()) absolute += c == '/' ? '\\' : c;
    host.rt.config.LogPath = absolute + "\\";
    CheckLogDirectory(host.ctx, "log");
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_TRUE(host.Running());

    std::filesystem::remove(host.folder.path() / "Log" / "Vespar.log");
    EXPECT_EQ(host.Stopped([&] { CheckLogFile(host.ctx, "log", "Log\\", "Vespar.log"); }),
              (MessageBox{"Vespar Log File Error",
                          "The log file is either missing or\r\ncorrupted. Delete the log file "
                          "if\r\nit exists and restart the program.\r\nThe program will now "
                          "terminate.",
                          Icon::Exclamation, Buttons::Ok}));

    // The configured log folder is checked: Log/ exists, this one does not.
    host.rt.programTitle = "Vespar Slave";
    host.rt.config.LogPath = "Elsewhere\\";
    EXPECT_EQ(host.Stopped([&] { CheckLogDirectory(host.ctx, "log"); }),
              (MessageBox{"Vespar Slave Log Directory Error",
                          "The log directory does not exist. This\r\ndirectory must be created "
                          "manually if\r\nit is not the default one. To restore\r\nthe default "
                          "log directory reinstall\r\nthe program.\r\nThe program will now "
                          "terminate.",
                          Icon::Critical, Buttons::Ok}));

    // A folder is not the configuration file.
    host.rt.programTitle = "Vespar";
    std::filesystem::remove(host.folder.ini());
    std::filesystem::create_directory(host.folder.ini());
    EXPECT_EQ(
        host.Stopped([&] { CheckRequiredFile(host.ctx, "configuration", "Data\\", "Vespar.ini"); }),
        (MessageBox{"Vespar Configuration File Error",
                    "The configuration file is either missing or\r\ncorrupted. To restore the "
                    "configuration file\r\nreinstall the program.\r\nThe program will now "
                    "terminate.",
                    Icon::Critical, Buttons::Ok}));

    std::filesystem::remove_all(host.folder.path() / "Data");
    EXPECT_EQ(host.Stopped([&] { CheckDirectory(host.ctx, "data"); }),
              (MessageBox{"Vespar Data Directory Error",
                          "The data directory does not exist.\r\nTo restore the data "
                          "directory\r\nreinstall the program.\r\nThe program will now terminate.",
                          Icon::Critical, Buttons::Ok}));
}

}  // namespace
}  // namespace vespar
