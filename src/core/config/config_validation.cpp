#include "config/config_validation.h"

#include <algorithm>
#include <system_error>

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/text.h"
#include "base/text_file.h"
#include "config/config_reader.h"
#include "log/fatal_stop.h"

namespace vespar {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool Outside(int value, int low, int high) { return value < low || value > high; }

}  // namespace

bool IsIPAddress(const std::string& text) {
    if (text.empty() || text.front() == '.' || text.back() == '.') return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c == '.' || IsDigit(c); })) {
        return false;
    }
    if (std::count(text.begin(), text.end(), '.') != 3) return false;
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.', start);
        const std::string digits = text.substr(start, dot - start);
        if (digits.empty()) return false;
        const double n = NumberAtStart(digits);
        // Only the first part must not be 0: 10.0.0.1 and 192.168.0.20 are ordinary addresses.
        if (n < (part == 0 ? 1 : 0) || n > 255) return false;
        start = dot + 1;
    }
    return true;
}

bool IsTimeText(const std::string& text) {
    if (text.size() != 5 || text[2] != ':') return false;
    const std::string hours = text.substr(0, 2);
    const std::string minutes = text.substr(3, 2);
    if (!IsWholeNumber(hours) || !IsWholeNumber(minutes)) return false;
    const double h = NumberAtStart(hours);
    const double m = NumberAtStart(minutes);
    return h >= 0 && h <= 23 && m >= 0 && m <= 59;
}

std::string TimeText(int hhmm) {
    // Four digits with leading zeros, a minus sign before them (so a negative never passes).
    std::string digits = std::to_string(hhmm < 0 ? -static_cast<long long>(hhmm) : hhmm);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    if (hhmm < 0) digits.insert(0, "-");
    return digits.substr(0, 2) + ":" + digits.substr(2);
}

bool IsUsableLogName(const std::filesystem::path& programDir, const std::string& logPath,
                     const std::string& logName) {
    if (logName.find_first_of(std::string("/\\:\0", 4)) != std::string::npos) return false;
    if (logName.find("..") != std::string::npos) return false;
    // Only an existing file can be the configuration file, which does exist: comparing
    // the files themselves sees through case, links and folder spellings.
    std::error_code ec;
    return !std::filesystem::equivalent(ResolvePath(programDir, logPath + logName),
                                        ResolvePath(programDir, "Data\\Vespar.ini"), ec);
}

std::vector<std::string_view> FailedLoadRules(const Configuration& c,
                                              const std::filesystem::path& programDir) {
    std::vector<std::string_view> failed;
    const auto rule = [&failed](std::string_view name, bool fails) {
        if (fails) failed.push_back(name);
    };
    const auto badSwitch = [](int v) { return Outside(v, 1, 2); };
    rule("AvTime", Outside(c.AvTime, 1, 30));
    rule("AvTimeD", Outside(c.AvTimeD, 1, 30));
    rule("IPAdd in IP mode", c.DName == 1 && !c.IPAdd.empty() && !IsIPAddress(c.IPAdd));
    rule("IPAdd in name mode", c.DName == 2 && (c.IPAdd.size() > 100 || IsIPAddress(c.IPAdd)));
    rule("ComDelay", Outside(c.ComDelay, 5, 600));
    rule("CPUDelay", Outside(c.CPUDelay, 5, 600));
    rule("CPULevel", Outside(c.CPULevel, 5, 50));
    rule("CMain", badSwitch(c.CMain));
    rule("CPU_On", badSwitch(c.CPU_On));
    rule("Del_On", badSwitch(c.Del_On));
    rule("DelTime", Outside(c.DelTime, 60, 10800));
    rule("DL_On", badSwitch(c.DL_On));
    rule("DLDelay", Outside(c.DLDelay, 5, 600));
    rule("DLRate", Outside(c.DLRate, 2, 5000));
    rule("DName", badSwitch(c.DName));
    rule("ForceS", badSwitch(c.ForceS));
    rule("KeyDelay", Outside(c.KeyDelay, 5, 3600));
    rule("Key_On", badSwitch(c.Key_On));
    rule("LogLevel", Outside(c.LogLevel, 1, 3));
    rule("LogName", c.LogName.size() < 8 || c.LogName.size() > 20);
    rule("LogName as a file", !IsUsableLogName(programDir, c.LogPath, c.LogName));
    rule("LogPath", c.LogPath.empty() || c.LogPath.back() != '\\' || c.LogPath.size() > 100 ||
                        c.LogPath.size() < 2);
    rule("LogRotate", badSwitch(c.LogRotate));
    rule("NoWarn", badSwitch(c.NoWarn));
    rule("Port1", c.Port1 < 1024 || c.Port1 > 65535);
    rule("Port2", c.Port2 < 1024 || c.Port2 > 65535);
    rule("RunOnTop", badSwitch(c.RunOnTop));
    rule("ShutTime", Outside(c.ShutTime, 2, 600));
    rule("StartMin", badSwitch(c.StartMin));
    rule("ShutType", Outside(c.ShutType, 1, 7));
    rule("StartDelay as a delay", c.StartTime == 1 && Outside(c.StartDelay, 1, 3600));
    rule("StartTime", badSwitch(c.StartTime));
    rule("Stop_On", badSwitch(c.Stop_On));
    rule("UserExitA", badSwitch(c.UserExitA));
    rule("UpEnable", badSwitch(c.UpEnable));
    rule("nothing to watch", c.CMain == 1 && c.CPU_On == 1 && c.Key_On == 1 && c.Stop_On == 1 &&
                                 c.Del_On == 1 && c.DL_On == 1);
    rule("StartDelay as a time", c.StartTime == 2 && !IsTimeText(TimeText(c.StartDelay)));
    rule("StopTime range", Outside(c.StopTime, 0, 12359));
    rule("StopTime as a time", !IsTimeText(TimeText(c.StopTime)));
    rule("fixed delay against CPU", c.Del_On == 2 && c.CPUDelay >= c.DelTime);
    rule("fixed delay against keyboard/mouse", c.Del_On == 2 && c.KeyDelay >= c.DelTime);
    return failed;
}

bool IsUnconfigured(const Configuration& c) {
    const bool monitor = c.ShutType == 4;
    return (c.CMain == 1 && monitor && c.DName == 1 && !IsIPAddress(c.IPAdd)) ||
           (c.CMain == 1 && monitor && c.DName == 2 && c.IPAdd.empty()) ||
           (c.CMain == 2 && monitor) || (c.CMain == 2 && c.DName == 1 && !IsIPAddress(c.IPAdd)) ||
           (c.CMain == 2 && c.DName == 2 && c.IPAdd.empty());
}

void CheckLoadedValues(Context& ctx) {
    const auto count = FailedLoadRules(ctx.rt.config, ctx.programDir).size();
    if (IsUnconfigured(ctx.rt.config)) ctx.rt.unconfigured = true;
    if (count == 0) return;
    ConfigurationCorrupted(ctx, ctx.rt.cmdSwitch != 0
                                    ? std::to_string(count) + "Range Errors" + kCrLf
                                    : std::string());
}

}  // namespace vespar
