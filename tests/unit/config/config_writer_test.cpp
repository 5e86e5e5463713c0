#include "config/config_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/program_exit.h"
#include "base/version.h"
#include "config/config_reader.h"
#include "fakes/fake_host.h"
#include "unit/config/config_test_support.h"

namespace vespar {
namespace {

using test::ShippedConfiguration;
using test::SplitCrLf;

const LocalTime kSaved{2026, 12, 6, 12, 0, 0};

// The line of a text that starts with key and "=".
std::string Line(const std::string& text, const std::string& key) {
    for (const auto& l : SplitCrLf(text)) {
        if (l.rfind(key + "=", 0) == 0) return l;
    }
    return "(none)";
}

Configuration ReadBack(const std::string& text) {
    const auto r = ParseConfiguration(SplitCrLf(text), Configuration{});
    EXPECT_EQ(r.keyCount, 0);
    EXPECT_EQ(r.sectionCount, 0);
    EXPECT_FALSE(r.readError);
    return r.config;
}

TEST(ConfigWriter, ShippedRecordWritesTheShippedFile) {
    const auto fields = FieldsFromConfiguration(ShippedConfiguration());
    EXPECT_EQ(fields.StopTime, "00:00");
    EXPECT_EQ(fields.StartDelay, "2");
    EXPECT_EQ(fields.CPU_On, 1);
    EXPECT_EQ(fields.Del_On, 0);
    const std::string text = BuildConfigurationText(fields, ShippedConfiguration(), kSaved);
    EXPECT_EQ(text + "\r\n", test::DefaultIniText());
    EXPECT_EQ(SplitCrLf(text).size(), 43u);
}

TEST(ConfigWriter, OtherRecordsRoundTrip) {
    Configuration c = ShippedConfiguration();
    c.CMain = 2;
    c.DName = 2;
    c.IPAdd = "partner.example.org";
    c.Port1 = 20000;
    c.AvTimeD = 17;
    c.StartTime = 2;
    c.StartDelay = 805;
    c.StopTime = 2359;
    c.Stop_On = 2;
    c.Del_On = 2;
    c.DelTime = 10800;
    c.LogLevel = 3;
    c.ShutType = 7;
    c.UserExitA = 1;
    c.LogPath = "C:\\Vespar Logs\\";
    const auto fields = FieldsFromConfiguration(c);
    EXPECT_EQ(fields.StartDelay, "08:05");
    EXPECT_EQ(fields.StopTime, "23:59");
    const std::string text = BuildConfigurationText(fields, c, kSaved);
    EXPECT_EQ(Line(text, "StartDelay"), "StartDelay=10805");
    EXPECT_EQ(Line(text, "StopTime"), "StopTime=12359");
    EXPECT_EQ(Line(text, "CMain"), "CMain=2");
    EXPECT_EQ(Line(text, "AvTimeD"), "AvTimeD=17");
    EXPECT_EQ(ReadBack(text), c);

    // CMain and AvTimeD always come from the record, whatever the fields say.
    Configuration other = c;
    other.CMain = 1;
    other.AvTimeD = 3;
    const auto t2 = BuildConfigurationText(fields, other, kSaved);
    EXPECT_EQ(Line(t2, "CMain"), "CMain=1");
    EXPECT_EQ(Line(t2, "AvTimeD"), "AvTimeD=3");
}

TEST(ConfigWriter, HeaderLines) {
    const auto lines =
        SplitCrLf(BuildConfigurationText(FieldsFromConfiguration(ShippedConfiguration()),
                                         ShippedConfiguration(), {2026, 3, 5, 4, 25, 13}));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "# Vespar Version " + std::to_string(kVersionMajor) + "." +
                            std::to_string(kVersionMinor));
    EXPECT_EQ(lines[1], "# Configuration File");
    EXPECT_EQ(lines[2], "# 05-Mar-26 04:25:13");
    EXPECT_EQ(lines[3], "");
}

TEST(ConfigWriter, ScreenTextsAsWritten) {
    auto f = FieldsFromConfiguration(ShippedConfiguration());
    const Configuration& rec = ShippedConfiguration();
    f.AvTime = "5.5";
    f.CPUDelay = " 6 0";
    f.KeyDelay = "12abc";
    f.ShutTime = "";
    f.Port1 = "&H2711";
    f.IPAdd = " 10.1.1.1";
    auto text = BuildConfigurationText(f, rec, kSaved);
    EXPECT_EQ(Line(text, "AvTime"), "AvTime=5.5");
    EXPECT_EQ(Line(text, "CPUDelay"), "CPUDelay=60");
    EXPECT_EQ(Line(text, "KeyDelay"), "KeyDelay=12");
    EXPECT_EQ(Line(text, "ShutTime"), "ShutTime=0");
    EXPECT_EQ(Line(text, "Port1"), "Port1=10001");
    EXPECT_EQ(Line(text, "IPAdd"), "IPAdd= 10.1.1.1");
    EXPECT_EQ(ReadBack(text).AvTime, 6);
    f.AvTime = "2.5";
    EXPECT_EQ(ReadBack(BuildConfigurationText(f, rec, kSaved)).AvTime, 2);

    // Times: first two and last two characters.
    f.StartTime = 1;
    f.StartDelay = "08:30";
    f.StopTime = " 9:30";
    text = BuildConfigurationText(f, rec, kSaved);
    EXPECT_EQ(Line(text, "StartDelay"), "StartDelay=10830");
    EXPECT_EQ(Line(text, "StopTime"), "StopTime=10930");
    // A blank before the minutes must not shift them into the hours.
    f.StopTime = "09: 5";
    EXPECT_EQ(Line(BuildConfigurationText(f, rec, kSaved), "StopTime"), "StopTime=10905");
    // Without fixed-time activation the start delay is a number of seconds.
    f.StartTime = 0;
    f.StartDelay = "120";
    EXPECT_EQ(Line(BuildConfigurationText(f, rec, kSaved), "StartDelay"), "StartDelay=120");
    EXPECT_EQ(Line(BuildConfigurationText(f, rec, kSaved), "StartTime"), "StartTime=1");
}

struct WriteConfigurationTest : ::testing::Test {
    test::FakeHost host;
    const std::string oldText = host.folder.ReadFile(host.folder.ini());

