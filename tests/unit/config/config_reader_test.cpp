#include "config/config_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/program_exit.h"
#include "fakes/fake_host.h"
#include "unit/config/config_test_support.h"

namespace vespar {
namespace {

using test::DefaultLines;
using test::ShippedConfiguration;
using test::WithKey;
using test::Without;

ConfigReadResult Parse(const std::vector<std::string>& lines) {
    return ParseConfiguration(lines, Configuration{});
}

// A summary row: the first entry in a 25-character column, then the second.
std::string Row(const std::string& first, const std::string& second = "") {
    return "\r\n" + first + std::string(25 - first.size(), ' ') + second;
}

TEST(ConfigReader, ShippedFileGivesRecordAndSummary) {
    const auto r = Parse(DefaultLines());
    EXPECT_FALSE(r.readError);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.config, ShippedConfiguration());
    const std::string expected =
        "\r\nConfiguration\r\n-------------"
        "\r\n\r\n[Comms]" +
        Row("ComDelay=60", "DName=1") + Row("IPAdd=", "Port1=10001") + Row("Port2=10000") +
        "\r\n\r\n[Run]" + Row("AvTime=5", "AvTimeD=5") + Row("CPUDelay=60", "CPULevel=20") +
        Row("CPU_On=2", "Del_On=1") + Row("DelTime=900", "DLDelay=60") +
        Row("DL_On=2", "DLRate=10") + Row("KeyDelay=600", "Key_On=2") +
        Row("LogLevel=2", "LogName=Vespar.log") + Row("LogPath=Log\\", "LogRotate=1") +
        Row("RunOnTop=1", "StartDelay=2") + Row("StartMin=1", "StartTime=1") +
        Row("StopTime=10000", "Stop_On=1") + Row("UpEnable=2") + "\r\n\r\n[Shutdown]" +
        Row("ForceS=2", "NoWarn=1") + Row("ShutTime=60", "ShutType=1") + Row("UserExitA=2") +
        "\r\n";
    EXPECT_EQ(r.summary, expected);
}

TEST(ConfigReader, KeysInAnyOrderAndSectionOnlyCount) {
    auto lines = DefaultLines();
    std::reverse(lines.begin(), lines.end());
    auto r = Parse(lines);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.config, ShippedConfiguration());

    // All sections first, then the keys.
    lines = Without(Without(Without(DefaultLines(), "[Comms]"), "[Run]"), "[Shutdown]");
    lines.insert(lines.begin(), {"[Shutdown]", "[Run]", "[Comms]"});
    r = Parse(lines);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.config, ShippedConfiguration());
}

TEST(ConfigReader, CountersCountLinesNotKeys) {
    Configuration previous = ShippedConfiguration();
    previous.KeyDelay = 1234;

    auto r = ParseConfiguration(Without(DefaultLines(), "KeyDelay="), previous);
    EXPECT_EQ(r.keyCount, 1);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.config.KeyDelay, 1234);  // kept from before

    // A duplicated key makes up for the missing one; the last line wins.
    auto lines = Without(DefaultLines(), "KeyDelay=");
    lines.push_back("CPULevel=30");
    r = ParseConfiguration(lines, previous);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.KeyDelay, 1234);
    EXPECT_EQ(r.config.CPULevel, 30);

    lines = DefaultLines();
    lines.push_back("NoWarn=2");
    EXPECT_EQ(Parse(lines).keyCount, -1);

    r = Parse(Without(DefaultLines(), "[Run]"));
    EXPECT_EQ(r.sectionCount, 1);
    EXPECT_EQ(r.keyCount, 0);
    // Sections are exact and case-sensitive; keys too.
    lines = Without(DefaultLines(), "[Run]");
    lines.push_back("[run]");
    lines.push_back("[Run] ");  // trimmed: counts
    lines.push_back("cpulevel=20");
    lines.push_back("Unknown=5");
    r = Parse(lines);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.keyCount, 0);
}

TEST(ConfigReader, OldKeys) {
    // "Force=" in place of "ForceS=": its count is given back, so one key is missing.
    auto lines = Without(DefaultLines(), "ForceS=");
    lines.push_back("Force=2");
    auto r = Parse(lines);
    EXPECT_EQ(r.keyCount, 1);
    EXPECT_EQ(r.config.ForceS, 2);

    lines = WithKey(DefaultLines(), "ForceS", "1");
    lines.push_back("Force=2");
    r = Parse(lines);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.ForceS, 2);

    // An old force value outside 1..2 is not converted and keeps standing in for a key.
    lines = Without(DefaultLines(), "ForceS=");
    lines.push_back("Force=3");
    r = ParseConfiguration(lines, ShippedConfiguration());
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.ForceS, 2);

    // "UserExit=" has the opposite numbering and wins over "UserExitA=".
    lines = WithKey(DefaultLines(), "UserExitA", "1");
    lines.push_back("UserExit=1");
    r = Parse(lines);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.UserExitA, 2);

    lines = DefaultLines();
    lines.push_back("UserExit=2");
    EXPECT_EQ(Parse(lines).config.UserExitA, 1);

    lines = DefaultLines();
    lines.push_back("UserExit=3");
    r = Parse(lines);
    EXPECT_EQ(r.config.UserExitA, 0);
    EXPECT_EQ(r.keyCount, 0);
}

