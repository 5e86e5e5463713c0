#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vespar::linux_platform {

// The small text files of /proc and /sys, read every second: one open, read and close into a
// buffer the caller keeps, and fields taken apart in place, without streams or copies.

// The whole file in text; false when it cannot be opened or read.
bool ReadKernelText(const std::filesystem::path& file, std::string& text);

// Takes the next line (without its line feed) off the front of rest; false when none is left.
bool NextLine(std::string_view& rest, std::string_view& line);

// Takes the next blank-separated field off the front of rest; empty when none is left.
std::string_view NextField(std::string_view& rest);

}  // namespace vespar::linux_platform