    void ExpectRefused() {
        EXPECT_FALSE(WriteConfigurationFile(host.ctx, "new"));
        ASSERT_EQ(host.dialogs.shown.size(), 1u);
        const auto& box = host.dialogs.shown.back();
        EXPECT_EQ(box.title, "Vespar Slave Configuration File Error");
        EXPECT_EQ(box.text,
                  "Unable to write to the configuration file. Vespar.ini\r\n"
                  "This may be a permissions problem.");
        EXPECT_EQ(box.icon, Icon::Exclamation);
        EXPECT_EQ(box.buttons, Buttons::Ok);
        EXPECT_EQ(host.folder.ReadFile(host.folder.ini()), oldText);
    }
};

TEST_F(WriteConfigurationTest, ReplacesTheFile) {
    EXPECT_TRUE(WriteConfigurationFile(host.ctx, "a\r\nb"));
    EXPECT_EQ(host.folder.ReadFile(host.folder.ini()), "a\r\nb\r\n");
    EXPECT_TRUE(host.dialogs.shown.empty());
    // Nothing but the configuration is left in Data.
    int entries = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator(host.folder.path() / "Data")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(WriteConfigurationTest, FailedWriteKeepsTheOldFile) {
    host.rt.programTitle = "Vespar Slave";
    // Where the temporary file must go stands a folder.
    std::filesystem::create_directory(host.folder.path() / "Data" / "Vespar.ini.tmp");
    ExpectRefused();
}

TEST_F(WriteConfigurationTest, ReadOnlyDataFolderKeepsTheOldFile) {
    namespace fs = std::filesystem;
    host.rt.programTitle = "Vespar Slave";
    const auto data = host.folder.path() / "Data";
    fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(data / "probe")) {
        fs::remove(data / "probe");
        GTEST_SKIP() << "running with rights that write anywhere";
    }
    ExpectRefused();
}

TEST_F(WriteConfigurationTest, ReadOnlyFileIsNotReplaced) {
    namespace fs = std::filesystem;
    host.rt.programTitle = "Vespar Slave";
    fs::permissions(host.folder.ini(), fs::perms::owner_read);
    if (std::ofstream(host.folder.ini(), std::ios::app)) {
        GTEST_SKIP() << "running with rights that write anywhere";
    }
    ExpectRefused();
}

TEST_F(WriteConfigurationTest, MissingFileEndsTheProgram) {
    std::filesystem::remove(host.folder.ini());
    EXPECT_THROW(WriteConfigurationFile(host.ctx, "x"), ProgramExit);
    EXPECT_FALSE(std::filesystem::exists(host.folder.ini()));
}

}  // namespace
}  // namespace vespar
