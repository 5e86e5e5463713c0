#pragma once

#include <filesystem>

#include "sensors/interface_table.h"

namespace vespar::linux_platform {

// The interfaces of <root>/proc/net/dev with their 64-bit byte counters, described by name,
// with the physical address from <root>/sys/class/net/<name>/address. Loopback interfaces
// are left out: their traffic never crosses the network, so it is no download.
class ProcNetDevTable : public InterfaceTable {
  public:
    explicit ProcNetDevTable(std::filesystem::path root = "/");
    std::optional<std::vector<InterfaceRow>> Read() override;

  private:
    std::filesystem::path root_;
};

}  // namespace vespar::linux_platform
