#pragma once

#include <string>

#include "base/clock.h"
#include "state/configuration.h"
#include "state/context.h"

namespace vespar {

// The configuration screen's field values as Save reads them: texts as typed, check boxes
// 0 (clear) or 1 (ticked), and the chosen list entries.
struct ConfigFields {
    // Texts.
    std::string ComDelay;
    std::string IPAdd;
    std::string Port1;
    std::string Port2;
    std::string AvTime;
    std::string CPUDelay;
    std::string CPULevel;
    std::string DelTime;
    std::string DLDelay;
    std::string DLRate;
    std::string KeyDelay;
    std::string LogName;
    std::string LogPath;
    std::string ShutTime;
    std::string StartDelay;  // seconds, or "hh:mm" when StartTime is ticked
    std::string StopTime;    // "hh:mm"
    // Check boxes.
    int DName = 0;
    int CPU_On = 0;
    int Del_On = 0;
    int DL_On = 0;
    int Key_On = 0;
    int LogRotate = 0;
    int RunOnTop = 0;
    int StartMin = 0;
    int StartTime = 0;
    int Stop_On = 0;
    int UpEnable = 0;
    int ForceS = 0;
    int NoWarn = 0;
    int UserExitA = 0;
    // List choices.
    int LogLevel = 1;  // 1 None, 2 Normal, 3 Full
    int ShutType = 1;  // 1..7

    friend bool operator==(const ConfigFields&, const ConfigFields&) = default;
};

// The fields as the screen shows a record: switches as check box values, times as "hh:mm".
ConfigFields FieldsFromConfiguration(const Configuration& config);

// The whole file text (lines joined by CR LF, no line end after the last). CMain and AvTimeD
// have no field on the screen and come from the record.
std::string BuildConfigurationText(const ConfigFields& fields, const Configuration& record,
                                   const LocalTime& now);

// Replaces Data/Vespar.ini with text and a final CR LF, through a temporary file so a failed
// save leaves the old file whole. A failure is reported in a message box and gives false.
bool WriteConfigurationFile(Context& ctx, const std::string& text);

}  // namespace vespar
