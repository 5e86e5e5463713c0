#include "app/command_line.h"

#include <array>
#include <utility>

namespace vespar {

int ParseCmdSwitch(const std::string& commandLine) {
    static constexpr std::array<std::pair<int, const char*>, 5> kSwitches = {{
        {1, "-InhibitShutdown"},
        {2, "-AddErrorMessage"},
        {3, "-StartShutdown"},
        {4, "-InhibitAdmin"},
        {5, "-ShortUpdateTime"},
    }};
    int value = 0;
    for (const auto& [number, text] : kSwitches) {
        const std::string s = text;
        if (commandLine.compare(0, s.size(), s) == 0) value = number;
    }
    return value;
}

bool AllowsMultipleInstances(const std::string& commandLine) {
    static const std::string kAllowMulti = "-AllowMulti";
    return commandLine.size() >= kAllowMulti.size() &&
           commandLine.compare(commandLine.size() - kAllowMulti.size(), kAllowMulti.size(),
                               kAllowMulti) == 0;
}

}  // namespace vespar
