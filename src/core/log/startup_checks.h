#pragma once

#include <string>

#include "state/context.h"

namespace vespar {

// Each check returns when the directory or file exists and ends the program (FatalStop) with
// its message otherwise. Relative paths lie below the program folder.

// The directory called name ("data", "log") below the program folder.
void CheckDirectory(Context& ctx, const std::string& name);
// The directory of the configured LogPath.
void CheckLogDirectory(Context& ctx, const std::string& name);
// directory & file, for the log.
void CheckLogFile(Context& ctx, const std::string& name, const std::string& directory,
                  const std::string& file);
// directory & file, for the files the program cannot run without.
void CheckRequiredFile(Context& ctx, const std::string& name, const std::string& directory,
                       const std::string& file);

}  // namespace vespar
