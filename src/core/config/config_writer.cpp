#include "config/config_writer.h"

#include <fstream>
#include <vector>

#include "base/dates.h"
#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/text.h"
#include "base/text_file.h"
#include "base/version.h"
#include "config/config_validation.h"
#include "log/startup_checks.h"

namespace vespar {

namespace {

std::string Number(const std::string& text) { return NumberText(NumberAtStart(text)); }

std::string Switch(int checkBox) { return std::to_string(checkBox + 1); }

// "hh:mm" as stored: 10000 + hh * 100 + mm, from the first two and the last two characters.
// Hours and minutes are read apart so that a blank inside ("08: 5") cannot shift digits.
std::string StoredTime(const std::string& text) {
    const std::string hours = text.substr(0, 2);
    const std::string minutes = text.size() > 2 ? text.substr(text.size() - 2) : text;
    return NumberText(NumberAtStart(hours) * 100 + NumberAtStart(minutes) + 10000);
}

}  // namespace

ConfigFields FieldsFromConfiguration(const Configuration& c) {
    ConfigFields f;
    f.ComDelay = std::to_string(c.ComDelay);
    f.IPAdd = c.IPAdd;
    f.Port1 = std::to_string(c.Port1);
    f.Port2 = std::to_string(c.Port2);
    f.AvTime = std::to_string(c.AvTime);
    f.CPUDelay = std::to_string(c.CPUDelay);
    f.CPULevel = std::to_string(c.CPULevel);
    f.DelTime = std::to_string(c.DelTime);
    f.DLDelay = std::to_string(c.DLDelay);
    f.DLRate = std::to_string(c.DLRate);
    f.KeyDelay = std::to_string(c.KeyDelay);
    f.LogName = c.LogName;
    f.LogPath = c.LogPath;
    f.ShutTime = std::to_string(c.ShutTime);
    f.StartDelay = c.StartTime == 2 ? TimeText(c.StartDelay) : std::to_string(c.StartDelay);
    f.StopTime = TimeText(c.StopTime);
    f.DName = c.DName - 1;
    f.CPU_On = c.CPU_On - 1;
    f.Del_On = c.Del_On - 1;
    f.DL_On = c.DL_On - 1;
    f.Key_On = c.Key_On - 1;
    f.LogRotate = c.LogRotate - 1;
    f.RunOnTop = c.RunOnTop - 1;
    f.StartMin = c.StartMin - 1;
    f.StartTime = c.StartTime - 1;
    f.Stop_On = c.Stop_On - 1;
    f.UpEnable = c.UpEnable - 1;
    f.ForceS = c.ForceS - 1;
    f.NoWarn = c.NoWarn - 1;
    f.UserExitA = c.UserExitA - 1;
    f.LogLevel = c.LogLevel;
    f.ShutType = c.ShutType;
    return f;
}

std::string BuildConfigurationText(const ConfigFields& f, const Configuration& record,
                                   const LocalTime& now) {
    const std::string startDelay =
        f.StartTime == 1 ? StoredTime(f.StartDelay) : Number(f.StartDelay);
    return JoinCrLf({
        "# Vespar Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor),
        "# Configuration File",
        "# " + FormatDateTime(now),
        "",
        "[Comms]",
        "CMain=" + std::to_string(record.CMain),
        "ComDelay=" + Number(f.ComDelay),
        "DName=" + Switch(f.DName),
        "IPAdd=" + f.IPAdd,
        "Port1=" + Number(f.Port1),
        "Port2=" + Number(f.Port2),
        "",
        "[Run]",
        "AvTime=" + Number(f.AvTime),
        "AvTimeD=" + std::to_string(record.AvTimeD),
        "CPUDelay=" + Number(f.CPUDelay),
        "CPULevel=" + Number(f.CPULevel),
        "CPU_On=" + Switch(f.CPU_On),
        "Del_On=" + Switch(f.Del_On),
        "DelTime=" + Number(f.DelTime),
        "DLDelay=" + Number(f.DLDelay),
        "DL_On=" + Switch(f.DL_On),
        "DLRate=" + Number(f.DLRate),
        "KeyDelay=" + Number(f.KeyDelay),
        "Key_On=" + Switch(f.Key_On),
        "LogLevel=" + std::to_string(f.LogLevel),
        "LogName=" + f.LogName,
        "LogPath=" + f.LogPath,
        "LogRotate=" + Switch(f.LogRotate),
        "RunOnTop=" + Switch(f.RunOnTop),
        "StartDelay=" + startDelay,
        "StartMin=" + Switch(f.StartMin),
        "StartTime=" + Switch(f.StartTime),
        "StopTime=" + StoredTime(f.StopTime),
        "Stop_On=" + Switch(f.Stop_On),
        "UpEnable=" + Switch(f.UpEnable),
        "",
        "[Shutdown]",
        "ForceS=" + Switch(f.ForceS),
        "NoWarn=" + Switch(f.NoWarn),
        "ShutTime=" + Number(f.ShutTime),
        "ShutType=" + std::to_string(f.ShutType),
        "UserExitA=" + Switch(f.UserExitA),
    });
}

bool WriteConfigurationFile(Context& ctx, const std::string& text) {
    CheckDirectory(ctx, "data");
    CheckRequiredFile(ctx, "configuration", "Data\\", "Vespar.ini");
    const auto file = ResolvePath(ctx.programDir, "Data\\Vespar.ini");
    // A file the user made read-only stays as it is, as it would where renaming over it fails.
    const bool writable = static_cast<bool>(std::ofstream(file, std::ios::binary | std::ios::app));
    if (writable && ReplaceAtomically(file, text + kCrLf)) return true;
    ctx.dialogs.Show({ctx.rt.programTitle + " Configuration File Error",
                      JoinCrLf({"Unable to write to the configuration file. Vespar.ini",
                                "This may be a permissions problem."}),
                      Icon::Exclamation, Buttons::Ok});
    return false;
}

}  // namespace vespar
