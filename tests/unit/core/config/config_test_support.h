#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "fakes/temp_program_folder.h"
#include "state/configuration.h"

namespace vespar::test {

inline std::vector<std::string> DefaultLines() { return SplitLines(DefaultIniText()); }

// The lines without the one that starts with prefix.
inline std::vector<std::string> Without(std::vector<std::string> lines, const std::string& prefix) {
    std::erase_if(lines, [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    return lines;
}

// The lines with the one that starts with "key=" given a new value.
inline std::vector<std::string> WithKey(std::vector<std::string> lines, const std::string& key,
                                        const std::string& value) {
    for (auto& l : lines)
        if (l.rfind(key + "=", 0) == 0) l = key + "=" + value;
    return lines;
}

// The lines with more appended.
inline std::vector<std::string> Plus(std::vector<std::string> lines,
                                     const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// The text of the corrupted-configuration message.
constexpr const char* kCorrupted =
    "The configuration file is corrupted.\r\nReinstall the program to restore the file.\r\n"
    "The program will now terminate.";

// The record the shipped file describes.
inline Configuration ShippedConfiguration() {
    // clang-format off
    return Configuration{
        .CMain = 1, .ComDelay = 60, .DName = 1, .IPAdd = "", .Port1 = 10001, .Port2 = 10000,
        .AvTime = 5, .AvTimeD = 5, .CPUDelay = 60, .CPULevel = 20, .CPU_On = 2, .Del_On = 1,
        .DelTime = 900, .DLDelay = 60, .DL_On = 2, .DLRate = 10, .KeyDelay = 600, .Key_On = 2,
        .LogLevel = 2, .LogName = "Vespar.log", .LogPath = "Log\\", .LogRotate = 1,
        .RunOnTop = 1, .StartDelay = 2, .StartMin = 1, .StartTime = 1, .StopTime = 0,
        .Stop_On = 1, .UpEnable = 2, .ForceS = 2, .NoWarn = 1, .ShutTime = 60, .ShutType = 1,
        .UserExitA = 2};
    // clang-format on
}

}  // namespace vespar::test
