#pragma once

#include <filesystem>

#include "state/context.h"

namespace vespar {

// The log file LogPath & LogName below the program folder.
std::filesystem::path LogFilePath(const Context& ctx);

// Prepares the log file: rotates it into its _A and _B generations when a day (Full) or a
// month (Normal) has turned since its creation, and creates it with its header when missing.
// Ends the program when that fails.
void StartLogFile(Context& ctx);

// Mode 0 appends the start header (and at Full the configuration summary); mode 1 appends the
// configuration summary. Ends the program when the write fails.
void WriteLogHeader(Context& ctx, int mode);

// Appends one block of text and a line end to the existing log, after the existence checks;
// ends the program with the write-error message when that fails.
void AppendLogText(Context& ctx, const std::string& text);

}  // namespace vespar
