#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "state/configuration.h"
#include "state/context.h"

namespace vespar {

// Four dot-separated parts, the first a number from 1 to 255, the others from 0 to 255.
bool IsIPAddress(const std::string& text);

// "hh:mm" from 00:00 to 23:59; a blank before a digit is accepted (" 9:30").
bool IsTimeText(const std::string& text);

// A time of day held as hhmm written "hh:mm" (930 -> "09:30", 2400 -> "24:00").
std::string TimeText(int hhmm);

// The names of the load rules the record fails, in the order they are checked.
std::vector<std::string_view> FailedLoadRules(const Configuration& config);

// Settings that cannot work as a master/slave pair: the engine must not run.
bool IsUnconfigured(const Configuration& config);

// Checks the record straight after a read: marks the program unconfigured when needed and
// ends it (FatalStop) when any value is out of range.
void CheckLoadedValues(Context& ctx);

}  // namespace vespar
