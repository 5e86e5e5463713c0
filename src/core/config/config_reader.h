#pragma once

#include <string>
#include <vector>

#include "state/configuration.h"
#include "state/context.h"

namespace vespar {

// What one read of the configuration file's lines gives.
struct ConfigReadResult {
    Configuration config;    // the previous record with every key found applied
    std::string summary;     // ConfigSummary: the file laid out two keys to a row
    int keyCount = 34;       // keys still missing (negative: too many key lines)
    int sectionCount = 3;    // sections still missing
    bool readError = false;  // a number did not fit its field; the rest is not valid then
};

inline constexpr const char* kConfigSummaryHeader = "\r\nConfiguration\r\n-------------";

// Reads the lines of a configuration file over the previous record; fields whose keys are
// missing keep their previous values.
ConfigReadResult ParseConfiguration(const std::vector<std::string>& lines,
                                    const Configuration& previous);

// Reads Data/Vespar.ini into ctx.rt.config and ctx.rt.configSummary; ends the program
// (FatalStop) when the file cannot be read or lacks keys or sections.
void ReadConfiguration(Context& ctx);

// Ends the program with the corrupted-file message; prefix (the error counts shown under a
// test switch) goes before its text.
[[noreturn]] void ConfigurationCorrupted(Context& ctx, const std::string& prefix);

}  // namespace vespar