TEST(ConfigReader, SlaveShowsCommsDelayInTheSummary) {
    auto lines = WithKey(DefaultLines(), "CMain", "2");
    lines = WithKey(lines, "CPUDelay", "45.0");
    auto r = Parse(lines);
    EXPECT_EQ(r.config.CPUDelay, 45);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_NE(r.summary.find(Row("CommsDelay=45", "CPULevel=20")), std::string::npos);
    EXPECT_EQ(r.summary.find("CPUDelay="), std::string::npos);
    EXPECT_EQ(r.summary.find("CMain="), std::string::npos);

    // CMain read only after the CPU delay: no rewrite.
    lines = Without(WithKey(DefaultLines(), "CPUDelay", "45"), "CMain=");
    lines.push_back("CMain=2");
    r = Parse(lines);
    EXPECT_EQ(r.config.CMain, 2);
    EXPECT_NE(r.summary.find("CPUDelay=45"), std::string::npos);
    EXPECT_EQ(r.summary.find("CommsDelay="), std::string::npos);
}

TEST(ConfigReader, NumbersMustFitTheirFields) {
    EXPECT_TRUE(Parse(WithKey(DefaultLines(), "CPUDelay", "40000")).readError);
    EXPECT_TRUE(Parse(WithKey(DefaultLines(), "CPUDelay", "-32769")).readError);
    EXPECT_TRUE(Parse(WithKey(DefaultLines(), "CPUDelay", "32767.5")).readError);  // 32768
    auto r = Parse(WithKey(DefaultLines(), "CPUDelay", "32766.5"));
    EXPECT_FALSE(r.readError);
    EXPECT_EQ(r.config.CPUDelay, 32766);

    r = Parse(WithKey(DefaultLines(), "Port1", "70000"));
    EXPECT_FALSE(r.readError);
    EXPECT_EQ(r.config.Port1, 70000);
    EXPECT_TRUE(Parse(WithKey(DefaultLines(), "Port2", "2147483648")).readError);
    // The old keys' holders are Integers too.
    auto lines = DefaultLines();
    lines.push_back("Force=99999");
    EXPECT_TRUE(Parse(lines).readError);

    // Taking the offset off a stop time that is already very low leaves the Integer range.
    EXPECT_TRUE(Parse(WithKey(DefaultLines(), "StopTime", "-30000")).readError);
    EXPECT_FALSE(Parse(WithKey(DefaultLines(), "StopTime", "-22768")).readError);
}

TEST(ConfigReader, ValuesAndTimes) {
    auto r = Parse(WithKey(DefaultLines(), "LogPath", ""));
    EXPECT_EQ(r.config.LogPath, "Log\\");

    r = Parse(WithKey(DefaultLines(), "StopTime", "10830"));
    EXPECT_EQ(r.config.StopTime, 830);

    auto lines = WithKey(DefaultLines(), "StartTime", "2");
    EXPECT_EQ(Parse(WithKey(lines, "StartDelay", "10830")).config.StartDelay, 830);
    EXPECT_EQ(Parse(WithKey(lines, "StartDelay", "830")).config.StartDelay, 830);
    EXPECT_EQ(Parse(WithKey(lines, "StartDelay", "10000")).config.StartDelay, 0);
    EXPECT_EQ(Parse(WithKey(DefaultLines(), "StartDelay", "10830")).config.StartDelay, 10830);

    EXPECT_EQ(Parse(WithKey(DefaultLines(), "AvTime", "5.5")).config.AvTime, 6);
    EXPECT_EQ(Parse(WithKey(DefaultLines(), "AvTime", "2.5")).config.AvTime, 2);
    EXPECT_EQ(Parse(WithKey(DefaultLines(), "AvTime", " 1 2abc")).config.AvTime, 12);
    EXPECT_EQ(Parse(WithKey(DefaultLines(), "AvTime", "&H1F")).config.AvTime, 31);
    EXPECT_EQ(Parse(WithKey(DefaultLines(), "CPU_On", "")).config.CPU_On, 0);

    // Text values keep inner and leading blanks; the line's ends are trimmed.
    r = Parse(WithKey(DefaultLines(), "IPAdd", " my  host  "));
    EXPECT_EQ(r.config.IPAdd, " my  host");
    r = Parse(WithKey(DefaultLines(), "LogName", "Vespar.log\t"));
    EXPECT_EQ(r.config.LogName, "Vespar.log\t");
}

