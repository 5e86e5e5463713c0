#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace vespar::linux_platform {

// The small text files of /proc and /sys, read every second, and their fields taken apart in
// place, without streams or copies.

// One such file, opened once and read from its start into a buffer kept for its capacity:
// /proc builds the text afresh for every read from offset 0, so a second costs no open and
// close, only the reads up to the end.
class KernelTextFile {
  public:
    explicit KernelTextFile(std::filesystem::path file) : file_(std::move(file)) {}
    ~KernelTextFile();
    KernelTextFile(const KernelTextFile&) = delete;
    KernelTextFile& operator=(const KernelTextFile&) = delete;

    // The whole file's text as it is now, valid until the next read; false when it cannot be
    // opened or read (a failed file is opened again at the next read).
    bool Read(std::string_view& text);

  private:
    std::filesystem::path file_;
    int fd_ = -1;
    std::string buffer_;
};

// Takes the next line (without its line feed) off the front of rest; false when none is left.
bool NextLine(std::string_view& rest, std::string_view& line);

// Takes the next blank-separated field off the front of rest; empty when none is left.
std::string_view NextField(std::string_view& rest);

// A whole field of digits in the base, without sign or blanks; false for anything else or a
// number beyond 64 bits.
bool ParseUnsigned(std::string_view field, std::uint64_t& value, int base = 10);

}  // namespace vespar::linux_platform
