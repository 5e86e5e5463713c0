#pragma once

#include <string>

namespace vespar {

// Which test switch starts the command line (0 none, 1..5); exact, case-sensitive prefixes,
// tested in order with the last match winning.
int ParseCmdSwitch(const std::string& commandLine);

// A second instance is allowed when the command line ends with "-AllowMulti".
bool AllowsMultipleInstances(const std::string& commandLine);

}  // namespace vespar
