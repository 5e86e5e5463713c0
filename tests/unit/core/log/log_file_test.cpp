#include "log/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/dates.h"
#include "base/text_file.h"
#include "log/updater_log_file.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

// The text of a fatal log box for the file and what could not be done with it.
std::string Failure(const std::string& what, const std::string& file) {
    return "Unable to " + what + " the log file " + file +
           ".\r\nThis may be a permissions problem.\r\nThe program will now terminate.";
}

std::string Header(const std::string& when) {
    return "Vespar\r\nVersion 1.0\r\nFile Created\r\n" + when + "\r\n";
}

class LogFileTest : public LogTest {
  protected:
    void StartAt(const LocalTime& when) {
        host.clock.Set(when);
        StartLogFile(host.ctx);
    }
    MessageBox StopsStarting() {
        return host.Stopped([&] { StartLogFile(host.ctx); });
    }
};

TEST_F(LogFileTest, RotatesWhenTheLevelsPeriodHasEnded) {
    struct Case {
        int level, rotate;
        std::string old;
        LocalTime now;
        bool rotated;
    };
    // clang-format off
    const Case cases[] = {
        {3, 2, Header("05-Dec-26 23:59:00"), {2026, 12, 6, 0, 1, 0}, true},
        {3, 2, Header("06-Dec-26 08:00:00") + "line\r\n", {2026, 12, 6, 23, 59, 59}, false},
        // Normal: another day of the same month keeps the file, the next month rotates.
        {2, 2, Header("30-Nov-26 10:00:00"), {2026, 11, 30, 23, 0, 0}, false},
        {2, 2, Header("30-Nov-26 10:00:00"), {2026, 12, 1, 0, 0, 5}, true},
        {2, 2, Header("01-Dec-26 00:00:05"), {2026, 11, 15, 9, 0, 0}, true},  // clock set back
        // Rotation off: the fourth line is never read.
        {3, 1, "old\r\n", {2027, 3, 1, 0, 0, 1}, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.old);
        fs::remove_all(LogDir());
        fs::create_directory(LogDir());
        host.rt.config.LogLevel = c.level;
        host.rt.config.LogRotate = c.rotate;
        host.folder.WriteFile(Log(), c.old);
        StartAt(c.now);
        const FileMap rotated{{"Vespar.log", Header(FormatDateTime(c.now))},
                              {"Vespar_A.log", c.old}};
        EXPECT_EQ(Files(), c.rotated ? rotated : FileMap({{"Vespar.log", c.old}}));
    }
    EXPECT_TRUE(host.dialogs.shown.empty());

    // Level None neither creates nor writes.
    fs::remove(Log());
    host.rt.config.LogLevel = 1;
    StartLogFile(host.ctx);
    WriteLogHeader(host.ctx, 0);
    EXPECT_TRUE(Files().empty());
}

TEST_F(LogFileTest, ThirdRotationDropsTheOldestGeneration) {
    host.rt.config.LogLevel = 3;
    host.rt.config.LogName = "my.run.log";  // split at the last dot
    for (int day = 1; day <= 4; ++day) {
        StartAt({2026, 12, day, 12, 0, 0});
        AppendToExisting(Log("my.run.log"), "day " + std::to_string(day) + "\r\n");
    }
    EXPECT_EQ(Files(), (FileMap{{"my.run_B.log", Header("02-Dec-26 12:00:00") + "day 2\r\n"},
                                {"my.run_A.log", Header("03-Dec-26 12:00:00") + "day 3\r\n"},
                                {"my.run.log", Header("04-Dec-26 12:00:00") + "day 4\r\n"}}));
}

TEST_F(LogFileTest, RotationFailuresEndTheProgramAndRenameNothing) {
    host.rt.config.LogLevel = 3;
    const struct {
        const char* name;
        std::string text;
        const char* busy = "";  // a folder that cannot be deleted
    } cases[] = {
        {"Vespar.log", "Vespar\r\nVersion 1.0\r\nFile Created\r\nyesterday\r\n"},
        {"Vespar.log", "Vespar\r\nVersion 1.0\r\nFile Created\r\n"},
        {"Vespar.log", Header("01-Dec-26 10:00:00"), "Vespar_B.log/busy"},
        {"VesparLog", Header("01-Dec-26 10:00:00")},  // no dot to split at
    };
    for (const auto& c : cases) {
        host.rt.config.LogName = c.name;
        host.folder.WriteFile(Log(c.name), c.text);
        if (*c.busy != '\0') fs::create_directories(Log(c.busy));
        EXPECT_EQ(StopsStarting(), (MessageBox{"Vespar Log File Error", Failure("rotate", c.name),
                                               Icon::Exclamation, Buttons::Ok}));
        EXPECT_EQ(Read(c.name), c.text);
    }
}

