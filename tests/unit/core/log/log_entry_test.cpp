#include "log/log_entry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "log/log_file.h"
#include "log_test_support.h"

namespace vespar::test {
namespace {

class LogEntryTest : public LogTest {
  protected:
    std::string Line(const std::string& event, const std::string& state) const {
        return BuildLogLine(host.rt, host.clock.now(), event, state);
    }
};

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
    c.CPU_On = c.Key_On = 1;
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

    // Level None writes and checks nothing.
    host.rt.config.LogLevel = 1;
    fs::remove_all(LogDir());
    WriteLogEntry(host.ctx, "Enter", "Run");
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_FALSE(fs::exists(LogDir()));
}

}  // namespace
}  // namespace vespar::test
