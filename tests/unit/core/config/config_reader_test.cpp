#include "config/config_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

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

// A summary row: the first entry in a 25-character column, then the second.
std::string Row(const std::string& first, const std::string& second = "") {
    return "\r\n" + first + std::string(25 - first.size(), ' ') + second;
}

TEST(ConfigReader, LinesCountersAndValues) {
    // Missing keys keep the previous values, which are not the shipped ones.
    Configuration previous = ShippedConfiguration();
    previous.KeyDelay = 1234;
    previous.LogPath = "Old\\";
    auto reversed = DefaultLines();
    std::reverse(reversed.begin(), reversed.end());
    const auto with = [](const char* key, const char* value) {
        return WithKey(DefaultLines(), key, value);
    };
    const auto plus = [](std::vector<std::string> more) { return Plus(DefaultLines(), more); };
    const auto noKeyDelay = Without(DefaultLines(), "KeyDelay=");
    const auto noForceS = Without(DefaultLines(), "ForceS=");
    const auto startAt = WithKey(DefaultLines(), "StartTime", "2");
    const auto keyDelay = [](Configuration& c) { c.KeyDelay = 1234; };
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        int keys;
        std::function<void(Configuration&)> expect;
        int sections = 0;
        bool readError = false;
    };
    // clang-format off
    const Case cases[] = {
        {"shipped", DefaultLines(), 0, {}},
        // Keys in any order: each stands before its own section or under another one.
        {"reversed", reversed, 0, {}},
        {"a key missing", noKeyDelay, 1, keyDelay},
        // The counters count lines, not keys; the last line wins.
        {"a duplicate makes up for it", Plus(noKeyDelay, {"CPULevel=30"}), 0,
         [](auto& c) { c.KeyDelay = 1234, c.CPULevel = 30; }},
        {"one key too many", plus({"NoWarn=2"}), -1, [](auto& c) { c.NoWarn = 2; }},
        {"a section missing", Without(DefaultLines(), "[Run]"), 0, {}, 1},
        // Sections are exact and case-sensitive, keys too; "[Run] " is trimmed and counts.
        {"other cases", Plus(Without(DefaultLines(), "[Run]"),
                             {"[run]", "[Run] ", "cpulevel=20", "Unknown=5"}), 0, {}},
        // "Force=" stands in for "ForceS=" and gives its count back; "UserExit=" has the
        // opposite numbering; each wins over the new key.
        {"old force", Plus(noForceS, {"Force=1"}), 1, [](auto& c) { c.ForceS = 1; }},
        {"old force after the new", Plus(with("ForceS", "2"), {"Force=1"}), 0,
         [](auto& c) { c.ForceS = 1; }},
        {"old force out of range", Plus(noForceS, {"Force=3"}), 0, {}},
        {"old user exit", Plus(with("UserExitA", "2"), {"UserExit=2"}), 0,
         [](auto& c) { c.UserExitA = 1; }},
        {"old user exit 1", Plus(with("UserExitA", "1"), {"UserExit=1"}), 0, {}},
        {"old user exit 3", plus({"UserExit=3"}), 0, [](auto& c) { c.UserExitA = 0; }},
        // A "#" at the start hides the key; after a blank it does not. Only spaces are trimmed.
        {"comment", Plus(noKeyDelay, {"#KeyDelay=600"}), 1, keyDelay},
        {"blanks", Plus(noKeyDelay, {"   KeyDelay=700   "}), 0, [](auto& c) { c.KeyDelay = 700; }},
        {"tab", Plus(noKeyDelay, {"\tKeyDelay=700"}), 1, keyDelay},
        {"empty path", with("LogPath", ""), 0, {}},
        {"stop time", with("StopTime", "10830"), 0, [](auto& c) { c.StopTime = 830; }},
        {"start at", WithKey(startAt, "StartDelay", "10830"), 0,
         [](auto& c) { c.StartTime = 2, c.StartDelay = 830; }},
        {"start at without offset", WithKey(startAt, "StartDelay", "830"), 0,
         [](auto& c) { c.StartTime = 2, c.StartDelay = 830; }},
        {"start at midnight", WithKey(startAt, "StartDelay", "10000"), 0,
         [](auto& c) { c.StartTime = 2, c.StartDelay = 0; }},
        {"start after", with("StartDelay", "10830"), 0, [](auto& c) { c.StartDelay = 10830; }},
        // How numbers are read and rounded is the number reader's; here only that it is used.
        {"number", with("AvTime", " 5.5x"), 0, [](auto& c) { c.AvTime = 6; }},
        // Text values keep inner and leading blanks; the line's ends are trimmed.
        {"text", with("IPAdd", " my  host  "), 0, [](auto& c) { c.IPAdd = " my  host"; }},
        {"text end", with("LogName", "V.log\t"), 0, [](auto& c) { c.LogName = "V.log\t"; }},
        {"lowest stop time", with("StopTime", "-22768"), 0, [](auto& c) { c.StopTime = -32768; }},
        {"long", with("Port1", "70000"), 0, [](auto& c) { c.Port1 = 70000; }},
        // Numbers must fit their fields (the number reader's ranges); taking the offset off a
        // very low stop time leaves the range.
        {"", with("CPUDelay", "40000"), 0, {}, 0, true},
        {"", with("Port2", "2147483648"), 0, {}, 0, true},
        {"", with("StopTime", "-30000"), 0, {}, 0, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what + (c.lines.empty() ? "" : " " + c.lines.back()));
        const auto r = ParseConfiguration(c.lines, previous);
        EXPECT_EQ(r.readError, c.readError);
        if (c.readError) continue;
        EXPECT_EQ(r.keyCount, c.keys);
        EXPECT_EQ(r.sectionCount, c.sections);
        Configuration expected = ShippedConfiguration();
        if (c.expect) c.expect(expected);
        EXPECT_EQ(r.config, expected);
    }
}

