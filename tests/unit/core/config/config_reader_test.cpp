#include "config/config_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "fakes/running_host.h"
#include "unit/core/config/config_test_support.h"

namespace vespar {
namespace {

using test::DefaultLines;
using test::Plus;
using test::ShippedConfiguration;
using test::WithKey;
using test::Without;

ConfigReadResult Parse(const std::vector<std::string>& lines) {
    return ParseConfiguration(lines, Configuration{});
}

// The shipped lines with one key given a new value, parsed.
ConfigReadResult ParseWith(const std::string& key, const std::string& value) {
    return Parse(WithKey(DefaultLines(), key, value));
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
    // Reversed, every key stands before its own section or under another one.
    auto reversed = DefaultLines();
    std::reverse(reversed.begin(), reversed.end());
    const auto r = Parse(reversed);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.config, ShippedConfiguration());
}

TEST(ConfigReader, CountersCountLinesNotKeys) {
    Configuration previous = ShippedConfiguration();
    previous.KeyDelay = 1234;
    const auto noKeyDelay = Without(DefaultLines(), "KeyDelay=");
    auto r = ParseConfiguration(noKeyDelay, previous);
    EXPECT_EQ(r.keyCount, 1);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.config.KeyDelay, 1234);  // kept from before

    // A duplicated key makes up for the missing one; the last line wins.
    r = ParseConfiguration(Plus(noKeyDelay, {"CPULevel=30"}), previous);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.KeyDelay, 1234);
    EXPECT_EQ(r.config.CPULevel, 30);
    EXPECT_EQ(Parse(Plus(DefaultLines(), {"NoWarn=2"})).keyCount, -1);

    r = Parse(Without(DefaultLines(), "[Run]"));
    EXPECT_EQ(r.sectionCount, 1);
    EXPECT_EQ(r.keyCount, 0);
    // Sections are exact and case-sensitive, keys too; "[Run] " is trimmed and counts.
    r = Parse(
        Plus(Without(DefaultLines(), "[Run]"), {"[run]", "[Run] ", "cpulevel=20", "Unknown=5"}));
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_EQ(r.keyCount, 0);
}

TEST(ConfigReader, OldKeys) {
    // "Force=" in place of "ForceS=": its count is given back, so one key is missing.
    const auto noForceS = Without(DefaultLines(), "ForceS=");
    auto r = Parse(Plus(noForceS, {"Force=2"}));
    EXPECT_EQ(r.keyCount, 1);
    EXPECT_EQ(r.config.ForceS, 2);
    r = Parse(Plus(WithKey(DefaultLines(), "ForceS", "1"), {"Force=2"}));
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.ForceS, 2);

    // An old force value outside 1..2 is not converted and keeps standing in for a key.
    r = ParseConfiguration(Plus(noForceS, {"Force=3"}), ShippedConfiguration());
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.ForceS, 2);

    // "UserExit=" has the opposite numbering and wins over "UserExitA=".
    r = Parse(Plus(WithKey(DefaultLines(), "UserExitA", "1"), {"UserExit=1"}));
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.UserExitA, 2);
    EXPECT_EQ(Parse(Plus(DefaultLines(), {"UserExit=2"})).config.UserExitA, 1);
    r = Parse(Plus(DefaultLines(), {"UserExit=3"}));
    EXPECT_EQ(r.config.UserExitA, 0);
    EXPECT_EQ(r.keyCount, 0);
}

TEST(ConfigReader, SlaveShowsCommsDelayInTheSummary) {
    auto r = Parse(WithKey(WithKey(DefaultLines(), "CMain", "2"), "CPUDelay", "45.0"));
    EXPECT_EQ(r.config.CPUDelay, 45);
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_NE(r.summary.find(Row("CommsDelay=45", "CPULevel=20")), std::string::npos);
    EXPECT_EQ(r.summary.find("CPUDelay="), std::string::npos);
    EXPECT_EQ(r.summary.find("CMain="), std::string::npos);

    // CMain read only after the CPU delay: no rewrite.
    r = Parse(Plus(Without(WithKey(DefaultLines(), "CPUDelay", "45"), "CMain="), {"CMain=2"}));
    EXPECT_EQ(r.config.CMain, 2);
    EXPECT_NE(r.summary.find("CPUDelay=45"), std::string::npos);
    EXPECT_EQ(r.summary.find("CommsDelay="), std::string::npos);
}

TEST(ConfigReader, NumbersMustFitTheirFields) {
    // 32767.5 rounds to 32768; the old keys' holders are Integers too; taking the offset off
    // a stop time that is already very low leaves the Integer range.
    for (const auto& [key, value] : {std::pair{"CPUDelay", "40000"},
                                     {"CPUDelay", "-32769"},
                                     {"CPUDelay", "32767.5"},
                                     {"Port2", "2147483648"},
                                     {"CPUDelay", "1E999"},
                                     {"Port1", "&H100000000"},
                                     {"StopTime", "-30000"}}) {
        EXPECT_TRUE(ParseWith(key, value).readError) << key << "=" << value;
    }
    EXPECT_TRUE(Parse(Plus(DefaultLines(), {"Force=99999"})).readError);
    EXPECT_FALSE(ParseWith("StopTime", "-22768").readError);
    auto r = ParseWith("CPUDelay", "32766.5");
    EXPECT_FALSE(r.readError);
    EXPECT_EQ(r.config.CPUDelay, 32766);
    r = ParseWith("Port1", "70000");
    EXPECT_FALSE(r.readError);
    EXPECT_EQ(r.config.Port1, 70000);
}

