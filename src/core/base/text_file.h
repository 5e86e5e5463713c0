#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vespar {

// Single-byte text files with CR LF line ends; each call opens and closes the file.

// The lines of a file (CR LF, LF or a lone CR end a line), or nothing when it cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file);
// Appends text to an existing file; false when it does not exist or cannot be written.
bool AppendToExisting(const std::filesystem::path& file, const std::string& text);
// Creates (or empties) a file and writes text; false on failure.
bool WriteNew(const std::filesystem::path& file, const std::string& text);
// Writes text to a temporary file beside target and renames it over target, so a failure
// leaves the old file whole; false on failure.
bool ReplaceAtomically(const std::filesystem::path& target, const std::string& text);

// A configured path: "\" separates directories on every platform; relative paths lie below
// the program folder.
std::filesystem::path ResolvePath(const std::filesystem::path& programDir,
                                  const std::string& configured);

}  // namespace vespar
