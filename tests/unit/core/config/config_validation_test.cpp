#include "config/config_validation.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "fakes/running_host.h"
#include "unit/core/config/config_test_support.h"

namespace vespar {
namespace {

using test::ShippedConfiguration;

// No program folder: the configured paths name no existing file.
const std::filesystem::path kNoFolder = "/nonexistent-vespar-folder";

TEST(IsIPAddress, Cases) {
    for (const char* ip : {"255.255.255.255", "1.0.0.0", "10.00.0.1"})
        EXPECT_TRUE(IsIPAddress(ip)) << ip;
    for (const char* ip : {"0.1.1.1", "00.1.2.3", "1.2.3.256", "1.2.3", "1.2.3.4.5", ".1.2.3",
                           "1.2.3.", "1..2.3", "256.1.1.1", "", "1.2.3.4 ", "1.2.-3.4",
                           "host.example.org", "99999999999999999999.1.1.1"})
        EXPECT_FALSE(IsIPAddress(ip)) << ip;
}

TEST(TimeText, WrittenAndRecognised) {
    EXPECT_EQ(TimeText(930), "09:30");
    EXPECT_EQ(TimeText(0), "00:00");
    EXPECT_EQ(TimeText(12359), "12:359");
    EXPECT_FALSE(IsTimeText(TimeText(-5)));  // a negative time never passes
    // A blank before or after a number is part of it.
    for (const char* t : {"00:00", "23:59", " 9:30", "09: 5", "9 :30", "+9:30"})
        EXPECT_TRUE(IsTimeText(t)) << t;
    // Hours are whole numbers: ".5:30" is refused.
    for (const char* t : {"24:00", "12:60", "9:30", "12.30", "-1:30", "  :30", "ab:cd", "12:3a",
                          ".5:30", "12:30 ", ""})
        EXPECT_FALSE(IsTimeText(t)) << t;
}

TEST(FailedLoadRules, EachRangeHoldsAtBothEnds) {
    EXPECT_TRUE(FailedLoadRules(ShippedConfiguration(), kNoFolder).empty());
    struct Range {
        std::string_view rule;
        std::function<void(Configuration&, int)> set;
        int low, high;
    };
    // clang-format off
#define SET(f) [](Configuration& c, int v) { c.f = static_cast<decltype(c.f)>(v); }
#define R(f, low, high) Range{#f, SET(f), low, high}  // a rule named after its field
    const Range ranges[] = {
        R(AvTime, 1, 30),      R(AvTimeD, 1, 30),  R(ComDelay, 5, 600),  R(CPUDelay, 5, 600),
        R(CPULevel, 5, 50),    R(CMain, 1, 2),     R(CPU_On, 1, 2),      R(Del_On, 1, 2),
        R(DelTime, 60, 10800), R(DL_On, 1, 2),     R(DLDelay, 5, 600),   R(DLRate, 2, 5000),
        R(DName, 1, 2),        R(ForceS, 1, 2),    R(KeyDelay, 5, 3600), R(Key_On, 1, 2),
        R(LogLevel, 1, 3),     R(LogRotate, 1, 2), R(NoWarn, 1, 2),      R(Port1, 1024, 65535),
        R(Port2, 1024, 65535), R(RunOnTop, 1, 2),  R(ShutTime, 2, 600),  R(StartMin, 1, 2),
        R(ShutType, 1, 7),     R(StartTime, 1, 2), R(Stop_On, 1, 2),     R(UserExitA, 1, 2),
        R(UpEnable, 1, 2),     Range{"StartDelay as a delay", SET(StartDelay), 1, 3600}};
    // clang-format on
#undef R
#undef SET
    for (const Range& r : ranges) {
        for (const int v : {r.low - 1, r.low, r.high, r.high + 1}) {
            SCOPED_TRACE(std::string(r.rule) + " = " + std::to_string(v));
            Configuration c = ShippedConfiguration();
            r.set(c, v);
            std::vector<std::string_view> failed;
            if (v < r.low || v > r.high) failed.push_back(r.rule);
            EXPECT_EQ(FailedLoadRules(c, kNoFolder), failed);
        }
    }
}

TEST(FailedLoadRules, TextsTimesAndCombinations) {
    const std::string longText(101, 'a');
    struct Case {
        std::function<void(Configuration&)> change;
        std::vector<std::string_view> failed;
    };
    const auto name = [](std::string v) { return [v](Configuration& c) { c.LogName = v; }; };
    const auto path = [](std::string v) { return [v](Configuration& c) { c.LogPath = v; }; };
    const std::vector<Case> cases = {
        {[](auto& c) { c.IPAdd = "host"; }, {"IPAdd in IP mode"}},
        {[](auto& c) { c.IPAdd = "10.1.1.1", c.ShutType = 4; }, {}},
        {[](auto& c) { c.DName = 2, c.IPAdd = "10.1.1.1"; }, {"IPAdd in name mode"}},
        {[&](auto& c) { c.DName = 2, c.IPAdd = longText; }, {"IPAdd in name mode"}},
        {[&](auto& c) { c.DName = 2, c.IPAdd = longText.substr(1); }, {}},
        // clang-format off
        {name("Ves.log"), {"LogName"}},           {name("Vesp.log"), {}},
        {name("VesparVesparVes1.log"), {}},       {name("VesparVesparVes12.log"), {"LogName"}},
        {name("..\\..\\x.log"), {"LogName as a file"}}, {name("C:Vesp.log"), {"LogName as a file"}},
        {name("Log/Vespar.log"), {"LogName as a file"}},
        {name(std::string("Ves\0par.log", 11)), {"LogName as a file"}},
        {path("Log"), {"LogPath"}}, {path("L\\"), {}}, {path("\\"), {"LogPath"}},
        {path(longText.substr(1) + "\\"), {"LogPath"}}, {path(longText.substr(2) + "\\"), {}},
        // clang-format on
        {[](auto& c) { c.CPU_On = c.Key_On = c.DL_On = 1; }, {"nothing to watch"}},
        // A slave watches its master.
        {[](auto& c) { c.CMain = 2, c.IPAdd = "10.1.1.1", c.CPU_On = c.Key_On = c.DL_On = 1; }, {}},
        {[](auto& c) { c.StartTime = 2, c.StartDelay = 0; }, {}},
        {[](auto& c) { c.StartTime = 2, c.StartDelay = 2400; }, {"StartDelay as a time"}},
        {[](auto& c) { c.StopTime = 2359; }, {}},
        {[](auto& c) { c.StopTime = 960; }, {"StopTime as a time"}},
        {[](auto& c) { c.StopTime = -1; }, {"StopTime range", "StopTime as a time"}},
        {[](auto& c) { c.StopTime = 12360; }, {"StopTime range", "StopTime as a time"}},
        {[](auto& c) { c.StopTime = 12359; }, {"StopTime as a time"}},
        {[](auto& c) { c.Del_On = 2, c.DelTime = 60, c.CPUDelay = 60, c.KeyDelay = 59; },
         {"fixed delay against CPU"}},
        {[](auto& c) { c.Del_On = 2, c.KeyDelay = 900; }, {"fixed delay against keyboard/mouse"}},
        {[](auto& c) { c.KeyDelay = 900, c.CPUDelay = 600, c.DelTime = 600; }, {}},
        // The download delay is not checked against the fixed delay at load.
        {[](auto& c) { c.Del_On = 2, c.DelTime = 600, c.DLDelay = 600, c.KeyDelay = 599; }, {}},
        {[](auto& c) { c.UpEnable = 0, c.AvTime = 0, c.Port2 = 0; },
         {"AvTime", "Port2", "UpEnable"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        Configuration c = ShippedConfiguration();
        cases[i].change(c);
        EXPECT_EQ(FailedLoadRules(c, kNoFolder), cases[i].failed);
    }
}

TEST(IsUnconfigured, Conditions) {
    const std::tuple<std::int16_t, std::int16_t, std::int16_t, const char*, bool> cases[] = {
        {1, 4, 1, "", true},  {1, 4, 1, "host", true},     {1, 4, 1, "10.1.1.1", false},
        {1, 4, 2, "", true},  {1, 4, 2, "host", false},    {1, 1, 1, "", false},
        {1, 1, 2, "", false}, {2, 4, 1, "10.1.1.1", true}, {2, 4, 2, "host", true},
        {2, 1, 1, "", true},  {2, 1, 1, "host", true},     {2, 1, 1, "10.1.1.1", false},
        {2, 1, 2, "", true},  {2, 1, 2, "host", false},
    };
    for (const auto& [cmain, shutType, dname, ip, unconfigured] : cases) {
        Configuration c = ShippedConfiguration();
        std::tie(c.CMain, c.ShutType, c.DName, c.IPAdd) = std::tie(cmain, shutType, dname, ip);
        EXPECT_EQ(IsUnconfigured(c), unconfigured)
            << cmain << " " << shutType << " " << dname << " " << ip;
    }
}

TEST(IsUsableLogName, NeverTheConfigurationFile) {
    test::RunningHost host;
    const auto& dir = host.folder.path();
    for (const std::string& path : {std::string("Data\\"), std::string("data\\"),
                                    std::string("Log\\..\\Data\\"), (dir / "Data/").string()}) {
        EXPECT_FALSE(IsUsableLogName(dir, path, "Vespar.ini")) << path;
    }
    EXPECT_TRUE(IsUsableLogName(dir, "Data\\", "Vespar.log"));
    EXPECT_TRUE(IsUsableLogName(dir, "Log\\", "Vespar.ini"));
}

TEST(CheckLoadedValues, BadValuesEndTheProgramAnUnconfiguredPairIsOnlyMarked) {
    test::RunningHost host;
    host.rt.config = ShippedConfiguration();
    CheckLoadedValues(host.ctx);
    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_FALSE(host.rt.unconfigured);
    EXPECT_TRUE(host.Running());

    host.rt.config.LogName = "Ves.log";
    // The reader's message; a command-line switch adds the count.
    EXPECT_EQ(host.Stopped([&] { CheckLoadedValues(host.ctx); }).text, test::kCorrupted);
    host.rt.cmdSwitch = 3;
    host.rt.programTitle = "Vespar Slave";
    host.rt.config.Port1 = 70000;
    host.rt.config.StopTime = 12360;
    const MessageBox box = host.Stopped([&] { CheckLoadedValues(host.ctx); });
    EXPECT_EQ(box.title, "Vespar Slave Configuration File Error");
    EXPECT_EQ(box.text, std::string("4Range Errors\r\n") + test::kCorrupted);

    host.rt.config = ShippedConfiguration();
    host.rt.config.CMain = 2;
    CheckLoadedValues(host.ctx);
    EXPECT_TRUE(host.rt.unconfigured);
    EXPECT_TRUE(host.dialogs.shown.empty());
    // Marked even when the record is also out of range.
    host.rt.unconfigured = false;
    host.rt.config.ShutTime = 0;
    host.Stopped([&] { CheckLoadedValues(host.ctx); });
    EXPECT_TRUE(host.rt.unconfigured);
}

}  // namespace
}  // namespace vespar
