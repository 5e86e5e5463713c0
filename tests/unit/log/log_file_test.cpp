#include "log/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/program_exit.h"
#include "base/text_file.h"
#include "log/fatal_stop.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

namespace fs = std::filesystem;

const std::string kRotateFailure =
    "Unable to rotate the log file Vespar.log.\r\nThis may be a permissions problem.\r\n"
    "The program will now terminate.";

class LogFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpLog(host, 2);
        host.clock.Set({2026, 12, 6, 14, 3, 9});
    }
    fs::path Log(const std::string& name = "Vespar.log") const { return LogDir(host) / name; }
    std::string Read(const std::string& name = "Vespar.log") const {
        return host.folder.ReadFile(Log(name));
    }
    std::string Header(const std::string& when) const {
        return "Vespar\r\nVersion 1.0\r\nFile Created\r\n" + when + "\r\n";
    }
    // Runs a call that must end the program and returns the one box it showed.
    template <typename F>
    MessageBox Fatal(F call) {
        EXPECT_THROW(call(), ProgramExit);
        EXPECT_EQ(host.dialogs.shown.size(), 1u);
        return host.dialogs.shown.empty() ? MessageBox{} : host.dialogs.shown.back();
    }

    FakeHost host;
};

TEST_F(LogFileTest, CreatesTheFileWithItsHeaderOnce) {
    host.rt.programTitle = "Vespar Slave";
    StartLogFile(host.ctx);
    EXPECT_EQ(Read(), "Vespar Slave\r\nVersion 1.0\r\nFile Created\r\n06-Dec-26 14:03:09\r\n");
    EXPECT_EQ(LogFilePath(host.ctx), Log());

    // A later start in the same period leaves the file as it is.
    host.folder.WriteFile(Log(), Header("06-Dec-26 08:00:00") + "line\r\n");
    host.clock.Set({2026, 12, 6, 23, 59, 59});
    host.rt.config.LogLevel = 3;
    StartLogFile(host.ctx);
    EXPECT_EQ(Read(), Header("06-Dec-26 08:00:00") + "line\r\n");
    EXPECT_FALSE(fs::exists(Log("Vespar_A.log")));
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(LogFileTest, LevelNoneAndRotationOffLeaveFilesAlone) {
    host.rt.config.LogLevel = 1;
    StartLogFile(host.ctx);
    WriteLogHeader(host.ctx, 0);
    EXPECT_FALSE(fs::exists(Log()));

    // Rotation off: the fourth line is never read, so a header that is not a date is fine.
    host.rt.config.LogLevel = 3;
    host.rt.config.LogRotate = 1;
    host.folder.WriteFile(Log(), "old\r\n");
    host.clock.Set({2027, 3, 1, 0, 0, 1});
    StartLogFile(host.ctx);
    EXPECT_EQ(Read(), "old\r\n");
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(LogFileTest, FullRotatesAcrossADayAndNormalAcrossAMonth) {
    host.rt.config.LogLevel = 3;
    host.folder.WriteFile(Log(), Header("05-Dec-26 23:59:00"));
    host.clock.Set({2026, 12, 6, 0, 1, 0});
    StartLogFile(host.ctx);
    EXPECT_EQ(Read("Vespar_A.log"), Header("05-Dec-26 23:59:00"));
    EXPECT_EQ(Read(), Header("06-Dec-26 00:01:00"));

    // Normal: another day of the same month keeps the file, the first of the next rotates.
    host.rt.config.LogLevel = 2;
    host.folder.WriteFile(Log(), Header("30-Nov-26 10:00:00"));
    fs::remove(Log("Vespar_A.log"));
    host.clock.Set({2026, 11, 30, 23, 0, 0});
    StartLogFile(host.ctx);
    EXPECT_FALSE(fs::exists(Log("Vespar_A.log")));
    host.clock.Set({2026, 12, 1, 0, 0, 5});
    StartLogFile(host.ctx);
    EXPECT_EQ(Read("Vespar_A.log"), Header("30-Nov-26 10:00:00"));
    EXPECT_EQ(Read(), Header("01-Dec-26 00:00:05"));

    // A clock set back into the previous month rotates as well.
    host.clock.Set({2026, 11, 15, 9, 0, 0});
    StartLogFile(host.ctx);
    EXPECT_EQ(Read("Vespar_B.log"), Header("30-Nov-26 10:00:00"));
    EXPECT_EQ(Read("Vespar_A.log"), Header("01-Dec-26 00:00:05"));
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(LogFileTest, ThirdRotationDropsTheOldestGeneration) {
    host.rt.config.LogLevel = 3;
    host.rt.config.LogName = "my.run.log";  // split at the last dot
    for (int day = 1; day <= 4; ++day) {
        host.clock.Set({2026, 12, day, 12, 0, 0});
        StartLogFile(host.ctx);
        AppendToExisting(Log("my.run.log"), "day " + std::to_string(day) + "\r\n");
    }
    EXPECT_EQ(Read("my.run_B.log"), Header("02-Dec-26 12:00:00") + "day 2\r\n");
    EXPECT_EQ(Read("my.run_A.log"), Header("03-Dec-26 12:00:00") + "day 3\r\n");
    EXPECT_EQ(Read("my.run.log"), Header("04-Dec-26 12:00:00") + "day 4\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(LogDir(host)), fs::directory_iterator()), 3);
}

TEST_F(LogFileTest, RotationFailuresEndTheProgram) {
    host.timers.Create(kRefreshTimer, 500, [] {}).SetEnabled(true);
    host.rt.config.LogLevel = 3;

    host.folder.WriteFile(Log(), "Vespar\r\nVersion 1.0\r\nFile Created\r\nyesterday\r\n");
    const MessageBox box = Fatal([&] { StartLogFile(host.ctx); });
    EXPECT_EQ(box.title, "Vespar Log File Error");
    EXPECT_EQ(box.text, kRotateFailure);
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_FALSE(host.timers.Find(kRefreshTimer)->enabled());

    host.dialogs.shown.clear();
    host.folder.WriteFile(Log(), "Vespar\r\nVersion 1.0\r\nFile Created\r\n");
    EXPECT_EQ(Fatal([&] { StartLogFile(host.ctx); }).text, kRotateFailure);

    // A name without a dot cannot be split, once a rotation is due.
    host.dialogs.shown.clear();
    host.rt.config.LogName = "VesparLog";
    host.folder.WriteFile(Log("VesparLog"), Header("01-Dec-26 10:00:00"));
    EXPECT_EQ(Fatal([&] { StartLogFile(host.ctx); }).text,
              "Unable to rotate the log file VesparLog.\r\nThis may be a permissions problem.\r\n"
              "The program will now terminate.");
    EXPECT_TRUE(fs::exists(Log("VesparLog")));

    // The oldest generation cannot be deleted: nothing is renamed.
    host.dialogs.shown.clear();
    host.rt.config.LogName = "Vespar.log";
    host.folder.WriteFile(Log(), Header("01-Dec-26 10:00:00"));
    fs::create_directories(Log("Vespar_B.log") / "busy");
    EXPECT_EQ(Fatal([&] { StartLogFile(host.ctx); }).text, kRotateFailure);
    EXPECT_EQ(Read(), Header("01-Dec-26 10:00:00"));
}

TEST_F(LogFileTest, CreationFailuresEndTheProgram) {
    host.rt.config.LogName = std::string(300, 'v') + ".log";  // longer than a file name may be
    const MessageBox box = Fatal([&] { StartLogFile(host.ctx); });
    EXPECT_EQ(box.title, "Vespar Log File Error");
    EXPECT_EQ(box.text, "Unable to create the log file " + host.rt.config.LogName +
                            ".\r\nThis may be a permissions problem.\r\n"
                            "The program will now terminate.");
}

TEST_F(LogFileTest, ReadOnlyLogFolderStopsCreation) {
    if (!PermissionsApply()) GTEST_SKIP() << "write permissions do not bind the superuser";
    fs::permissions(LogDir(host), fs::perms::owner_write | fs::perms::group_write,
                    fs::perm_options::remove);
    EXPECT_EQ(Fatal([&] { StartLogFile(host.ctx); }).text,
              "Unable to create the log file Vespar.log.\r\nThis may be a permissions "
              "problem.\r\nThe program will now terminate.");
}

TEST_F(LogFileTest, MissingLogFolderIsReportedBeforeAnyWork) {
    fs::remove_all(LogDir(host));
    EXPECT_EQ(Fatal([&] { StartLogFile(host.ctx); }).title, "Vespar Log Directory Error");
    EXPECT_FALSE(fs::exists(LogDir(host)));
}

TEST_F(LogFileTest, HeadersFollowTheLevel) {
    host.rt.configSummary = "\r\nConfiguration\r\n-------------\r\nCPUDelay=600";
    StartLogFile(host.ctx);
    const std::string created = Read();
    WriteLogHeader(host.ctx, 0);
    EXPECT_EQ(Read(), created + "Vespar\r\nVersion 1.0\r\n06-Dec-26\r\n\r\n");

    host.rt.config.LogLevel = 3;
    WriteLogHeader(host.ctx, 0);
    WriteLogHeader(host.ctx, 1);
    EXPECT_EQ(Read(), created + "Vespar\r\nVersion 1.0\r\n06-Dec-26\r\n\r\n" +
                          "Vespar\r\nVersion 1.0\r\n06-Dec-26\r\n" + host.rt.configSummary +
                          "\r\n\r\n" + "\r\n" + host.rt.configSummary + "\r\n\r\n");
}

TEST_F(LogFileTest, HeaderWriteFailuresEndTheProgram) {
    StartLogFile(host.ctx);
    fs::remove(Log());
    MessageBox box = Fatal([&] { WriteLogHeader(host.ctx, 0); });
    EXPECT_EQ(box.title, "Vespar Log File Error");
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_FALSE(fs::exists(Log()));  // never silently recreated

    host.dialogs.shown.clear();
    StartLogFile(host.ctx);
    {
        FileSizeLimit full(fs::file_size(Log()));
        box = Fatal([&] { WriteLogHeader(host.ctx, 0); });
    }
    EXPECT_EQ(box.title, "Vespar Log File Write Error");
    EXPECT_EQ(box.text,
              "Unable to write to the log file Vespar.log.\r\nThis may be a permissions "
              "problem.\r\nThe program will now terminate.");
}

}  // namespace
}  // namespace vespar::test
