#include "log/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text_file.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

namespace fs = std::filesystem;

// The text of a fatal log box for the file and what could not be done with it.
std::string Failure(const std::string& what, const std::string& file) {
    return "Unable to " + what + " the log file " + file +
           ".\r\nThis may be a permissions problem.\r\nThe program will now terminate.";
}

class LogFileTest : public LogTest {
  protected:
    LogFileTest() { host.clock.Set({2026, 12, 6, 14, 3, 9}); }
    static std::string Header(const std::string& when) {
        return "Vespar\r\nVersion 1.0\r\nFile Created\r\n" + when + "\r\n";
    }
    void StartAt(const LocalTime& when) {
        host.clock.Set(when);
        StartLogFile(host.ctx);
    }
};

TEST_F(LogFileTest, CreatesTheFileWithItsHeaderOnce) {
    host.rt.programTitle = "Vespar Slave";
    StartLogFile(host.ctx);
    EXPECT_EQ(Read(), "Vespar Slave\r\nVersion 1.0\r\nFile Created\r\n06-Dec-26 14:03:09\r\n");
    EXPECT_EQ(LogFilePath(host.ctx), Log());

    // A later start in the same period leaves the file as it is.
    host.folder.WriteFile(Log(), Header("06-Dec-26 08:00:00") + "line\r\n");
    host.rt.config.LogLevel = 3;
    StartAt({2026, 12, 6, 23, 59, 59});
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", Header("06-Dec-26 08:00:00") + "line\r\n"}}));
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(LogFileTest, LevelNoneAndRotationOffLeaveFilesAlone) {
    host.rt.config.LogLevel = 1;
    StartLogFile(host.ctx);
    WriteLogHeader(host.ctx, 0);
    EXPECT_TRUE(Files().empty());

    // Rotation off: the fourth line is never read, so a header that is not a date is fine.
    host.rt.config.LogLevel = 3;
    host.rt.config.LogRotate = 1;
    host.folder.WriteFile(Log(), "old\r\n");
    StartAt({2027, 3, 1, 0, 0, 1});
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", "old\r\n"}}));
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(LogFileTest, FullRotatesAcrossADayAndNormalAcrossAMonth) {
    host.rt.config.LogLevel = 3;
    host.folder.WriteFile(Log(), Header("05-Dec-26 23:59:00"));
    StartAt({2026, 12, 6, 0, 1, 0});
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", Header("06-Dec-26 00:01:00")},
                                {"Vespar_A.log", Header("05-Dec-26 23:59:00")}}));

    // Normal: another day of the same month keeps the file, the first of the next rotates.
    host.rt.config.LogLevel = 2;
    host.folder.WriteFile(Log(), Header("30-Nov-26 10:00:00"));
    fs::remove(Log("Vespar_A.log"));
    StartAt({2026, 11, 30, 23, 0, 0});
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", Header("30-Nov-26 10:00:00")}}));
    StartAt({2026, 12, 1, 0, 0, 5});
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", Header("01-Dec-26 00:00:05")},
                                {"Vespar_A.log", Header("30-Nov-26 10:00:00")}}));

    // A clock set back into the previous month rotates as well.
    StartAt({2026, 11, 15, 9, 0, 0});
    EXPECT_EQ(Files(), (FileMap{{"Vespar.log", Header("15-Nov-26 09:00:00")},
                                {"Vespar_A.log", Header("01-Dec-26 00:00:05")},
                                {"Vespar_B.log", Header("30-Nov-26 10:00:00")}}));
    EXPECT_TRUE(host.dialogs.shown.empty());
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

