#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace vespar {

// An error raised by a system action: number, source and description, shown to the user
// with its number before the program ends.
class SystemError : public std::runtime_error {
  public:
    SystemError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description),
          number_(number),
          source_(std::move(source)),
          description_(std::move(description)) {}

    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

  private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

// Offsets of the shutdown errors above the object-error base.
enum ShutdownErrorOffset : std::int32_t {
    kShutdownFailed = 1579,
    kNoShutdownPrivilegeValue = 1580,
    kNoCurrentProcess = 1581,
    kNoShutdownPrivileges = 1582,
    kInvalidShutdownFlags = 1583,
};

// 0x80040000 + offset, as the signed 32-bit number the error carries.
constexpr std::int32_t ObjectErrorNumber(std::int32_t offset) {
    return static_cast<std::int32_t>(0x80040000u + static_cast<std::uint32_t>(offset));
}

}  // namespace vespar
