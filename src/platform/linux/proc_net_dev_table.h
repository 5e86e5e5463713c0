#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/kernel_text.h"
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
        bool seen = false;  // in the reading under way
    };
    Sysfs& Describe(std::string_view name);

    std::filesystem::path root_;
    KernelTextFile dev_;
    std::map<std::string, Sysfs, std::less<>> known_;  // the names of the last reading
};

}  // namespace vespar::linux_platform