TEST(ConfigReader, SummaryLayoutWithTheSlavesCommsDelay) {
    auto r = Parse(WithKey(WithKey(DefaultLines(), "CMain", "2"), "CPUDelay", "45.0"));
    EXPECT_EQ(r.config.CPUDelay, 45);
    EXPECT_NE(r.summary.find(Row("CommsDelay=45", "CPULevel=20")), std::string::npos);
    EXPECT_EQ(r.summary.find("CPUDelay="), std::string::npos);
    EXPECT_EQ(r.summary.find("CMain="), std::string::npos);

    // CMain read only after the CPU delay: no rewrite.
    r = Parse(Plus(Without(WithKey(DefaultLines(), "CPUDelay", "45"), "CMain="), {"CMain=2"}));
    EXPECT_EQ(r.config.CMain, 2);
    EXPECT_NE(r.summary.find("CPUDelay=45"), std::string::npos);
    EXPECT_EQ(r.summary.find("CommsDelay="), std::string::npos);

    // A blank-only line and a " #" line each take a summary entry (the blank one shorter).
    EXPECT_EQ(Parse({"[Comms]", "   ", " # note", "ComDelay=60"}).summary,
              std::string(kConfigSummaryHeader) + "\r\n\r\n[Comms]" + "\r\n" +
                  std::string(19, ' ') + "# note" + Row("ComDelay=60") + "\r\n");
    // A section closes a half row; the control mode is left out.
    EXPECT_EQ(Parse({"Port2=10000", "CMain=1", "", "[Run]", "AvTime=5"}).summary,
              std::string(kConfigSummaryHeader) + Row("Port2=10000") + "\r\n\r\n[Run]" +
                  Row("AvTime=5") + "\r\n");
    // A line of 24 characters or more takes a row of its own.
    EXPECT_EQ(
        Parse({"AvTime=5", "LogPath=C:\\Programs\\Logs\\", "AvTimeD=5", "CPUDelay=60"}).summary,
        std::string(kConfigSummaryHeader) + Row("AvTime=5") + "\r\nLogPath=C:\\Programs\\Logs\\" +
            Row("AvTimeD=5", "CPUDelay=60") + "\r\n");
}

struct ReadConfigurationTest : ::testing::Test {
    test::RunningHost host;

    void WriteLines(const std::vector<std::string>& lines) {
        host.folder.WriteFile(host.folder.ini(), JoinCrLf(lines) + kCrLf);
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