TEST(ConfigReader, CommentsAndBlankLines) {
    // A "#" at the start hides the key; after a blank it does not make a comment.
    auto lines = Without(DefaultLines(), "KeyDelay=");
    lines.push_back("#KeyDelay=600");
    EXPECT_EQ(Parse(lines).keyCount, 1);
    lines = Without(DefaultLines(), "KeyDelay=");
    lines.push_back("   KeyDelay=700   ");
    auto r = Parse(lines);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.KeyDelay, 700);
    // Only spaces are trimmed.
    lines = Without(DefaultLines(), "KeyDelay=");
    lines.push_back("\tKeyDelay=700");
    EXPECT_EQ(Parse(lines).keyCount, 1);

    // A blank-only line and a " #" line each take a summary entry (the blank one shorter).
    lines = {"[Comms]", "   ", " # note", "ComDelay=60"};
    r = Parse(lines);
    EXPECT_EQ(r.summary, std::string(kConfigSummaryHeader) + "\r\n\r\n[Comms]" + "\r\n" +
                             std::string(19, ' ') + "# note" + Row("ComDelay=60") + "\r\n");

    // A line of 24 characters or more takes a row of its own.
    lines = {"AvTime=5", "LogPath=C:\\Programs\\Logs\\", "AvTimeD=5", "CPUDelay=60"};
    r = Parse(lines);
    EXPECT_EQ(r.summary, std::string(kConfigSummaryHeader) + Row("AvTime=5") +
                             "\r\nLogPath=C:\\Programs\\Logs\\" + Row("AvTimeD=5", "CPUDelay=60") +
                             "\r\n");
}

struct ReadConfigurationTest : ::testing::Test {
    test::FakeHost host;
    Timer& refresh = host.timers.Create("tmrRefresh", 500, [] {});

    void SetUp() override {
        refresh.SetEnabled(true);
        host.rt.trayIconShown = true;
    }
    void WriteLines(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        host.folder.WriteFile(host.folder.ini(), text);
    }
    // Reads a file that must stop the program; the one box shown.
    MessageBox Stopped() {
        const std::string before = host.folder.ReadFile(host.folder.ini());
        EXPECT_THROW(ReadConfiguration(host.ctx), ProgramExit);
        EXPECT_FALSE(refresh.enabled());
        EXPECT_FALSE(host.rt.trayIconShown);
        EXPECT_EQ(host.dialogs.shown.size(), 1u);
        // Nothing written on the way out.
        EXPECT_EQ(host.folder.ReadFile(host.folder.ini()), before);
        EXPECT_TRUE(std::filesystem::is_empty(host.folder.path() / "Log"));
        return host.dialogs.shown.empty() ? MessageBox{} : host.dialogs.shown.back();
    }
};

TEST_F(ReadConfigurationTest, ShippedFileReads) {
    ReadConfiguration(host.ctx);
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_EQ(host.rt.config, ShippedConfiguration());
    EXPECT_EQ(host.rt.configSummary, Parse(DefaultLines()).summary);
    EXPECT_TRUE(refresh.enabled());
}

TEST_F(ReadConfigurationTest, MissingKeyIsCorrupted) {
    WriteLines(Without(DefaultLines(), "NoWarn="));
    auto box = Stopped();
    EXPECT_EQ(box.title, "Vespar Configuration File Error");
    EXPECT_EQ(box.text, test::kCorrupted);
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.buttons, Buttons::Ok);
}

TEST_F(ReadConfigurationTest, SwitchShowsTheCounts) {
    host.rt.cmdSwitch = 2;
    WriteLines(Without(DefaultLines(), "NoWarn="));
    EXPECT_EQ(Stopped().text, std::string("0Section Errors\r\n1Key Errors\r\n") + test::kCorrupted);

    host.dialogs.shown.clear();
    auto lines = Without(DefaultLines(), "[Shutdown]");
    lines.push_back("NoWarn=1");
    WriteLines(lines);
    EXPECT_EQ(Stopped().text,
              std::string("1Section Errors\r\n-1Key Errors\r\n") + test::kCorrupted);
}

TEST_F(ReadConfigurationTest, NumberTooBigIsAReadError) {
    const Configuration before = host.rt.config;
    WriteLines(WithKey(DefaultLines(), "CPUDelay", "40000"));
    host.rt.programTitle = "Vespar";
    const auto box = Stopped();
    EXPECT_EQ(box.title, "Vespar Configuration File Read Error");
    EXPECT_EQ(box.text,
              "Unable to read the configuration file.\r\nThis may be a permissions problem.\r\n"
              "The program will now terminate.");
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_EQ(host.rt.config, before);
}

TEST_F(ReadConfigurationTest, MissingFileOrFolderUsesTheStartupChecks) {
    std::filesystem::remove(host.folder.ini());
    EXPECT_EQ(Stopped().title, "Vespar Configuration File Error");
    EXPECT_NE(host.dialogs.shown.back().text.find("missing"), std::string::npos);

    host.dialogs.shown.clear();
    std::filesystem::remove_all(host.folder.path() / "Data");
    EXPECT_THROW(ReadConfiguration(host.ctx), ProgramExit);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown.back().title, "Vespar Data Directory Error");
}

TEST_F(ReadConfigurationTest, UnreadableFileIsAReadError) {
    namespace fs = std::filesystem;
    fs::permissions(host.folder.ini(), fs::perms::none);
    if (std::ifstream(host.folder.ini())) {
        GTEST_SKIP() << "running with rights that read any file";
    }
    EXPECT_THROW(ReadConfiguration(host.ctx), ProgramExit);
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown.back().title, "Vespar Configuration File Read Error");
}

}  // namespace
}  // namespace vespar
