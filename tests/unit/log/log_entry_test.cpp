#include "log/log_entry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/program_exit.h"
#include "log/log_file.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

namespace fs = std::filesystem;

class LogEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpLog(host, 2);
        host.clock.Set({2026, 12, 6, 14, 3, 9});
    }
    std::string Line(const std::string& event, const std::string& state) const {
        return BuildLogLine(host.rt, host.clock.now(), event, state);
    }
    fs::path Log() const { return LogDir(host) / "Vespar.log"; }
    std::string Read() const { return host.folder.ReadFile(Log()); }

    FakeHost host;
};

TEST_F(LogEntryTest, NormalLineHasFixedColumns) {
    const std::string line = Line("Enter", "Run");
    EXPECT_EQ(line, "14:03:09,  Enter    , Run       , Count:    0");
    ASSERT_EQ(line.size(), 45u);
    EXPECT_EQ(line.substr(0, 8), "14:03:09");
    EXPECT_EQ(line.substr(8, 2), ", ");
    EXPECT_EQ(line.substr(10, 10), " Enter    ");
    EXPECT_EQ(line.substr(22, 10), "Run       ");
    EXPECT_EQ(line.substr(32, 8), ", Count:");
    EXPECT_EQ(line.substr(40, 5), "    0");

    // Long words are cut, the count keeps its rightmost five characters.
    host.rt.stateSeconds = 123456;
    EXPECT_EQ(Line("----------", "----------"), "14:03:09,  ---------, ----------, Count:23456");
    EXPECT_EQ(Line("Simulate", "Hibernate"), "14:03:09,  Simulate , Hibernate , Count:23456");
    host.rt.stateSeconds = 2.5f;
    EXPECT_EQ(Line("Run", ""), "14:03:09,  Run      ,           , Count:  2.5");

    // Every line of a test run carries the marker.
    host.rt.testMode = true;
    host.rt.stateSeconds = 42;
    EXPECT_EQ(Line("Enter", "Test"), "14:03:09, *Enter    , Test      , Count:   42");
    EXPECT_EQ(Line("InactiveXY", "Run").substr(10, 10), "*InactiveX");
}

TEST_F(LogEntryTest, FullLineAddsTheEnabledMeasurements) {
    auto& c = host.rt.config;
    c.LogLevel = 3;
    host.rt.cpuText = " 12%";
    host.rt.avCpuText = "  8%";
    host.rt.downloadText = "  1.500 KB/s";
    host.rt.keyMouseText = " Key/Mouse";
    host.rt.commsText = "Comms OK";
    const std::string base = "14:03:09,  Run      ,           , Count:    0";

    // All checks off and no partner: the Normal layout.
    c.IPAdd = "1.2";
    EXPECT_EQ(Line("Run", ""), base);

    c.CPU_On = c.DL_On = c.Key_On = 2;
    c.IPAdd = "10.0.0.2";
    EXPECT_EQ(Line("Run", ""),
              base + ", CPU: 12%, Av CPU:  8%, DL:   1.500 KB/s, Key/Mouse Comms OK");

    c.CPU_On = 1;
    c.Key_On = 1;
    c.IPAdd = "abc";
    EXPECT_EQ(Line("Run", ""), base + ", DL:   1.500 KB/s");

    // The Normal level never writes them.
    c.LogLevel = 2;
    c.CPU_On = 2;
    c.IPAdd = "10.0.0.2";
    EXPECT_EQ(Line("Run", ""), base);
}

TEST_F(LogEntryTest, EntriesAreAppendedWithSeparatorAndDayMark) {
    StartLogFile(host.ctx);
    const std::string created = Read();
    // Program start: the empty separator gives two empty lines.
    WriteLogEntry(host.ctx, "", "");
    WriteLogEntry(host.ctx, "Start", "Initialise");
    host.clock.Set({2026, 12, 7, 0, 0, 0});
    WriteLogEntry(host.ctx, "Run", "");
    host.clock.Set({2026, 12, 7, 0, 0, 1});
    WriteLogEntry(host.ctx, "Run", "");
    EXPECT_EQ(Read(), created + "\r\n\r\n" +
                          "14:03:09,  Start    , Initialise, Count:    0\r\n"
                          "\r\n07-Dec-26\r\n---------\r\n"
                          "00:00:00,  Run      ,           , Count:    0\r\n"
                          "00:00:01,  Run      ,           , Count:    0\r\n");
    EXPECT_EQ(host.rt.logLineBuffer, "00:00:01,  Run      ,           , Count:    0");
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(LogEntryTest, LevelNoneWritesAndChecksNothing) {
    host.rt.config.LogLevel = 1;
    fs::remove_all(LogDir(host));
    WriteLogEntry(host.ctx, "Enter", "Run");
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_FALSE(fs::exists(LogDir(host)));
}

TEST_F(LogEntryTest, MissingOrUnwritableLogEndsTheProgram) {
    StartLogFile(host.ctx);
    fs::remove(Log());
    EXPECT_THROW(WriteLogEntry(host.ctx, "Enter", "Run"), ProgramExit);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0].title, "Vespar Log File Error");
    EXPECT_EQ(host.dialogs.shown[0].text,
              "The log file is either missing or\r\ncorrupted. Delete the log file if\r\n"
              "it exists and restart the program.\r\nThe program will now terminate.");
    EXPECT_FALSE(fs::exists(Log()));

    StartLogFile(host.ctx);
    host.dialogs.shown.clear();
    {
        FileSizeLimit full(fs::file_size(Log()));
        EXPECT_THROW(WriteLogEntry(host.ctx, "Enter", "Run"), ProgramExit);
    }
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0].title, "Vespar Log File Write Error");
    EXPECT_EQ(host.dialogs.shown[0].text,
              "Unable to write to the log file Vespar.log.\r\nThis may be a permissions "
              "problem.\r\nThe program will now terminate.");
}

TEST_F(LogEntryTest, ReadOnlyLogFileStopsEntries) {
    if (!PermissionsApply()) GTEST_SKIP() << "write permissions do not bind the superuser";
    StartLogFile(host.ctx);
    fs::permissions(Log(), fs::perms::owner_read);
    EXPECT_THROW(WriteLogEntry(host.ctx, "Enter", "Run"), ProgramExit);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0].title, "Vespar Log File Write Error");
}

}  // namespace
}  // namespace vespar::test
