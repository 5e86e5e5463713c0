#pragma once

#include "sensors/interface_table.h"

namespace vespar::windows_platform {

// The interface table of the IP helper: GetIfTable2 with its 64-bit octet counters, or
// GetIfTable (32-bit counters) where the former is missing. Both are looked up at run time.
class InterfaceTableReader : public InterfaceTable {
  public:
    InterfaceTableReader();
    std::optional<std::vector<InterfaceRow>> Read() override;
    // Read through GetIfTable alone, as on a system without GetIfTable2.
    std::optional<std::vector<InterfaceRow>> ReadOldTable();

  private:
    std::optional<std::vector<InterfaceRow>> ReadTable2();

    void* getIfTable2_ = nullptr;
    void* freeMibTable_ = nullptr;
};

}  // namespace vespar::windows_platform