TEST_F(LogFileTest, RotationFailuresEndTheProgram) {
    host.rt.config.LogLevel = 3;
    // The date line is not a date, or missing.
    host.folder.WriteFile(Log(), "Vespar\r\nVersion 1.0\r\nFile Created\r\nyesterday\r\n");
    EXPECT_EQ(host.Stopped([&] { StartLogFile(host.ctx); }),
              (MessageBox{"Vespar Log File Error", Failure("rotate", "Vespar.log"),
                          Icon::Exclamation, Buttons::Ok}));
    host.folder.WriteFile(Log(), "Vespar\r\nVersion 1.0\r\nFile Created\r\n");
    EXPECT_EQ(host.Stopped([&] { StartLogFile(host.ctx); }).text, Failure("rotate", "Vespar.log"));

    // The oldest generation cannot be deleted: nothing is renamed.
    host.folder.WriteFile(Log(), Header("01-Dec-26 10:00:00"));
    fs::create_directories(Log("Vespar_B.log") / "busy");
    EXPECT_EQ(host.Stopped([&] { StartLogFile(host.ctx); }).text, Failure("rotate", "Vespar.log"));
    EXPECT_EQ(Read(), Header("01-Dec-26 10:00:00"));

    // A name without a dot cannot be split, once a rotation is due.
    host.rt.config.LogName = "VesparLog";
    host.folder.WriteFile(Log("VesparLog"), Header("01-Dec-26 10:00:00"));
    EXPECT_EQ(host.Stopped([&] { StartLogFile(host.ctx); }).text, Failure("rotate", "VesparLog"));
    EXPECT_TRUE(fs::exists(Log("VesparLog")));
}

TEST_F(LogFileTest, CreationFailuresEndTheProgram) {
    // Missing folder: reported before any work.
    fs::remove_all(LogDir());
    EXPECT_EQ(host.Stopped([&] { StartLogFile(host.ctx); }).title, "Vespar Log Directory Error");
    EXPECT_FALSE(fs::exists(LogDir()));

    fs::create_directory(LogDir());
    host.rt.config.LogName = std::string(300, 'v') + ".log";  // longer than a file name may be
    const MessageBox box = host.Stopped([&] { StartLogFile(host.ctx); });
    EXPECT_EQ(box.title, "Vespar Log File Error");
    EXPECT_EQ(box.text, Failure("create", host.rt.config.LogName));
}

TEST_F(LogFileTest, HeadersFollowTheLevel) {
    host.rt.configSummary = "\r\nConfiguration\r\n-------------\r\nCPUDelay=600";
    StartLogFile(host.ctx);
    const std::string created = Read();
    const std::string normal = "Vespar\r\nVersion 1.0\r\n06-Dec-26\r\n\r\n";
    WriteLogHeader(host.ctx, 0);
    EXPECT_EQ(Read(), created + normal);

    host.rt.config.LogLevel = 3;
    WriteLogHeader(host.ctx, 0);
    WriteLogHeader(host.ctx, 1);
    EXPECT_EQ(Read(), created + normal + "Vespar\r\nVersion 1.0\r\n06-Dec-26\r\n" +
                          host.rt.configSummary + "\r\n\r\n" + "\r\n" + host.rt.configSummary +
                          "\r\n\r\n");
}

TEST_F(LogFileTest, HeaderWriteFailuresEndTheProgram) {
    if (!FileSizeLimit::Available()) GTEST_SKIP() << "no file size limit on this system";
    StartLogFile(host.ctx);
    fs::remove(Log());
    MessageBox box = host.Stopped([&] { WriteLogHeader(host.ctx, 0); });
    EXPECT_EQ(box.title, "Vespar Log File Error");
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_FALSE(fs::exists(Log()));  // never silently recreated

    StartLogFile(host.ctx);
    {
        FileSizeLimit full(fs::file_size(Log()));
        box = host.Stopped([&] { WriteLogHeader(host.ctx, 0); });
    }
    EXPECT_EQ(box.title, "Vespar Log File Write Error");
    EXPECT_EQ(box.text, Failure("write to", "Vespar.log"));
}

TEST_F(LogFileTest, AFailedCreationLeavesNoFileBehind) {
    if (!FileSizeLimit::Available()) GTEST_SKIP() << "no file size limit on this system";
    {
        FileSizeLimit full(10);  // the disk fills up during the header
        const MessageBox box = host.Stopped([&] { StartLogFile(host.ctx); });
        EXPECT_EQ(box.text, Failure("create", "Vespar.log"));
    }
    EXPECT_TRUE(Files().empty());
    // So the next start, with room again, creates it afresh.
    StartLogFile(host.ctx);
    EXPECT_EQ(Read(), Header("06-Dec-26 14:03:09"));
}

}  // namespace
}  // namespace vespar::test
