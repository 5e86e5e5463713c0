#include "config/config_screen.h"

#include <functional>

#include "unit/core/app/program_fixture.h"

namespace vespar::test {
namespace {

using Setting = std::function<void(Runtime&)>;
// Field values in the order a user sets them: text, check box value (0/1) or list entry.
using Edits = std::vector<std::pair<const char*, std::string>>;

void Apply(ConfigScreen& s, const Edits& edits) {
    for (const auto& [name, value] : edits) {
        if (ConfigScreen::IsCheckBox(name)) {
            s.SetCheck(name, value == "1" ? 1 : 0);
        } else if (!s.control(name).items.empty()) {
            s.SelectText(name, value);
        } else {
            s.control(name).caption = value;
        }
    }
}
// A slave paired with address, with its fixed delay and fixed time checks on (2) or off (1).
Setting Slave(const char* address = "", std::int16_t fixedChecks = 1) {
    return [=](Runtime& rt) {
        rt.config.CMain = 2;
        rt.config.IPAdd = address;
        rt.config.Del_On = rt.config.Stop_On = fixedChecks;
        rt.programTitle = "Vespar Slave";
    };
}

// The configuration screen over the whole program on the shipped file, in virtual time.
class ConfigScreenTest : public ProgramTest {
  protected:
    ConfigScreen& screen() { return program.configScreen(); }
    // The running values are changed in memory only, then the screen opens on them and takes
    // the user's edits.
    ConfigScreen& OpenOn(const Setting& setting, const Edits& edits = {}) {
        Runtime& rt = program.runtime();
        rt.config = shipped;
        rt.programTitle = "Vespar";
        rt.portFailed = false;
        if (setting) setting(rt);
        rt.savedConfig = rt.config;
        screen().Close();
        screen().Open();
        Apply(screen(), edits);
        return screen();
    }
    // The names of the controls that pass, joined by blanks.
    std::string Names(const std::function<bool(const std::string&, const Control&)>& pass) {
        std::string names;
        for (const auto& [name, c] : screen().controls())
            if (pass(name, c)) names += (names.empty() ? "" : " ") + name;
        return names;
    }
    // The labels drawn highlighted (orange, bold); the fields that cannot be edited.
    std::string Highlighted() {
        return Names([](auto&, const Control& c) { return c.bold && c.foreColor == kOrange; });
    }
    std::string Disabled() {
        return Names(
            [](auto& name, const Control& c) { return name.ends_with('T') && !c.enabled; });
    }
    const std::string& Caption(const char* name) { return screen().control(name).caption; }
    // Clicks a button; the status line it leaves.
    const std::string& Pressed(const char* button) {
        screen().Click(button);
        return Caption("Status");
    }
    // Opens the screen as the main window's Configure button does.
    ConfigScreen& StartAndOpen() {
        program.mainWindow().Click("Config");
        EXPECT_TRUE(screen().isOpen());
        return screen();
    }