TEST(ConfigReader, ValuesAndTimes) {
    EXPECT_EQ(ParseWith("LogPath", "").config.LogPath, "Log\\");
    EXPECT_EQ(ParseWith("StopTime", "10830").config.StopTime, 830);
    auto lines = WithKey(DefaultLines(), "StartTime", "2");
    EXPECT_EQ(Parse(WithKey(lines, "StartDelay", "10830")).config.StartDelay, 830);
    EXPECT_EQ(Parse(WithKey(lines, "StartDelay", "830")).config.StartDelay, 830);
    EXPECT_EQ(Parse(WithKey(lines, "StartDelay", "10000")).config.StartDelay, 0);
    EXPECT_EQ(ParseWith("StartDelay", "10830").config.StartDelay, 10830);

    // How numbers are read and rounded is the number reader's; here only that it is used.
    EXPECT_EQ(ParseWith("AvTime", " 5.5x").config.AvTime, 6);
    EXPECT_EQ(ParseWith("CPU_On", "").config.CPU_On, 0);

    // Text values keep inner and leading blanks; the line's ends are trimmed.
    EXPECT_EQ(ParseWith("IPAdd", " my  host  ").config.IPAdd, " my  host");
    EXPECT_EQ(ParseWith("LogName", "Vespar.log\t").config.LogName, "Vespar.log\t");
}

TEST(ConfigReader, CommentsAndBlankLines) {
    // A "#" at the start hides the key; after a blank it does not make a comment. Only
    // spaces are trimmed.
    const auto noKeyDelay = Without(DefaultLines(), "KeyDelay=");
    EXPECT_EQ(Parse(Plus(noKeyDelay, {"#KeyDelay=600"})).keyCount, 1);
    auto r = Parse(Plus(noKeyDelay, {"   KeyDelay=700   "}));
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.config.KeyDelay, 700);
    EXPECT_EQ(Parse(Plus(noKeyDelay, {"\tKeyDelay=700"})).keyCount, 1);

    // A blank-only line and a " #" line each take a summary entry (the blank one shorter).
    EXPECT_EQ(Parse({"[Comms]", "   ", " # note", "ComDelay=60"}).summary,
              std::string(kConfigSummaryHeader) + "\r\n\r\n[Comms]" + "\r\n" +
                  std::string(19, ' ') + "# note" + Row("ComDelay=60") + "\r\n");
    // A line of 24 characters or more takes a row of its own.
    EXPECT_EQ(
        Parse({"AvTime=5", "LogPath=C:\\Programs\\Logs\\", "AvTimeD=5", "CPUDelay=60"}).summary,
        std::string(kConfigSummaryHeader) + Row("AvTime=5") + "\r\nLogPath=C:\\Programs\\Logs\\" +
            Row("AvTimeD=5", "CPUDelay=60") + "\r\n");
}

struct ReadConfigurationTest : ::testing::Test {
    test::RunningHost host;

    void WriteLines(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        host.folder.WriteFile(host.folder.ini(), text);
    }
    // Reads a file that must stop the program, writing nothing on the way out; the box shown.
    MessageBox Stopped() {
        const std::string before = host.folder.ReadFile(host.folder.ini());
        const MessageBox box = host.Stopped([&] { ReadConfiguration(host.ctx); });
        EXPECT_EQ(host.folder.ReadFile(host.folder.ini()), before);
        EXPECT_TRUE(std::filesystem::is_empty(host.folder.path() / "Log"));
        return box;
    }
};

TEST_F(ReadConfigurationTest, ShippedFileReadsAMissingKeyIsCorruptedAndTheSwitchShowsCounts) {
    ReadConfiguration(host.ctx);
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_EQ(host.rt.config, ShippedConfiguration());
    EXPECT_EQ(host.rt.configSummary, Parse(DefaultLines()).summary);
    EXPECT_TRUE(host.Running());

    WriteLines(Without(DefaultLines(), "NoWarn="));
    EXPECT_EQ(Stopped(), (MessageBox{"Vespar Configuration File Error", test::kCorrupted,
                                     Icon::Critical, Buttons::Ok}));

    host.rt.cmdSwitch = 2;
    EXPECT_EQ(Stopped().text, std::string("0Section Errors\r\n1Key Errors\r\n") + test::kCorrupted);
    WriteLines(Plus(Without(DefaultLines(), "[Shutdown]"), {"NoWarn=1"}));
    EXPECT_EQ(Stopped().text,
              std::string("1Section Errors\r\n-1Key Errors\r\n") + test::kCorrupted);
}

const MessageBox kReadError{"Vespar Configuration File Read Error",
                            "Unable to read the configuration file.\r\nThis may be a "
                            "permissions problem.\r\nThe program will now terminate.",
                            Icon::Exclamation, Buttons::Ok};

TEST_F(ReadConfigurationTest, NumberTooBigOrUnreadableFileIsAReadError) {
    const Configuration before = host.rt.config;
    WriteLines(WithKey(DefaultLines(), "CPUDelay", "40000"));
    EXPECT_EQ(Stopped(), kReadError);
    EXPECT_EQ(host.rt.config, before);

    WriteLines(DefaultLines());
    std::filesystem::permissions(host.folder.ini(), std::filesystem::perms::none);
    if (std::ifstream(host.folder.ini())) GTEST_SKIP() << "running with rights that read any file";
    EXPECT_EQ(Stopped(), kReadError);
}

TEST_F(ReadConfigurationTest, MissingFileOrFolderUsesTheStartupChecks) {
    std::filesystem::remove(host.folder.ini());
    const MessageBox box = Stopped();
    EXPECT_EQ(box.title, "Vespar Configuration File Error");
    EXPECT_NE(box.text.find("missing"), std::string::npos);

    std::filesystem::remove_all(host.folder.path() / "Data");
    EXPECT_EQ(host.Stopped([&] { ReadConfiguration(host.ctx); }).title,
              "Vespar Data Directory Error");
}

}  // namespace
}  // namespace vespar
