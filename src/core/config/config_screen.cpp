#include "config/config_screen.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "base/numbers.h"
#include "base/text_file.h"
#include "config/config_validation.h"
#include "log/log_archive.h"
#include "log/log_entry.h"
#include "log/log_file.h"
#include "ui/web_site.h"

namespace vespar {

namespace {

struct TextField {
    const char* control;
    std::string ConfigFields::*member;
};
struct CheckField {
    const char* control;
    int ConfigFields::*member;
};

// The text boxes and check boxes with the settings they hold, in reading order.
constexpr std::array<TextField, 16> kTextFields = {{
    {"IPAddT", &ConfigFields::IPAdd},
    {"Port1T", &ConfigFields::Port1},
    {"Port2T", &ConfigFields::Port2},
    {"ComDelayT", &ConfigFields::ComDelay},
    {"CPUDelayT", &ConfigFields::CPUDelay},
    {"CPULevelT", &ConfigFields::CPULevel},
    {"AvTimeT", &ConfigFields::AvTime},
    {"KeyDelayT", &ConfigFields::KeyDelay},
    {"DLDelayT", &ConfigFields::DLDelay},
    {"DLRateT", &ConfigFields::DLRate},
    {"DelTimeT", &ConfigFields::DelTime},
    {"StopTimeT", &ConfigFields::StopTime},
    {"ShutTimeT", &ConfigFields::ShutTime},
    {"LogNameT", &ConfigFields::LogName},
    {"LogPathT", &ConfigFields::LogPath},
    {"StartDelayT", &ConfigFields::StartDelay},
}};
constexpr std::array<CheckField, 14> kCheckFields = {{
    {"DNameT", &ConfigFields::DName},
    {"CPU_OnT", &ConfigFields::CPU_On},
    {"Key_OnT", &ConfigFields::Key_On},
    {"DL_OnT", &ConfigFields::DL_On},
    {"Del_OnT", &ConfigFields::Del_On},
    {"Stop_OnT", &ConfigFields::Stop_On},
    {"StartTimeT", &ConfigFields::StartTime},
    {"NoWarnT", &ConfigFields::NoWarn},
    {"ForceT", &ConfigFields::ForceS},
    {"UExitT", &ConfigFields::UserExitA},
    {"LogRotateT", &ConfigFields::LogRotate},
    {"StartMinT", &ConfigFields::StartMin},
    {"RunOnTopT", &ConfigFields::RunOnTop},
    {"UpEnableT", &ConfigFields::UpEnable},
}};

// The five checks of which a master keeps at least one ticked.
constexpr std::array<const char*, 5> kActivityChecks = {"CPU_OnT", "Key_OnT", "DL_OnT", "Del_OnT",
                                                        "Stop_OnT"};

constexpr std::array<const char*, 19> kRangeLabels = {
    "IPAddM",    "ComDelayM", "PortM",       "Port1L",   "Port2L",    "CPUDelayM", "KeyDelayM",
    "AvTimeM",   "CPULevelM", "DLRateM",     "DLDelayM", "LogLevelM", "LogNameM",  "LogPathM",
    "ShutTimeM", "ShutTypeM", "StartDelayM", "DelTimeM", "StopTimeM"};

constexpr const char* kDelTimeRange = "sec (min 60, max 10800)";
constexpr const char* kPortTip =
    "Port used to communicate from Master to Slave - only change this if there is a clash with "
    "another program";

// Control, caption, range label text (empty: set by a rule) and tooltip of each field.
struct FieldText {
    const char* control;
    const char* caption;
    const char* range;
    const char* tooltip;
};
constexpr std::array<FieldText, 32> kFieldTexts = {{
    {"IPAddT", "IP Address:", "", ""},
    {"DNameT", "Domain Name:", "", "Enable domain name instead of IP address"},
    {"Port1T", "TX:", "", kPortTip},
    {"Port2T", "Rx:", "", kPortTip},
    {"ComDelayT", "Lost Comms:", "sec (min 5, max 600)",
     "Lost comms delay before shutdown is initiated"},
    {"CPU_OnT", "CPU Check:", "", "Enable CPU level checking"},
    {"CPUDelayT", "CPU Delay:", "sec (min 5, max 600)",
     "Time for no CPU activity before shutdown initiated"},
    {"CPULevelT", "CPU Level", "% (min 5, max 50)", "CPU Threshold"},
    {"AvTimeT", "CPU Averaging:", "sec ( min 1, max 30)", "CPU Averaging Period"},
    {"Key_OnT", "KM Check:", "", "Enable Keyboard/Mouse checking"},
    {"KeyDelayT", "Key/Mouse Delay:", "sec (min 5, max 3600)",
     "Time for no Keyboard/Mouse activity before shutdown initiated"},
    {"DL_OnT", "Download Check", "", "Enable Download Rate checking"},
    {"DLDelayT", "Download Delay:", "sec (min 5, max 600)",
     "Time for no download activity before shutdown initiated"},
    {"DLRateT", "Download Rate:", "KB/sec (min 2, max 5000)", "Download Rate threshold"},
    {"Del_OnT", "Fixed Delay:", "", "Enable Fixed Delay"},
    {"DelTimeT", "Shutdown After:", kDelTimeRange,
     "Delay after activation when shutdown is initiated in seconds (must be greater than CPU, "
     "Download and Key/Mouse Delays)"},
    {"Stop_OnT", "Fixed Time:", "", "Enable Fixed Time"},
    {"StopTimeT", "Shutdown At:", "(Time in the format xx:xx)",
     "Time at which computer is shutdown in the format 'xx:xx' (24 hour clock)"},
    {"StartTimeT", "", "", "Enable fixed time activation"},
    {"StartDelayT", "", "", ""},
    {"ShutNameT", "Shut Down Type:", "", "Type of Shutdown"},
    {"ShutTimeT", "Shut Down Time:", "sec (min 2, max 600)",
     "Time before shutdown occurs after the shutdown sequence has started"},
    {"NoWarnT", "Silent:", "", "Disable shutdown warning period"},
    {"ForceT", "Force:", "", "Enable forced shutdown even if programs are still running"},
    {"UExitT", "User Exit:", "", "Enables program exit for non administrative users"},
    {"LogLevelT", "Log Level:", "(Full = large log files)", "Log level"},
    {"LogNameT", "Log File Name:", "(8 to 20 chars)", "Log file name"},
    {"LogPathT", "Log File Path:", "(Must exist and be between 1 and 99 characters plus '\\')",
     "Path to log file (either an absolute path or relative to the Program Directory)"},
    {"LogRotateT", "Rotate:", "", "Enable log rotation"},
    {"StartMinT", "System Tray:", "",
     "Set program to Run Minimised in System Tray (takes priority over Run On Top)"},
    {"RunOnTopT", " Run On Top:", "",
     "Set program to Run On Top (Run in System Tray takes priority)"},
    {"UpEnableT", "Update Check", "", "Enable automatic check for new versions"},
}};

// A field's caption label is named after its key with "L", its range label with "M".
std::string Stem(const std::string& control) { return control.substr(0, control.size() - 1); }

bool Outside(double value, double low, double high) { return value < low || value > high; }

constexpr const char* kOutOfRange = "Item(s) Highlighted Contain Out Of Range Values";

}  // namespace

ConfigScreen::ConfigScreen(Context& ctx, ConfigScreenHost& host, MainWindowScreen& main,
                           TextViewer& viewer, UrlOpener& opener)
    : ScreenModel("frmConfig"),
      ctx_(ctx),
      host_(host),
      main_(main),
      viewer_(viewer),
      opener_(opener),
      timer1_(ctx.timers.Create(kTimer1Name, 1000, [this] { Timer1Tick(); })),
      timer2_(ctx.timers.Create(kTimer2Name, 2000, [this] { Timer2Tick(); })) {
    Design();
    // Check boxes and lists: set by the user or from code, both raise these rules.
    for (const char* name : kActivityChecks) OnRule(name, [this] { ActivityCheckClick(); });
    const auto choiceRule = [this] {
        ReadShutTypeChoice();
        ApplyEnabling();
        ApplyCaptions();
    };
    OnRule("DNameT", choiceRule);
    OnRule("ShutNameT", choiceRule);
    OnRule("ForceT", [this] {
        ApplyEnabling();
        ApplyCaptions();
    });
    OnRule("NoWarnT", [this] { ApplyEnabling(); });
    OnRule("LogLevelT", [this] { LogLevelClick(); });
    OnRule("RunOnTopT", [this] { RunOnTopClick(); });
    // These two act even while the screen fills itself.
    OnClick("StartTimeT", [this] {
        if (open_) StartTimeClick();
    });
    OnClick("Logo", [this] {
        if (open_) LaunchWebSite(ctx_, opener_, "");
    });
    OnButton("Save", [this] { Save(); });
    OnButton("RestoreData", [this] { Restore(); });
    OnButton("ExitConfig", [this] { ExitClick(); });
    OnButton("Archive", [this] { ArchiveClick(); });
    OnButton("ViewL", [this] { ViewLog(ctx_, viewer_); });
    // The window's close button leaves the way Exit does, so a saved change is applied.
    OnClick("#close", [this] {
        if (open_) ExitClick();
    });
    OnClick("#activate", [this] { Activate(); });
}

bool ConfigScreen::IsCheckBox(const std::string& name) {
    for (const CheckField& c : kCheckFields) {
        if (name == c.control) return true;
    }
    return false;
}

ConfigScreen::~ConfigScreen() {
    ctx_.timers.Remove(timer1_);
    ctx_.timers.Remove(timer2_);
}

Control& ConfigScreen::Declare(const std::string& name, const std::string& text,
                               const std::string& tip) {
    Control& c = control(name);
    c = Control{};
    c.caption = text;
    c.tooltip = tip;
    return c;
}

void ConfigScreen::Design() {
    for (const FieldText& f : kFieldTexts) {
        const std::string stem = Stem(f.control);
        Declare(f.control, "", f.tooltip);
        if (*f.caption != '\0') Declare(stem + "L", f.caption);
        if (*f.range != '\0') Declare(stem + "M", f.range);
    }
    // The ports share one range label; these are set by the caption rules.
    Declare("PortsL", "Ports:");
    Declare("PortM", "(Port between 1024 and 65535))");
    for (const char* name : {"StartDelayL", "IPAddM", "StartDelayM", "ShutTypeM"}) {
        Declare(name, "");
    }
    for (const char* name : kRangeLabels) control(name).foreColor = kDarkGreen;
    for (const TextField& f : kTextFields) {
        control(f.control).backColor = Color::System(Color::Kind::WindowBackground);
    }
    control("ShutNameT").items = {"Hibernate", "Log Off",  "Monitor", "Power Off",
                                  "Reboot",    "Shutdown", "StandBy"};
    control("LogLevelT").items = {"Full", "None", "Normal"};
    Declare("Save", "&Save").enabled = false;
    Declare("RestoreData", "&Restore").enabled = false;
    Declare("ExitConfig", "&Exit");
    Declare("Archive", "&Archive", "Archive Vespar log file and create new one").enabled = false;
    Declare("ViewL", "&View Log").enabled = false;
    Declare("Logo", "");
    Declare("Status", "").foreColor = kOrange;
    Declare("TMessage", "");
    Declare("ActivationFrame", "Activation");
    Declare("ControlFrame", "Control");
    Declare("ShutdownFrame", "Shutdown");
    Declare("CommsFrame", "Slave Communications");
    loading_ = false;
    changed_ = false;
    logLevelChoice_ = 0;
    shutTypeChoice_ = 0;
    snapshot_.clear();
}

void ConfigScreen::OnRule(const std::string& name, std::function<void()> rule) {
    OnClick(name, [this, rule = std::move(rule)] {
        if (open_ && !loading_) rule();
    });
}

void ConfigScreen::OnButton(const std::string& name, std::function<void()> handler) {
    // A disabled button refuses its command: that is how Save is kept from other users.
    OnClick(name, [this, name, handler = std::move(handler)] {
        if (open_ && control(name).enabled) handler();
    });
}

// ---- Loading, activation, unloading

void ConfigScreen::Open() {
    if (!open_) {
        Runtime& rt = ctx_.rt;
        const bool admin = host_.IsAdmin();
        Design();
        open_ = true;
        // 1-2
        loading_ = true;
        SetButtonTips();
        const std::string hint =
            Master() ? " (At least one of CPU Check, KM Check, Download Check, Fixed Delay and "
                       "Fixed Time must be enabled)"
                     : "";
        for (const char* name : kActivityChecks) control(name).tooltip += hint;
        rt.childFormOpen = true;
        // 3-5
        FillFields();
        ApplyEnabling();
        ApplyCaptions();
        caption = rt.programTitle + " Configuration";
        if (!Master()) {
            control("Port1L").caption = "Rx Port";
            control("Port2L").caption = "Tx Port";
        }
        // 6-9
        control("Save").enabled = admin;
        control("RestoreData").enabled = admin;
        const bool logButtons = (admin || rt.config.UserExitA == 2) && logLevelChoice_ != 1;
        control("Archive").enabled = logButtons;
        control("ViewL").enabled = logButtons;
        rt.configTimeout = rt.cmdSwitch == 1 ? (admin ? 4 : 2) : (admin ? 600 : 30);
        control("TMessage").caption.clear();
        // 10. Loading ends even with values out of range, so that the rules work while the
        // user corrects them.
        const int errors = ValidateScreen();
        if (errors > 0) {
            control("Status").caption = std::to_string(errors) + " " + kOutOfRange;
        } else {
            rt.configSaved = false;
        }
        loading_ = false;
        topmost = false;
    }
    visible = true;
    // Showing the window makes it the active one.
    Activate();
}

void ConfigScreen::Activate() {
    if (open_ && ctx_.rt.config.RunOnTop == 2) topmost = true;
}

void ConfigScreen::Close() {
    // The engine's tick asks whenever a child screen is open, which may be the other one.
    if (!open_) return;
    open_ = false;
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    visible = false;
    topmost = false;
    host_.EnableControls();
    ctx_.rt.childFormOpen = false;
}

// ---- Field access

double ConfigScreen::Number(const std::string& name) const { return NumberAtStart(Text(name)); }

void ConfigScreen::SetCheck(const std::string& name, int value) {
    Control& box = control(name);
    if (box.value == value) return;
    box.value = value;
    Click(name);
}

void ConfigScreen::SelectText(const std::string& name, const std::string& text) {
    Control& list = control(name);
    for (int i = 0; i < static_cast<int>(list.items.size()); ++i) {
        if (list.items[static_cast<std::size_t>(i)] != text) continue;
        if (list.selection == i) return;
        list.selection = i;
        Click(name);
        return;
    }
}

std::string ConfigScreen::ListText(const std::string& name) const {
    const Control& list = control(name);
    if (list.selection < 0 || list.selection >= static_cast<int>(list.items.size())) return {};
    return list.items[static_cast<std::size_t>(list.selection)];
}

void ConfigScreen::EnableBox(const std::string& name, bool enabled) {
    Control& c = control(name);
    c.enabled = enabled;
    c.backColor = Color::System(enabled ? Color::Kind::WindowBackground : Color::Kind::ButtonFace);
}

void ConfigScreen::Highlight(const std::string& label) {
    control(label).foreColor = kOrange;
    control(label).bold = true;
}

ConfigFields ConfigScreen::Fields() const {
    ConfigFields f;
    for (const TextField& t : kTextFields) f.*t.member = Text(t.control);
    for (const CheckField& c : kCheckFields) f.*c.member = control(c.control).value;
    f.LogLevel = logLevelChoice_;
    f.ShutType = shutTypeChoice_;
    return f;
}

std::string ConfigScreen::TakeSnapshot() const {
    // Each value with its length in front, so that no two different sets of values meet.
    std::string s;
    const auto add = [&s](const std::string& v) { s += std::to_string(v.size()) + ":" + v + ";"; };
    for (const TextField& t : kTextFields) add(Text(t.control));
    for (const CheckField& c : kCheckFields) add(std::to_string(control(c.control).value));
    add(ListText("LogLevelT"));
    add(std::to_string(shutTypeChoice_));
    return s;
}

// ---- Operations

void ConfigScreen::FillFields() {
    // The user's settings, never the delays a test switch shortened for this run.
    const Configuration& c = ctx_.rt.savedConfig;
    const ConfigFields f = FieldsFromConfiguration(c);
    for (const CheckField& box : kCheckFields) SetCheck(box.control, f.*box.member);
    for (const TextField& t : kTextFields) {
        // A start value of no known kind leaves its field as it is.
        if (std::string(t.control) == "StartDelayT" && c.StartTime != 1 && c.StartTime != 2) {
            continue;
        }
        SetText(t.control, f.*t.member);
    }
    logLevelChoice_ = 0;
    static const std::array<const char*, 3> kLevels = {"None", "Normal", "Full"};
    if (c.LogLevel >= 1 && c.LogLevel <= 3) {
        SelectText("LogLevelT", kLevels[static_cast<std::size_t>(c.LogLevel - 1)]);
        logLevelChoice_ = c.LogLevel;
    }
    shutTypeChoice_ = 0;
    static const std::array<const char*, 7> kTypes = {"Power Off", "Reboot",  "Shutdown", "Monitor",
                                                      "Hibernate", "StandBy", "Log Off"};
    if (c.ShutType >= 1 && c.ShutType <= 7) {
        if (c.ShutType == 5 || c.ShutType == 6) control("ShutTypeM").caption.clear();
        SelectText("ShutNameT", kTypes[static_cast<std::size_t>(c.ShutType - 1)]);
        shutTypeChoice_ = c.ShutType;
    }
    snapshot_ = TakeSnapshot();
}

void ConfigScreen::ApplyEnabling() {
    control("Del_OnT").enabled = true;
    control("Stop_OnT").enabled = true;
    const bool cpu = Ticked("CPU_OnT");
    for (const char* name : {"CPUDelayT", "AvTimeT", "CPULevelT"}) EnableBox(name, cpu);
    EnableBox("KeyDelayT", Ticked("Key_OnT"));
    EnableBox("DelTimeT", Ticked("Del_OnT"));
    EnableBox("DLDelayT", Ticked("DL_OnT"));
    EnableBox("DLRateT", Ticked("DL_OnT"));
    EnableBox("StopTimeT", Ticked("Stop_OnT"));
    EnableBox("ShutTimeT", !Ticked("NoWarnT"));
    if (Master()) {
        control("Stop_OnT").enabled = true;
        EnableBox("StopTimeT", Ticked("Stop_OnT"));
        EnableBox("ComDelayT", false);
    } else {
        // Fixed delay and fixed time are not available on a slave.
        EnableBox("DelTimeT", false);
        control("Del_OnT").enabled = false;
        EnableBox("StopTimeT", false);
        control("Stop_OnT").enabled = false;
        EnableBox("ComDelayT", true);
    }
    const bool noCheck = !Ticked("CPU_OnT") && !Ticked("Key_OnT") && !Ticked("DL_OnT");
    const int type = shutTypeChoice_;
    control("ForceT").enabled = !((Master() && noCheck) || type == 4 || type == 5 || type == 6);
}

void ConfigScreen::ApplyCaptions() {
    // C1
    const bool atTime = Ticked("StartTimeT");
    control("StartDelayL").caption = atTime ? "Activate At:" : "Activate After:";
    control("StartDelayM").caption = atTime ? "Time in the format xx:xx" : "sec (min 1, max 3600)";
    control("StartDelayT").tooltip =
        atTime ? "Time at which program is activated in the format 'xx:xx' (24 hour clock)"
               : "Delay after startup before program is activated";
    // C2
    const bool monitor = ListText("ShutNameT") == "Monitor";
    const bool needed = monitor || !Master();
    if (!Ticked("DNameT")) {
        control("IPAddL").caption = "IP Address";
        control("IPAddT").tooltip = "IP Address of computer to communicate with";
        control("IPAddM").caption = needed ? "(A valid IP address)" : "(Empty or an IP address)";
    } else {
        control("IPAddL").caption = "Domain Name";
        control("IPAddT").tooltip =
            "Domain name of computer to communicate with (less than 100 characters)";
        control("IPAddM").caption = needed ? "(a valid domain name)" : "(Empty or a domain name)";
    }
    // C3
    std::string& typeHint = control("ShutTypeM").caption;
    typeHint.clear();
    const int type = shutTypeChoice_;
    const bool forcing =
        Ticked("ForceT") || (!Ticked("CPU_OnT") && !Ticked("Key_OnT") && Ticked("Stop_OnT"));
    if ((type == 1 || type == 2 || type == 3 || type == 7) && forcing) {
        typeHint = "(Forces apps to close)";
    }
    if (ctx_.rt.config.ShutType == 4 && !Master()) typeHint = "Not available in slave";
    if (monitor && Master()) {
        typeHint = Ticked("DNameT") ? "(Use with a domain name)" : "(Use with an IP Address)";
    }
    if (monitor && !Master()) {
        typeHint = "Not available in slave";
        shutTypeChoice_ = 4;
    }
}

void ConfigScreen::ReadShutTypeChoice() {
    static const std::array<std::pair<const char*, int>, 7> kCodes = {{{"Power Off", 1},
                                                                       {"Reboot", 2},
                                                                       {"Shutdown", 3},
                                                                       {"Monitor", 4},
                                                                       {"Hibernate", 5},
                                                                       {"StandBy", 6},
                                                                       {"Log Off", 7}}};
    const std::string text = ListText("ShutNameT");
    for (const auto& [name, code] : kCodes) {
        if (text != name) continue;
        shutTypeChoice_ = code;
        if (code == 5 || code == 6) control("ShutTypeM").caption.clear();
    }
}

void ConfigScreen::SetButtonTips() {
    const std::string& p = ctx_.rt.programTitle;
    control("ViewL").tooltip = "View " + p + " log file (It will not be updated while open)";
    control("RestoreData").tooltip =
        "Restore " + p +
        " Default Configuration Values (Does not restore or delete any computer address set)";
    control("Save").tooltip = "Save " + p +
                              " Configuration Values (The program will be reset when you close "
                              "this screen if values have been changed)";
    control("ExitConfig").tooltip =
        control("ExitConfig").caption == "&Exit"
            ? "Close " + p +
                  " Configuration Screen (The program will be reset if changed values have been "
                  "saved)"
            : "Close " + p + " Configuration Screen without saving changes";
}

void ConfigScreen::ResetRangeLabels() {
    for (const char* name : kRangeLabels) {
        control(name).foreColor = kDarkGreen;
        control(name).bold = false;
    }
    control("DelTimeM").caption = kDelTimeRange;
    control("Status").caption.clear();
}

int ConfigScreen::ValidateScreen() {
    ResetRangeLabels();
    ApplyEnabling();
    ReadShutTypeChoice();
    const std::string level = ListText("LogLevelT");
    if (level == "None") logLevelChoice_ = 1;
    if (level == "Normal") logLevelChoice_ = 2;
    if (level == "Full") logLevelChoice_ = 3;

    int count = 0;
    // A failed rule counts once and highlights its labels; some also open their field.
    const auto rule = [&](bool fails, std::initializer_list<const char*> labels,
                          const char* field = nullptr) {
        if (!fails) return;
        ++count;
        for (const char* label : labels) Highlight(label);
        if (field != nullptr) EnableBox(field, true);
    };
    const bool domain = Ticked("DNameT");
    const std::string& address = Text("IPAddT");
    const bool ip = IsIPAddress(address);
    const std::string& logName = Text("LogNameT");
    const std::string& logPath = Text("LogPathT");
    const bool atTime = Ticked("StartTimeT");
    const bool fixedDelay = Ticked("Del_OnT");
    const double delTime = Number("DelTimeT");
    const bool master = ctx_.rt.config.CMain == 1;
    const bool slave = ctx_.rt.config.CMain == 2;
    const bool monitor = shutTypeChoice_ == 4;

    rule(Outside(Number("AvTimeT"), 1, 30), {"AvTimeM"});
    rule(!domain && !address.empty() && !ip, {"IPAddM"});
    rule(domain && (address.size() > 100 || ip), {"IPAddM"});
    rule(Outside(Number("ComDelayT"), 5, 600), {"ComDelayM"}, "ComDelayT");
    rule(Outside(Number("CPUDelayT"), 5, 600), {"CPUDelayM"}, "CPUDelayT");
    rule(Outside(Number("CPULevelT"), 5, 50), {"CPULevelM"});
    rule(Outside(delTime, 60, 10800), {"DelTimeM"});
    rule(Outside(Number("DLDelayT"), 5, 600), {"DLDelayM"});
    rule(Outside(Number("DLRateT"), 2, 5000), {"DLRateM"});
    rule(Outside(Number("KeyDelayT"), 5, 3600), {"KeyDelayM"}, "KeyDelayT");
    rule(Outside(logLevelChoice_, 1, 3), {"LogLevelM"});
    rule(logName.size() < 4 || logName[logName.size() - 4] != '.', {"LogNameM"});
    rule(logName.size() < 8 || logName.size() > 20, {"LogNameM"});
    // The same rule as at load: never a path, never the configuration file.
    rule(!IsUsableLogName(ctx_.programDir, logPath, logName), {"LogNameM"});
    rule(logPath.size() > 100 || logPath.size() < 2, {"LogPathM"});
    std::error_code ec;
    rule(!std::filesystem::is_directory(ResolvePath(ctx_.programDir, logPath), ec), {"LogPathM"});
    rule(logPath.empty() || logPath.back() != '\\', {"LogPathM"});
    rule(Outside(Number("Port1T"), 1024, 65535), {"PortM", "Port1L"});
    rule(Outside(Number("Port2T"), 1024, 65535), {"PortM", "Port2L"});
    rule(Outside(Number("ShutTimeT"), 2, 600), {"ShutTimeM"});
    rule(Outside(shutTypeChoice_, 1, 7), {"ShutTypeM"});
    rule(!atTime && Outside(Number("StartDelayT"), 1, 3600), {"StartDelayM"});
    rule(atTime && !IsTimeText(Text("StartDelayT")), {"StartDelayM"});
    rule(!IsTimeText(Text("StopTimeT")), {"StopTimeM"}, "StopTimeT");
    const auto delayAgainst = [&](const char* field, const char* text) {
        if (!fixedDelay || Number(field) < delTime) return;
        rule(true, {"DelTimeM"});
        control("DelTimeM").caption = text;
    };
    delayAgainst("CPUDelayT", "< CPU and/or Key Delay");
    delayAgainst("KeyDelayT", "< CPU and/or Key Delay");
    delayAgainst("DLDelayT", "< CPU, Download and/or Key Delay");
    rule(slave && !domain && !ip, {"IPAddM"});
    rule(slave && domain && address.empty(), {"IPAddM"});
    const bool noPartner = domain ? address.empty() || ip : !ip;
    rule(master && monitor && noPartner, {"ShutTypeM"});
    rule(master && monitor && noPartner, {"IPAddM"});
    if (slave && monitor) {
        rule(true, {"ShutTypeM"});
        control("ShutTypeM").caption = "Invalid Option In Slave Mode";
    }
    rule(slave && ctx_.rt.portFailed, {"PortM", "Port1L"});

    if (ctx_.rt.cmdSwitch == 2 && count > 0) {
        ctx_.dialogs.Show({ctx_.rt.programTitle + " Data Error", "Invalid Data"});
    }
    timer1_.SetEnabled(true);
    return count;
}

// ---- Click rules

void ConfigScreen::ActivityCheckClick() {
    if (Master()) {
        bool anyOn = false;
        for (const char* name : kActivityChecks) anyOn = anyOn || Ticked(name);
        if (!anyOn) SetCheck("CPU_OnT", 1);
    }
    ApplyEnabling();
    ApplyCaptions();
}

void ConfigScreen::StartTimeClick() {
    ApplyEnabling();
    ApplyCaptions();
    // A time and a delay are not converted into each other.
    const std::string& text = Text("StartDelayT");
    const bool looksLikeTime = text.size() >= 3 && text[2] == ':';
    if (Ticked("StartTimeT") != looksLikeTime) SetText("StartDelayT", "");
}

void ConfigScreen::LogLevelClick() {
    const bool on = ListText("LogLevelT") != "None" && host_.IsAdmin();
    control("Archive").enabled = on;
    control("ViewL").enabled = on;
}

void ConfigScreen::RunOnTopClick() {
    if (Ticked("RunOnTopT")) {
        topmost = true;
        return;
    }
    if (main_.visible) main_.topmost = false;
    topmost = false;
}

// ---- Buttons and timers

void ConfigScreen::Save() {
    Runtime& rt = ctx_.rt;
    control("Status").caption.clear();
    control("ExitConfig").caption = "&Exit";
    SetButtonTips();
    rt.portFailed = false;
    if (ValidateScreen() != 0) {
        control("Status").caption = std::string(kOutOfRange) + " - Changes Not Saved";
        return;
    }
    const ConfigFields fields = Fields();
    changed_ = TakeSnapshot() != snapshot_;
    if (fields.StartMin + 1 != rt.config.StartMin) rt.minimiseToggled = false;
    const std::string text = BuildConfigurationText(fields, rt.config, ctx_.clock.now());
    if (changed_) {
        if (!WriteConfigurationFile(ctx_, text)) {
            // The user's edits give way to the running values; the old file is whole.
            loading_ = true;
            FillFields();
            ApplyEnabling();
            ApplyCaptions();
            loading_ = false;
            changed_ = false;
            return;
        }
        control("Status").caption = "Changes Saved - Click Exit To Activate The Changes";
        rt.configSaved = true;
    } else {
        control("Status").caption = "No Changes To Save";
    }
    changed_ = false;
    snapshot_ = TakeSnapshot();
    timer2_.SetEnabled(true);
}

void ConfigScreen::Restore() {
    SetText("AvTimeT", "5");
    SetText("ComDelayT", "60");
    SetText("CPUDelayT", "60");
    SetText("CPULevelT", "20");
    SetCheck("CPU_OnT", 1);
    SetCheck("Del_OnT", 0);
    SetText("DelTimeT", "900");
    SetText("DLDelayT", "60");
    SetCheck("DL_OnT", 1);
    SetText("DLRateT", "10");
    SetCheck("ForceT", 1);
    SetText("KeyDelayT", "600");
    SetCheck("Key_OnT", 1);
    SelectText("LogLevelT", "Normal");
    SetText("LogNameT", "Vespar.log");
    SetText("LogPathT", "Log\\");
    SetCheck("LogRotateT", 0);
    SetCheck("NoWarnT", 0);
    SetText("Port1T", "10001");
    SetText("Port2T", "10000");
    SetCheck("RunOnTopT", 0);
    SetText("ShutTimeT", "60");
    SetCheck("StartMinT", 0);
    SelectText("ShutNameT", "Power Off");
    SetText("StartDelayT", "2");
    SetCheck("StartTimeT", 0);
    SetText("StopTimeT", "00:00");
    SetCheck("Stop_OnT", 0);
    SetCheck("UExitT", 1);
    SetCheck("UpEnableT", 1);
    ResetRangeLabels();
    ApplyEnabling();
    ApplyCaptions();
    control("Status").caption = "Defaults Restored - Click Save To Keep";
    timer2_.SetEnabled(true);
    control("ExitConfig").caption = "&Exit";
    SetButtonTips();
}

void ConfigScreen::ExitClick() {
    Runtime& rt = ctx_.rt;
    // Users who cannot save are never held on the screen by their edits.
    if (!host_.IsAdmin()) snapshot_ = TakeSnapshot();
    if (TakeSnapshot() != snapshot_ && control("ExitConfig").caption == "&Exit") {
        control("ExitConfig").caption = "&Cancel";
        control("Status").caption = "Click Cancel to exit without saving changes";
        SetButtonTips();
        return;
    }
    if (rt.configSaved || rt.unconfigured || rt.portFailed) {
        host_.ReloadConfiguration();
        host_.InitialiseMonitor();
        StartLogFile(ctx_);
        if (!rt.unconfigured) {
            WriteLogEntry(ctx_, "Config", "Updated");
            if (rt.config.LogLevel == 3) WriteLogHeader(ctx_, 1);
        }
        host_.ShowStatus();
    }
    Close();
}

void ConfigScreen::ArchiveClick() {
    const ArchiveOutcome outcome = ArchiveLog(ctx_);
    if (outcome == ArchiveOutcome::Unchanged) return;
    control("Status").caption = ArchiveStatusText(outcome);
    timer1_.SetEnabled(true);
}

void ConfigScreen::Timer1Tick() {
    Runtime& rt = ctx_.rt;
    if (rt.configTimeout < 31) {
        control("TMessage").caption =
            "The Configuration Screen will close in " + std::to_string(rt.configTimeout) + " sec";
    }
    rt.configTimeout -= 1;
}

void ConfigScreen::Timer2Tick() {
    control("Status").caption.clear();
    timer2_.SetEnabled(false);
}

}  // namespace vespar
