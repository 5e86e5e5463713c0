#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "sensors/interface_table.h"

namespace vespar::linux_platform {

// The interfaces of <root>/proc/net/dev with their 64-bit byte counters, described by name,
// with the physical address from <root>/sys/class/net/<name>/address. Loopback interfaces
// are left out: their traffic never crosses the network, so it is no download. The table is
// read every second, sysfs only for a name it has not seen before.
class ProcNetDevTable : public InterfaceTable {
  public:
    explicit ProcNetDevTable(std::filesystem::path root = "/");
    std::optional<std::vector<InterfaceRow>> Read() override;

  private:
    struct Sysfs {
        bool loopback = false;
        std::vector<std::uint8_t> address;
    };
    const Sysfs& Describe(const std::string& name);

    std::filesystem::path root_;
    std::filesystem::path devFile_;
    std::string text_;                    // the table's text, kept for its capacity
    std::map<std::string, Sysfs> known_;  // the names of the last reading
};

}  // namespace vespar::linux_platform
