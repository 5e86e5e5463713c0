#pragma once

#include <filesystem>
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

// The log's file name is a plain name in the log folder (no folder separator, drive colon,
// "..", or NUL), and LogPath & LogName resolved below programDir is not the configuration
// file. The length of the name is a rule of its own.
bool IsUsableLogName(const std::filesystem::path& programDir, const std::string& logPath,
                     const std::string& logName);

// The names of the load rules the record fails, in the order they are checked; programDir
// resolves the configured paths.
std::vector<std::string_view> FailedLoadRules(const Configuration& config,
                                              const std::filesystem::path& programDir);

// Settings that cannot work as a master/slave pair: the engine must not run.
bool IsUnconfigured(const Configuration& config);

// Checks the record straight after a read: marks the program unconfigured when needed and
// ends it (FatalStop) when any value is out of range.
void CheckLoadedValues(Context& ctx);

}  // namespace vespar