    Configuration shipped = [this] {
        Start("");
        return program.runtime().config;
    }();
};

TEST_F(ConfigScreenTest, ValidateScreenCountsEachRuleAndHighlightsItsLabels) {
    struct Case {
        const char* what;
        Setting setting;
        Edits edits;
        int count;
        const char* labels;
        const char* captionOf = "DelTimeM";
        const char* caption = "sec (min 60, max 10800)";
    };
    const auto fixedDelay = [](const char* del, const char* cpu, const char* key, const char* dl) {
        return Edits{{"Del_OnT", "1"},
                     {"DelTimeT", del},
                     {"CPUDelayT", cpu},
                     {"KeyDelayT", key},
                     {"DLDelayT", dl}};
    };
    const char* const lessThanKeys = "< CPU and/or Key Delay";
    // clang-format off
    const std::vector<Case> cases = {
        {"every field at its lowest", {},
         {{"AvTimeT", "1"}, {"ComDelayT", "5"}, {"CPUDelayT", "5"}, {"CPULevelT", "5"},
          {"DelTimeT", "60"}, {"DLDelayT", "5"}, {"DLRateT", "2"}, {"KeyDelayT", "5"},
          {"LogNameT", "Vesp.log"}, {"Port1T", "1024"}, {"Port2T", "1024"}, {"ShutTimeT", "2"},
          {"StartDelayT", "1"}}, 0, ""},
        {"every field at its highest", {},
         {{"AvTimeT", "30"}, {"ComDelayT", "600"}, {"CPUDelayT", "600"}, {"CPULevelT", "50"},
          {"DelTimeT", "10800"}, {"DLDelayT", "600"}, {"DLRateT", "5000"}, {"KeyDelayT", "3600"},
          {"LogNameT", std::string(16, 'v') + ".log"}, {"Port1T", "65535"},
          {"Port2T", "65535"}, {"ShutTimeT", "600"}, {"StartDelayT", "3600"}, {"DNameT", "1"},
          {"IPAddT", std::string(100, 'h')}}, 0, ""},
        {"every field just below", {},
         {{"AvTimeT", "0"}, {"ComDelayT", "4"}, {"CPUDelayT", "4"}, {"CPULevelT", "4"},
          {"DelTimeT", "59"}, {"DLDelayT", "4"}, {"DLRateT", "1"}, {"KeyDelayT", "4"},
          {"LogNameT", "Ves.log"}, {"Port1T", "1023"}, {"Port2T", "1023"}, {"ShutTimeT", "1"},
          {"StartDelayT", "0"}},
         13, "AvTimeM CPUDelayM CPULevelM ComDelayM DLDelayM DLRateM DelTimeM KeyDelayM LogNameM "
         "Port1L Port2L PortM ShutTimeM StartDelayM"},
        {"every field just above", {},
         {{"AvTimeT", "31"}, {"ComDelayT", "601"}, {"CPUDelayT", "601"}, {"CPULevelT", "51"},
          {"DelTimeT", "10801"}, {"DLDelayT", "601"}, {"DLRateT", "5001"}, {"KeyDelayT", "3601"},
          {"Port1T", "65536"}, {"Port2T", "65536"}, {"ShutTimeT", "601"}, {"StartDelayT", "3601"}},
         12, "AvTimeM CPUDelayM CPULevelM ComDelayM DLDelayM DLRateM DelTimeM KeyDelayM Port1L "
         "Port2L PortM ShutTimeM StartDelayM"},
        {"a name just too long", {}, {{"DNameT", "1"}, {"IPAddT", std::string(101, 'h')},
          {"LogNameT", std::string(17, 'v') + ".log"}}, 2, "IPAddM LogNameM"},
        {"not an IP address", {}, {{"IPAddT", "1.2.3"}}, 1, "IPAddM"},
        {"CPU level keeps decimals", {}, {{"CPULevelT", "4.5"}}, 1, "CPULevelM"},
        {"unknown log level", [](Runtime& rt) { rt.config.LogLevel = 0; }, {}, 1, "LogLevelM"},
        {"log name extension", {}, {{"LogNameT", "Vesparlog1"}}, 1, "LogNameM"},
        {"log name tiny fails both", {}, {{"LogNameT", "ab"}}, 2, "LogNameM"},
        {"log name of four", {}, {{"LogNameT", ".log"}}, 1, "LogNameM"},
        {"log name is the configuration file", {},
         {{"LogPathT", "Data\\"}, {"LogNameT", "Vespar.ini"}}, 1, "LogNameM"},
        {"log path missing", {}, {{"LogPathT", "Nowhere\\"}}, 1, "LogPathM"},
        {"log path end", {}, {{"LogPathT", "Log"}}, 1, "LogPathM"},
        {"log path of one", {}, {{"LogPathT", "\\"}}, 1, "LogPathM"},
        {"log path of 100", [this](Runtime&) { std::filesystem::create_directories(
             folder.path() / "Log" / std::string(95, 'x')); },
         {{"LogPathT", "Log\\" + std::string(95, 'x') + "\\"}}, 0, ""},
        {"log path long", {}, {{"LogPathT", "Log\\" + std::string(96, 'x') + "\\"}}, 2,
         "LogPathM"},
        {"unknown type", [](Runtime& rt) { rt.config.ShutType = 9; }, {}, 1, "ShutTypeM"},
        {"log off", [](Runtime& rt) { rt.config.ShutType = 7; }, {}, 0, "", "ShutTypeM",
         "(Forces apps to close)"},
        {"start time", {}, {{"StartTimeT", "1"}, {"StartDelayT", "24:00"}}, 1, "StartDelayM"},
        {"stop time", {}, {{"StopTimeT", "12.30"}}, 1, "StopTimeM"},
        {"fixed delay against CPU", {}, fixedDelay("600", "600", "100", "60"), 1, "DelTimeM",
         "DelTimeM", lessThanKeys},
        {"fixed delay against keys", {}, fixedDelay("600", "60", "600", "60"), 1, "DelTimeM",
         "DelTimeM", lessThanKeys},
        {"fixed delay against download", {}, fixedDelay("100", "60", "99", "100"), 1, "DelTimeM",
         "DelTimeM", "< CPU, Download and/or Key Delay"},
        {"slave without address", Slave(), {}, 1, "IPAddM"},
        {"slave without name", [](Runtime& rt) { Slave()(rt); rt.config.DName = 2; }, {}, 1,
         "IPAddM"},
        {"master Monitor without address", {}, {{"ShutNameT", "Monitor"}}, 2, "IPAddM ShutTypeM"},
        {"master Monitor with an IP as name", {},
         {{"DNameT", "1"}, {"IPAddT", "1.2.3.4"}, {"ShutNameT", "Monitor"}}, 3,
         "IPAddM ShutTypeM"},
        {"slave Monitor", Slave("1.2.3.9"), {{"ShutNameT", "Monitor"}}, 1, "ShutTypeM",
         "ShutTypeM", "Invalid Option In Slave Mode"},
        {"slave port failed", [](Runtime& rt) { Slave("1.2.3.9")(rt); rt.portFailed = true; },
         {}, 1, "Port1L PortM"},
    };
    // clang-format on
    for (const Case& c : cases) {
        ConfigScreen& s = OpenOn(c.setting, c.edits);
        EXPECT_EQ(s.ValidateScreen(), c.count) << c.what;
        EXPECT_EQ(Highlighted(), c.labels) << c.what;
        EXPECT_EQ(Caption(c.captionOf), c.caption) << c.what;
    }
    EXPECT_TRUE(dialogs.shown.empty());
    // A rule that opens its field: a disabled CPU delay out of range becomes editable.
    ConfigScreen& s = OpenOn({}, {{"CPU_OnT", "0"}, {"CPUDelayT", "4"}});
    EXPECT_EQ(s.ValidateScreen(), 1);
    EXPECT_TRUE(s.control("CPUDelayT").enabled);
}

TEST_F(ConfigScreenTest, OpeningWithBadValuesReportsThemAndKeepsTheRulesWorking) {
    program.runtime().cmdSwitch = 2;
    ConfigScreen& s = OpenOn([](Runtime& rt) { rt.config.ShutType = 9; });
    EXPECT_EQ(Caption("Status"), "1 Item(s) Highlighted Contain Out Of Range Values");
    EXPECT_EQ(dialogs.shown, (std::vector<MessageBox>{{"Vespar Data Error", "Invalid Data"}}));
    s.SelectText("ShutNameT", "Hibernate");
    EXPECT_EQ(s.shutTypeChoice(), 5);
    s.SelectText("ShutNameT", "StandBy");
    EXPECT_EQ(s.shutTypeChoice(), 6);
    EXPECT_FALSE(s.control("ForceT").enabled);
}

TEST_F(ConfigScreenTest, EnablingAndCaptionsFollowMasterSlaveAndChoices) {
    const std::string hint =
        " (At least one of CPU Check, KM Check, Download Check, Fixed Delay and Fixed Time must "
        "be enabled)";
    const Edits noActivity = {{"CPU_OnT", "0"}, {"Key_OnT", "0"}, {"DL_OnT", "0"}};
    struct Case {
        const char* what;
        Setting setting;
        Edits edits;
        const char* disabled;
        Edits captions;
        int cpuCheck = 1;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"master", {}, {}, "ComDelayT DelTimeT StopTimeT",
         {{"Port1L", "TX:"}, {"IPAddM", "(Empty or an IP address)"}, {"IPAddL", "IP Address"},
          {"ShutTypeM", "(Forces apps to close)"}}},
        {"master, every check on", {}, {{"Del_OnT", "1"}, {"Stop_OnT", "1"}, {"NoWarnT", "1"}},
         "ComDelayT ShutTimeT", {}},
        {"master keeps one check", {}, noActivity,
         "ComDelayT DLDelayT DLRateT DelTimeT KeyDelayT StopTimeT", {}},
        {"master on fixed time only", {},
         {{"Stop_OnT", "1"}, {"CPU_OnT", "0"}, {"Key_OnT", "0"}, {"DL_OnT", "0"}},
         "AvTimeT CPUDelayT CPULevelT ComDelayT DLDelayT DLRateT DelTimeT ForceT KeyDelayT",
         {{"ShutTypeM", "(Forces apps to close)"}}, 0},
        {"master Monitor by name", {}, {{"DNameT", "1"}, {"ShutNameT", "Monitor"}},
         "ComDelayT DelTimeT ForceT StopTimeT",
         {{"ShutTypeM", "(Use with a domain name)"}, {"IPAddM", "(a valid domain name)"},
          {"IPAddL", "Domain Name"}}},
        {"hibernate", {}, {{"ShutNameT", "Hibernate"}}, "ComDelayT DelTimeT ForceT StopTimeT",
         {{"ShutTypeM", ""}}},
        {"stand by", {}, {{"ShutNameT", "StandBy"}}, "ComDelayT DelTimeT ForceT StopTimeT",
         {{"ShutTypeM", ""}}},
        {"slave", Slave("", 2), {}, "DelTimeT Del_OnT StopTimeT Stop_OnT",
         {{"Port1L", "Rx Port"}, {"Port2L", "Tx Port"}, {"IPAddM", "(A valid IP address)"}}},
        {"slave may clear every check", Slave("", 2), noActivity,
         "AvTimeT CPUDelayT CPULevelT DLDelayT DLRateT DelTimeT Del_OnT KeyDelayT StopTimeT "
         "Stop_OnT", {}, 0},
        {"slave Monitor", Slave(), {{"ShutNameT", "Monitor"}},
         "DelTimeT Del_OnT ForceT StopTimeT Stop_OnT", {{"ShutTypeM", "Not available in slave"}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        ConfigScreen& s = OpenOn(c.setting, c.edits);
        EXPECT_EQ(Disabled(), c.disabled) << c.what;
        for (const auto& [name, text] : c.captions) EXPECT_EQ(Caption(name), text) << c.what;
        EXPECT_EQ(s.caption, program.runtime().programTitle + " Configuration");
        const bool master = program.runtime().config.CMain == 1;
        EXPECT_EQ(s.control("CPU_OnT").tooltip, "Enable CPU level checking" + (master ? hint : ""))
            << c.what;
        EXPECT_EQ(s.control("CPU_OnT").value, c.cpuCheck) << c.what;
    }
}

TEST_F(ConfigScreenTest, TimesShowAsHoursAndMinutesAndStartTimeClearsTheOtherKind) {
    ConfigScreen& s = OpenOn([](Runtime& rt) {
        rt.config.StartTime = 2;
        rt.config.StartDelay = 5;
        rt.config.StopTime = 830;
    });
    EXPECT_EQ(Caption("StartDelayT"), "00:05");
    EXPECT_EQ(Caption("StopTimeT"), "08:30");
    EXPECT_EQ(Caption("StartDelayL"), "Activate At:");
    s.SetCheck("StartTimeT", 0);
    EXPECT_EQ(Caption("StartDelayT"), "");
    EXPECT_EQ(Caption("StartDelayL"), "Activate After:");
    Apply(s, {{"StartDelayT", "2"}, {"StartTimeT", "1"}});
    EXPECT_EQ(Caption("StartDelayT"), "");
    // The shortest text taken for a time.
    Apply(s, {{"StartDelayT", "08:"}, {"StartTimeT", "0"}});
    EXPECT_EQ(Caption("StartDelayT"), "");
    OpenOn({});
    EXPECT_EQ(Caption("StartDelayT"), "2");
}

TEST_F(ConfigScreenTest, RunOnTopKeepsTheScreenAboveOtherWindowsUntilCleared) {
    EXPECT_FALSE(OpenOn({}).topmost);
    ConfigScreen& s = OpenOn([](Runtime& rt) { rt.config.RunOnTop = 2; });
    EXPECT_TRUE(s.topmost);
    program.mainWindow().topmost = true;
    s.SetCheck("RunOnTopT", 0);
    EXPECT_FALSE(s.topmost);
    EXPECT_FALSE(program.mainWindow().topmost);
}

TEST_F(ConfigScreenTest, ShowsTheSettingsNotTheDelaysATestSwitchShortened) {
    program.runtime().cmdSwitch = 1;
    program.engine().InitialiseMonitor();
    ASSERT_EQ(program.runtime().config.DelTime, 7);
    StartAndOpen();
    EXPECT_EQ(Caption("DelTimeT"), "900");
    EXPECT_EQ(Caption("KeyDelayT"), "600");
    EXPECT_EQ(Caption("Status"), "");
}

TEST_F(ConfigScreenTest, SaveWritesOnlyChangedValidValuesAndExitResetsTheProgram) {
    ConfigScreen& s = StartAndOpen();
    s.SelectText("ShutNameT", "Reboot");  // the type alone is a change
    s.Click("ExitConfig");
    EXPECT_EQ(Caption("ExitConfig"), "&Cancel");
    s.SelectText("ShutNameT", "Power Off");
    EXPECT_EQ(Pressed("Save"), "No Changes To Save");
    time.Advance(2000);
    EXPECT_EQ(Caption("Status"), "");

    Apply(s, {{"KeyDelayT", "4"}});
    EXPECT_EQ(Pressed("Save"),
              "Item(s) Highlighted Contain Out Of Range Values - Changes Not Saved");

    Apply(s, {{"KeyDelayT", "900"}, {"LogLevelT", "Full"}});
    EXPECT_EQ(Pressed("Save"), "Changes Saved - Click Exit To Activate The Changes");
    EXPECT_EQ(program.runtime().config.KeyDelay, 600);  // not before the reset

    s.Click("ExitConfig");
    EXPECT_FALSE(s.visible);
    EXPECT_EQ(program.runtime().config.KeyDelay, 900);  // read back from the saved file
    EXPECT_TRUE(program.mainWindow().control("Config").enabled);
    EXPECT_EQ(program.mainWindow().control("Title").caption,
              "Power Off if there is no activity for 900 sec");
    const std::string log = Log();
    const auto updated = log.find(",  Config   , Updated   , Count:");
    ASSERT_NE(updated, std::string::npos);
    EXPECT_NE(log.find("Configuration\r\n-------------", updated), std::string::npos);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ConfigScreenTest, RestoreOrAFailedSaveThenExitLeavesWithoutSaving) {
    ConfigScreen& s = StartAndOpen();
    const std::string before = folder.ReadFile(folder.ini());
    // Every field the defaults cover, as the shipped file (the defaults) shows it.
    const std::string defaults = s.TakeSnapshot();
    Apply(s, {{"IPAddT", "1.2.3.4"},     {"AvTimeT", "7"},       {"ComDelayT", "70"},
              {"CPUDelayT", "70"},       {"CPULevelT", "30"},    {"Del_OnT", "1"},
              {"DelTimeT", "1000"},      {"DLDelayT", "70"},     {"DLRateT", "20"},
              {"ForceT", "0"},           {"KeyDelayT", "77"},    {"LogLevelT", "Full"},
              {"LogNameT", "Other.log"}, {"LogPathT", "Logs\\"}, {"LogRotateT", "1"},
              {"NoWarnT", "1"},          {"Port1T", "10011"},    {"Port2T", "10010"},
              {"RunOnTopT", "1"},        {"ShutTimeT", "30"},    {"StartMinT", "1"},
              {"ShutNameT", "Reboot"},   {"StartTimeT", "1"},    {"StartDelayT", "05:00"},
              {"StopTimeT", "01:00"},    {"Stop_OnT", "1"},      {"UExitT", "0"},
              {"UpEnableT", "0"},        {"CPU_OnT", "0"},       {"DL_OnT", "0"}});
    EXPECT_EQ(Pressed("RestoreData"), "Defaults Restored - Click Save To Keep");
    EXPECT_EQ(Caption("IPAddT"), "1.2.3.4");  // an address is never a default
    Apply(s, {{"IPAddT", ""}});
    EXPECT_EQ(s.TakeSnapshot(), defaults);
    EXPECT_EQ(Disabled(), "ComDelayT DelTimeT StopTimeT");
    Apply(s, {{"IPAddT", "1.2.3.4"}});
    time.Advance(2000);
    EXPECT_EQ(Caption("Status"), "");

    EXPECT_EQ(Pressed("ExitConfig"), "Click Cancel to exit without saving changes");
    EXPECT_TRUE(s.isOpen());
    EXPECT_EQ(s.control("ExitConfig").tooltip,
              "Close Vespar Configuration Screen without saving changes");
    s.Click("ExitConfig");
    EXPECT_FALSE(s.isOpen());
    EXPECT_EQ(folder.ReadFile(folder.ini()), before);

    // A failed save keeps the file and puts the running values back.
    StartAndOpen();
    std::filesystem::create_directory(folder.path() / "Data" / "Vespar.ini.tmp");
    Apply(s, {{"KeyDelayT", "700"}, {"Del_OnT", "1"}});
    s.Click("Save");  // the writer's refusal and its message are the writer's tests
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(Caption("KeyDelayT"), "600");
    EXPECT_EQ(s.control("Del_OnT").value, 0);
    EXPECT_FALSE(s.control("DelTimeT").enabled);
    EXPECT_FALSE(program.runtime().configSaved);
    // Nothing is left unsaved: Exit leaves at once; no exit of this walk reset the program.
    s.Click("ExitConfig");
    EXPECT_FALSE(s.isOpen());
    EXPECT_EQ(Log().find(" Config   ,"), std::string::npos);
}

TEST_F(ConfigScreenTest, OtherUsersCannotSaveAndAdministratorsArchiveAndViewTheLog) {
    sys.groups.answer = false;
    ConfigScreen& s = StartAndOpen();
    EXPECT_FALSE(s.control("Save").enabled);
    EXPECT_FALSE(s.control("RestoreData").enabled);
    EXPECT_TRUE(s.control("ViewL").enabled);  // every user may exit in the shipped file
    Apply(s, {{"KeyDelayT", "900"}});
    EXPECT_EQ(Pressed("Save"), "");
    s.Click("ExitConfig");  // edits never hold the screen open
    EXPECT_FALSE(s.isOpen());
    // Their screen closes after thirty seconds.
    program.mainWindow().Click("Config");
    time.Advance(1000);
    EXPECT_EQ(Caption("TMessage"), "The Configuration Screen will close in 30 sec");
    time.Advance(29000);
    EXPECT_EQ(Caption("TMessage"), "The Configuration Screen will close in 1 sec");
    EXPECT_TRUE(s.isOpen());
    time.Advance(1000);
    EXPECT_FALSE(s.isOpen());

    sys.groups.answer = true;
    StartAndOpen();
    dialogs.answers = {Answer::No, Answer::Yes};  // clear, and confirm
    EXPECT_EQ(Pressed("Archive"), "Log File Cleared");
    s.Click("ViewL");
    ASSERT_EQ(sys.viewer.opened.size(), 1u);
    EXPECT_EQ(sys.viewer.opened[0].filename(), "Vespar.log");
    s.SelectText("LogLevelT", "None");
    EXPECT_FALSE(s.control("Archive").enabled);
    s.Click("ViewL");
    EXPECT_EQ(sys.viewer.opened.size(), 1u);
    // An administrator's screen counts down only over its last 30 seconds.
    time.Advance(570'000);
    EXPECT_EQ(Caption("TMessage"), "");
    time.Advance(1000);
    EXPECT_EQ(Caption("TMessage"), "The Configuration Screen will close in 30 sec");
}

}  // namespace
}  // namespace vespar::test