TEST_F(LogFileTest, CreationFailuresEndTheProgramAndLeaveNoFile) {
    // Missing folder: reported before any work.
    fs::remove_all(LogDir());
    EXPECT_EQ(StopsStarting().title, "Vespar Log Directory Error");
    EXPECT_FALSE(fs::exists(LogDir()));

    fs::create_directory(LogDir());
    host.rt.config.LogName = std::string(300, 'v') + ".log";  // longer than a file name may be
    EXPECT_EQ(StopsStarting().text, Failure("create", host.rt.config.LogName));

    if (!kDiskCanFill) GTEST_SKIP() << "no file size limit on this system";
    host.rt.config.LogName = "Vespar.log";
    // The disk fills up during the header.
    EXPECT_EQ(StoppedWhenFull(10, [&] { StartLogFile(host.ctx); }).text,
              Failure("create", "Vespar.log"));
    EXPECT_TRUE(Files().empty());
    // So the next start, with room again, creates it afresh.
    StartLogFile(host.ctx);
    EXPECT_EQ(Read(), Header("06-Dec-26 14:03:09"));
}

TEST_F(LogFileTest, CreatesTheFileWithItsHeaderAndLaterHeadersFollowTheLevel) {
    host.rt.programTitle = "Vespar Slave";
    host.rt.configSummary = "\r\nConfiguration\r\n-------------\r\nCPUDelay=600";
    StartLogFile(host.ctx);
    const std::string created =
        "Vespar Slave\r\nVersion 1.0\r\nFile Created\r\n06-Dec-26 14:03:09\r\n";
    EXPECT_EQ(Read(), created);
    EXPECT_EQ(LogFilePath(host.ctx), Log());
    const std::string normal = "Vespar Slave\r\nVersion 1.0\r\n06-Dec-26\r\n\r\n";
    WriteLogHeader(host.ctx, 0);
    EXPECT_EQ(Read(), created + normal);

    host.rt.config.LogLevel = 3;
    WriteLogHeader(host.ctx, 0);
    WriteLogHeader(host.ctx, 1);
    EXPECT_EQ(Read(), created + normal + "Vespar Slave\r\nVersion 1.0\r\n06-Dec-26\r\n" +
                          host.rt.configSummary + "\r\n\r\n" + "\r\n" + host.rt.configSummary +
                          "\r\n\r\n");
}

TEST_F(LogFileTest, HeaderWriteFailuresEndTheProgram) {
    if (!kDiskCanFill) GTEST_SKIP() << "no file size limit on this system";
    StartLogFile(host.ctx);
    fs::remove(Log());
    EXPECT_EQ(host.Stopped([&] { WriteLogHeader(host.ctx, 0); }).title, "Vespar Log File Error");
    EXPECT_FALSE(fs::exists(Log()));  // never silently recreated

    StartLogFile(host.ctx);
    EXPECT_EQ(StoppedWhenFull(fs::file_size(Log()), [&] { WriteLogHeader(host.ctx, 0); }),
              (MessageBox{"Vespar Log File Write Error", Failure("write to", "Vespar.log"),
                          Icon::Exclamation, Buttons::Ok}));
}

// The updater's own log: its folder and file are checked as the program's log is.
TEST_F(LogFileTest, UpdaterLogFaultsEndTheProgram) {
    UpdaterLogFile log{host.ctx};
    fs::remove_all(LogDir());
    EXPECT_EQ(host.Stopped([&] { log.Open(); }).title, "Vespar Log Directory Error");
    fs::create_directory(LogDir());
    host.folder.WriteFile(log.marker(), "");
#ifndef _WIN32  // a dangling link: the file is missing, yet cannot be made
    fs::create_symlink(LogDir() / "none" / "Updater.log", log.file());
    EXPECT_EQ(host.Stopped([&] { log.Open(); }),
              (MessageBox{"Updater Log File Error", Failure("create", "Updater.log"),
                          Icon::Exclamation, Buttons::Ok}));
    fs::remove(log.file());
#endif
    log.Open();
    fs::remove(log.file());  // gone during the check
    EXPECT_EQ(host.Stopped([&] { log.Write({"x"}); }).title, "Vespar Log File Error");

    if (!kDiskCanFill) GTEST_SKIP() << "no file size limit on this system";
    log.Open();
    EXPECT_EQ(StoppedWhenFull(fs::file_size(log.file()), [&] { log.Write({"x"}); }),
              (MessageBox{"Updater Log File Write Error", Failure("write to", "Updater.log"),
                          Icon::Exclamation, Buttons::Ok}));
}

}  // namespace
}  // namespace vespar::test