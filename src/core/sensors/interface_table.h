#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vespar {

// One row of the system's network interface table.
struct InterfaceRow {
    std::string description;
    std::vector<std::uint8_t> physicalAddress;  // at most 8 bytes are used
    std::uint64_t inOctets = 0;
    std::uint64_t outOctets = 0;
};

// The network interface table, or nothing when it cannot be read.
class InterfaceTable {
  public:
    virtual ~InterfaceTable() = default;
    virtual std::optional<std::vector<InterfaceRow>> Read() = 0;
};

}  // namespace vespar
