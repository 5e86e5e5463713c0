#include "config/config_validation.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/program_exit.h"
#include "config/config_reader.h"
#include "fakes/fake_host.h"
#include "unit/config/config_test_support.h"

namespace vespar {
namespace {

using test::ShippedConfiguration;

TEST(IsIPAddress, Cases) {
    EXPECT_TRUE(IsIPAddress("192.168.1.20"));
    EXPECT_TRUE(IsIPAddress("1.1.1.1"));
    EXPECT_TRUE(IsIPAddress("255.255.255.255"));
    EXPECT_FALSE(IsIPAddress("192.168.0.20"));
    EXPECT_FALSE(IsIPAddress("10.0.0.1"));
    EXPECT_FALSE(IsIPAddress("1.2.3"));
    EXPECT_FALSE(IsIPAddress("1.2.3.4.5"));
    EXPECT_FALSE(IsIPAddress(".1.2.3"));
    EXPECT_FALSE(IsIPAddress("1.2.3."));
    EXPECT_FALSE(IsIPAddress("1..2.3"));
    EXPECT_FALSE(IsIPAddress("256.1.1.1"));
    EXPECT_FALSE(IsIPAddress(""));
    EXPECT_FALSE(IsIPAddress("1.2.3.4 "));
    EXPECT_FALSE(IsIPAddress("1.2.-3.4"));
    EXPECT_FALSE(IsIPAddress("host.example.org"));
    EXPECT_FALSE(IsIPAddress("99999999999999999999.1.1.1"));
}

TEST(IsTimeText, Cases) {
    EXPECT_TRUE(IsTimeText("00:00"));
    EXPECT_TRUE(IsTimeText("23:59"));
    EXPECT_TRUE(IsTimeText(" 9:30"));  // a leading blank is part of the number
    EXPECT_TRUE(IsTimeText("09: 5"));
    EXPECT_TRUE(IsTimeText("9 :30"));
    EXPECT_TRUE(IsTimeText("+9:30"));
    EXPECT_FALSE(IsTimeText("24:00"));
    EXPECT_FALSE(IsTimeText("12:60"));
    EXPECT_FALSE(IsTimeText("9:30"));
    EXPECT_FALSE(IsTimeText("12.30"));
    EXPECT_FALSE(IsTimeText("-1:30"));
    EXPECT_FALSE(IsTimeText("  :30"));
    EXPECT_FALSE(IsTimeText("ab:cd"));
    EXPECT_FALSE(IsTimeText("12:3a"));
    EXPECT_FALSE(IsTimeText(".5:30"));  // hours are whole numbers
    EXPECT_FALSE(IsTimeText("12:30 "));
    EXPECT_FALSE(IsTimeText(""));
}

TEST(TimeText, Cases) {
    EXPECT_EQ(TimeText(930), "09:30");
    EXPECT_EQ(TimeText(0), "00:00");
    EXPECT_EQ(TimeText(2359), "23:59");
    EXPECT_EQ(TimeText(2400), "24:00");
    EXPECT_EQ(TimeText(12359), "12:359");
    EXPECT_FALSE(IsTimeText(TimeText(-5)));  // a negative time never passes
    EXPECT_FALSE(IsTimeText(TimeText(-1000)));
}

struct RuleCase {
    const char* name;
    std::function<void(Configuration&)> change;
    std::vector<std::string_view> failed;
};

TEST(FailedLoadRules, EachRule) {
    EXPECT_TRUE(FailedLoadRules(ShippedConfiguration()).empty());
    const std::string longText(101, 'a');
    const std::vector<RuleCase> cases = {
        {"AvTime low", [](auto& c) { c.AvTime = 0; }, {"AvTime"}},
        {"AvTime high", [](auto& c) { c.AvTime = 31; }, {"AvTime"}},
        {"AvTimeD", [](auto& c) { c.AvTimeD = 31; }, {"AvTimeD"}},
        {"IP mode name", [](auto& c) { c.IPAdd = "host"; }, {"IPAdd in IP mode"}},
        {"IP mode ok",
         [](auto& c) {
             c.IPAdd = "10.1.1.1";
             c.ShutType = 4;
         },
         {}},
        {"name mode address",
         [](auto& c) {
             c.DName = 2;
             c.IPAdd = "10.1.1.1";
         },
         {"IPAdd in name mode"}},
        {"name mode too long",
         [&](auto& c) {
             c.DName = 2;
             c.IPAdd = longText;
         },
         {"IPAdd in name mode"}},
        {"name mode 100",
         [&](auto& c) {
             c.DName = 2;
             c.IPAdd = longText.substr(1);
         },
         {}},
        {"ComDelay", [](auto& c) { c.ComDelay = 4; }, {"ComDelay"}},
        {"CPUDelay", [](auto& c) { c.CPUDelay = 601; }, {"CPUDelay"}},
        {"CPULevel", [](auto& c) { c.CPULevel = 51; }, {"CPULevel"}},
        {"CMain", [](auto& c) { c.CMain = 3; }, {"CMain"}},
        {"CPU_On", [](auto& c) { c.CPU_On = 0; }, {"CPU_On"}},
        {"Del_On", [](auto& c) { c.Del_On = 3; }, {"Del_On"}},
        {"DelTime", [](auto& c) { c.DelTime = 59; }, {"DelTime"}},
        {"DL_On", [](auto& c) { c.DL_On = 0; }, {"DL_On"}},
        {"DLDelay", [](auto& c) { c.DLDelay = 601; }, {"DLDelay"}},
        {"DLRate", [](auto& c) { c.DLRate = 1; }, {"DLRate"}},
        {"DName", [](auto& c) { c.DName = 0; }, {"DName"}},
        {"ForceS", [](auto& c) { c.ForceS = 3; }, {"ForceS"}},
        {"KeyDelay", [](auto& c) { c.KeyDelay = 3601; }, {"KeyDelay"}},
        {"Key_On", [](auto& c) { c.Key_On = 0; }, {"Key_On"}},
        {"LogLevel", [](auto& c) { c.LogLevel = 4; }, {"LogLevel"}},
        {"LogName short", [](auto& c) { c.LogName = "Ves.log"; }, {"LogName"}},
        {"LogName long", [](auto& c) { c.LogName = "VesparVesparVes1.log"; }, {}},
        {"LogName too long", [](auto& c) { c.LogName = "VesparVesparVes12.log"; }, {"LogName"}},
        {"LogPath no backslash", [](auto& c) { c.LogPath = "Log"; }, {"LogPath"}},
        {"LogPath short", [](auto& c) { c.LogPath = "\\"; }, {"LogPath"}},
        {"LogPath long", [&](auto& c) { c.LogPath = longText + "\\"; }, {"LogPath"}},
        {"LogPath 100", [&](auto& c) { c.LogPath = longText.substr(2) + "\\"; }, {}},
        {"LogRotate", [](auto& c) { c.LogRotate = 0; }, {"LogRotate"}},
        {"NoWarn", [](auto& c) { c.NoWarn = 3; }, {"NoWarn"}},
        {"Port1", [](auto& c) { c.Port1 = 1023; }, {"Port1"}},
        {"Port2", [](auto& c) { c.Port2 = 65536; }, {"Port2"}},
        {"Port 70000", [](auto& c) { c.Port1 = 70000; }, {"Port1"}},
        {"RunOnTop", [](auto& c) { c.RunOnTop = 0; }, {"RunOnTop"}},
        {"ShutTime", [](auto& c) { c.ShutTime = 1; }, {"ShutTime"}},
        {"StartMin", [](auto& c) { c.StartMin = 3; }, {"StartMin"}},
        {"ShutType", [](auto& c) { c.ShutType = 8; }, {"ShutType"}},
        {"StartDelay 0", [](auto& c) { c.StartDelay = 0; }, {"StartDelay as a delay"}},
        {"StartDelay 10830", [](auto& c) { c.StartDelay = 10830; }, {"StartDelay as a delay"}},
        {"StartTime", [](auto& c) { c.StartTime = 3; }, {"StartTime"}},
        {"Stop_On", [](auto& c) { c.Stop_On = 0; }, {"Stop_On"}},
        {"UserExitA", [](auto& c) { c.UserExitA = 0; }, {"UserExitA"}},
        {"UpEnable", [](auto& c) { c.UpEnable = 3; }, {"UpEnable"}},
        {"nothing to watch",
         [](auto& c) { c.CPU_On = c.Key_On = c.DL_On = 1; },
         {"nothing to watch"}},
        {"slave watching nothing",
         [](auto& c) {
             c.CMain = 2;
             c.IPAdd = "10.1.1.1";
             c.CPU_On = c.Key_On = c.DL_On = 1;
         },
         {}},
        {"fixed time 00:00",
         [](auto& c) {
             c.StartTime = 2;
             c.StartDelay = 0;
         },
         {}},
        {"fixed time 24:00",
         [](auto& c) {
             c.StartTime = 2;
             c.StartDelay = 2400;
         },
         {"StartDelay as a time"}},
        {"StopTime 09:60", [](auto& c) { c.StopTime = 960; }, {"StopTime as a time"}},
        {"StopTime negative",
         [](auto& c) { c.StopTime = -1; },
         {"StopTime range", "StopTime as a time"}},
        {"StopTime 12360",
         [](auto& c) { c.StopTime = 12360; },
         {"StopTime range", "StopTime as a time"}},
        {"fixed delay vs CPU",
         [](auto& c) {
             c.Del_On = 2;
             c.DelTime = 60;
             c.CPUDelay = 60;
             c.KeyDelay = 59;
         },
         {"fixed delay against CPU"}},
        {"fixed delay vs key",
         [](auto& c) {
             c.Del_On = 2;
             c.KeyDelay = 900;
         },
         {"fixed delay against keyboard/mouse"}},
        {"fixed delay off",
         [](auto& c) {
             c.KeyDelay = 900;
             c.CPUDelay = 600;
             c.DelTime = 600;
         },
         {}},
        {"download delay not checked at load",
         [](auto& c) {
             c.Del_On = 2;
             c.DelTime = 600;
             c.DLDelay = 600;
             c.KeyDelay = 599;
         },
         {}},
        {"several in table order",
         [](auto& c) {
             c.UpEnable = 0;
             c.AvTime = 0;
             c.Port2 = 0;
         },
         {"AvTime", "Port2", "UpEnable"}},
    };
    for (const auto& rc : cases) {
        Configuration c = ShippedConfiguration();
        rc.change(c);
        EXPECT_EQ(FailedLoadRules(c), rc.failed) << rc.name;
    }
}

TEST(IsUnconfigured, Conditions) {
    struct Case {
        int cmain, shutType, dname;
        const char* ip;
        bool unconfigured;
    };
    const Case cases[] = {
        {1, 4, 1, "", true},  {1, 4, 1, "host", true},     {1, 4, 1, "10.1.1.1", false},
        {1, 4, 2, "", true},  {1, 4, 2, "host", false},    {1, 1, 1, "", false},
        {1, 1, 2, "", false}, {2, 4, 1, "10.1.1.1", true}, {2, 4, 2, "host", true},
        {2, 1, 1, "", true},  {2, 1, 1, "host", true},     {2, 1, 1, "10.1.1.1", false},
        {2, 1, 2, "", true},  {2, 1, 2, "host", false},
    };
    for (const auto& k : cases) {
        Configuration c = ShippedConfiguration();
        c.CMain = static_cast<std::int16_t>(k.cmain);
        c.ShutType = static_cast<std::int16_t>(k.shutType);
        c.DName = static_cast<std::int16_t>(k.dname);
        c.IPAdd = k.ip;
        EXPECT_EQ(IsUnconfigured(c), k.unconfigured)
            << k.cmain << " " << k.shutType << " " << k.dname << " " << k.ip;
    }
}

struct CheckLoadedValuesTest : ::testing::Test {
    test::FakeHost host;
    Timer& refresh = host.timers.Create("tmrRefresh", 500, [] {});

