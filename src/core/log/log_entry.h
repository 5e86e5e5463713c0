#pragma once

#include <string>

#include "state/context.h"

namespace vespar {

// Builds one fixed-column log line for the event and state words (without the day mark).
std::string BuildLogLine(const Runtime& rt, const LocalTime& now, const std::string& event,
                         const std::string& state);

// Appends the line for the event and state words to the log; two empty words append an empty
// separator line. Nothing happens at the level None.
void WriteLogEntry(Context& ctx, const std::string& event, const std::string& state);

}  // namespace vespar
