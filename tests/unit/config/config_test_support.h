#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "fakes/temp_program_folder.h"

namespace vespar::test {

// The lines of a CR LF text (no empty last line for the final CR LF).
inline std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline std::vector<std::string> DefaultLines() { return SplitCrLf(DefaultIniText()); }

// The lines without the one that starts with prefix.
inline std::vector<std::string> Without(std::vector<std::string> lines, const std::string& prefix) {
    std::erase_if(lines, [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    return lines;
}

// The lines with the one that starts with "key=" given a new value.
inline std::vector<std::string> WithKey(std::vector<std::string> lines, const std::string& key,
                                        const std::string& value) {
    for (auto& l : lines) {
        if (l.rfind(key + "=", 0) == 0) l = key + "=" + value;
    }
    return lines;
}

// The text of the corrupted-configuration message.
constexpr const char* kCorrupted =
    "The configuration file is corrupted.\r\nReinstall the program to restore the file.\r\n"
    "The program will now terminate.";

// The record the shipped file describes.
inline Configuration ShippedConfiguration() {
    Configuration c;
    c.CMain = 1;
    c.ComDelay = 60;
    c.DName = 1;
    c.IPAdd = "";
    c.Port1 = 10001;
    c.Port2 = 10000;
    c.AvTime = 5;
    c.AvTimeD = 5;
    c.CPUDelay = 60;
    c.CPULevel = 20;
    c.CPU_On = 2;
    c.Del_On = 1;
    c.DelTime = 900;
    c.DLDelay = 60;
    c.DL_On = 2;
    c.DLRate = 10;
    c.KeyDelay = 600;
    c.Key_On = 2;
    c.LogLevel = 2;
    c.LogName = "Vespar.log";
    c.LogPath = "Log\\";
    c.LogRotate = 1;
    c.RunOnTop = 1;
    c.StartDelay = 2;
    c.StartMin = 1;
    c.StartTime = 1;
    c.StopTime = 0;
    c.Stop_On = 1;
    c.UpEnable = 2;
    c.ForceS = 2;
    c.NoWarn = 1;
    c.ShutTime = 60;
    c.ShutType = 1;
    c.UserExitA = 2;
    return c;
}

}  // namespace vespar::test