    void SetUp() override {
        refresh.SetEnabled(true);
        host.rt.trayIconShown = true;
        host.rt.config = ShippedConfiguration();
    }
    MessageBox Stopped() {
        EXPECT_THROW(CheckLoadedValues(host.ctx), ProgramExit);
        EXPECT_FALSE(refresh.enabled());
        EXPECT_FALSE(host.rt.trayIconShown);
        EXPECT_EQ(host.dialogs.shown.size(), 1u);
        return host.dialogs.shown.empty() ? MessageBox{} : host.dialogs.shown.back();
    }
};

TEST_F(CheckLoadedValuesTest, GoodRecordPasses) {
    CheckLoadedValues(host.ctx);
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_FALSE(host.rt.unconfigured);
    EXPECT_TRUE(refresh.enabled());
}

TEST_F(CheckLoadedValuesTest, ShortLogNameFromTheFileEndsTheProgram) {
    host.folder.SetKey("LogName", "Ves.log");
    ReadConfiguration(host.ctx);
    auto box = Stopped();
    EXPECT_EQ(box.title, "Vespar Configuration File Error");
    EXPECT_EQ(box.text, test::kCorrupted);
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.buttons, Buttons::Ok);
}

TEST_F(CheckLoadedValuesTest, SwitchShowsTheCount) {
    host.rt.cmdSwitch = 3;
    host.rt.programTitle = "Vespar Slave";
    host.rt.config.LogName = "Ves.log";
    auto box = Stopped();
    EXPECT_EQ(box.title, "Vespar Slave Configuration File Error");
    EXPECT_EQ(box.text, std::string("1Range Errors\r\n") + test::kCorrupted);

    host.dialogs.shown.clear();
    host.rt.config.Port1 = 70000;
    host.rt.config.StopTime = 12360;
    EXPECT_EQ(Stopped().text, std::string("4Range Errors\r\n") + test::kCorrupted);
}

TEST_F(CheckLoadedValuesTest, UnconfiguredIsMarkedNotFatal) {
    host.rt.config.CMain = 2;
    host.rt.config.IPAdd = "";
    CheckLoadedValues(host.ctx);
    EXPECT_TRUE(host.rt.unconfigured);
    EXPECT_TRUE(host.dialogs.shown.empty());

    // Marked even when the record is also out of range.
    host.rt.unconfigured = false;
    host.rt.config.ShutTime = 0;
    Stopped();
    EXPECT_TRUE(host.rt.unconfigured);
}

}  // namespace
}  // namespace vespar
