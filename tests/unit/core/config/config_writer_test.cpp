#include "config/config_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>

#include "base/program_exit.h"
#include "config/config_reader.h"
#include "fakes/fake_host.h"
#include "unit/core/config/config_test_support.h"

namespace vespar {
namespace {

namespace fs = std::filesystem;
using test::ShippedConfiguration;

const LocalTime kSaved{2026, 12, 6, 12, 0, 0};

// Each "key=value" is the line of its key in the text.
void ExpectLines(const std::string& text, std::initializer_list<std::string> expected) {
    for (const std::string& line : expected) {
        const std::string key = line.substr(0, line.find('=') + 1);
        std::string found = "(none)";
        for (const auto& l : SplitLines(text))
            if (l.rfind(key, 0) == 0) found = l;
        EXPECT_EQ(found, line);
    }
}

// The shipped file's header names this version and the moment of saving.
TEST(ConfigWriter, ShippedRecordWritesTheShippedFile) {
    const auto fields = FieldsFromConfiguration(ShippedConfiguration());
    EXPECT_EQ(BuildConfigurationText(fields, ShippedConfiguration(), kSaved) + "\r\n",
              test::DefaultIniText());
}

TEST(ConfigWriter, OtherRecordsRoundTrip) {
    // clang-format off
    const Configuration c{
        .CMain = 2, .ComDelay = 60, .DName = 2, .IPAdd = "partner.example.org", .Port1 = 20000,
        .Port2 = 10000, .AvTime = 5, .AvTimeD = 17, .CPUDelay = 60, .CPULevel = 20, .CPU_On = 2,
        .Del_On = 2, .DelTime = 10800, .DLDelay = 60, .DL_On = 2, .DLRate = 10, .KeyDelay = 600,
        .Key_On = 2, .LogLevel = 3, .LogName = "Vespar.log", .LogPath = "C:\\Vespar Logs\\",
        .LogRotate = 2, .RunOnTop = 2, .StartDelay = 805, .StartMin = 2, .StartTime = 2,
        .StopTime = 2359, .Stop_On = 2, .UpEnable = 2, .ForceS = 2, .NoWarn = 2, .ShutTime = 60,
        .ShutType = 7, .UserExitA = 1};
    // clang-format on
    const auto fields = FieldsFromConfiguration(c);
    const std::string text = BuildConfigurationText(fields, c, kSaved);
    ExpectLines(text, {"StartDelay=10805", "StopTime=12359", "CMain=2", "AvTimeD=17"});
    // Read back over a blank record: every key was written.
    EXPECT_EQ(ParseConfiguration(SplitLines(text), Configuration{}).config, c);

    // CMain and AvTimeD always come from the record, whatever the fields say.
    Configuration other = c;
    other.CMain = 1;
    other.AvTimeD = 3;
    ExpectLines(BuildConfigurationText(fields, other, kSaved), {"CMain=1", "AvTimeD=3"});
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
    ExpectLines(BuildConfigurationText(f, rec, kSaved),
                {"AvTime=5.5", "CPUDelay=60", "KeyDelay=12", "ShutTime=0", "Port1=10001",
                 "IPAdd= 10.1.1.1"});

    // Times: first two and last two characters.
    f.StartTime = 1;
    f.StartDelay = "08:30";
    f.StopTime = " 9:30";
    ExpectLines(BuildConfigurationText(f, rec, kSaved), {"StartDelay=10830", "StopTime=10930"});
    // A blank before the minutes must not shift them into the hours.
    f.StopTime = "09: 5";
    ExpectLines(BuildConfigurationText(f, rec, kSaved), {"StopTime=10905"});
    // Without fixed-time activation the start delay is a number of seconds.
    f.StartTime = 0;
    f.StartDelay = "120";
    ExpectLines(BuildConfigurationText(f, rec, kSaved), {"StartDelay=120", "StartTime=1"});
}

TEST(WriteConfigurationFile, ReplacesTheFileOrKeepsTheOldOneAndNeedsTheFile) {
    test::FakeHost host;
    const std::string oldText = host.folder.ReadFile(host.folder.ini());
    EXPECT_TRUE(WriteConfigurationFile(host.ctx, "a\r\nb"));
    EXPECT_EQ(host.folder.ReadFile(host.folder.ini()), "a\r\nb\r\n");
    EXPECT_TRUE(host.dialogs.shown.empty());
    // Without the file the program ends, and writes none.
    fs::remove(host.folder.ini());
    EXPECT_THROW(WriteConfigurationFile(host.ctx, "x"), ProgramExit);
    EXPECT_FALSE(fs::exists(host.folder.ini()));

    host.folder.WriteFile(host.folder.ini(), oldText);
    host.rt.programTitle = "Vespar Slave";
    const auto tmp = host.folder.path() / "Data" / "Vespar.ini.tmp";
    // A folder where the temporary file must go, then a read-only file; false: cannot spoil.
    const std::function<bool()> spoilers[] = {
        [&] { return fs::create_directory(tmp); },
        [&] {
            fs::remove(tmp);
            fs::permissions(host.folder.ini(), fs::perms::owner_read);
            return !std::ofstream(host.folder.ini(), std::ios::app);
        }};
    for (const auto& spoil : spoilers) {
        if (!spoil()) GTEST_SKIP() << "read-only case: running with rights that write anywhere";
        host.dialogs.shown.clear();
        EXPECT_FALSE(WriteConfigurationFile(host.ctx, "new"));
        EXPECT_EQ(host.dialogs.shown,
                  (std::vector<MessageBox>{{"Vespar Slave Configuration File Error",
                                            "Unable to write to the configuration file. "
                                            "Vespar.ini\r\nThis may be a permissions problem.",
                                            Icon::Exclamation, Buttons::Ok}}));
        EXPECT_EQ(host.folder.ReadFile(host.folder.ini()), oldText);
    }
}

}  // namespace
}  // namespace vespar
