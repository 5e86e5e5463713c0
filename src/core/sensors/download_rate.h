#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "sensors/connection_setting.h"
#include "sensors/interface_table.h"
#include "sensors/interfaces.h"

namespace vespar {

// Kilobytes received over all interfaces between consecutive readings, and the list of
// interface descriptions with the user's chosen connection (the engine shows it as NetCon). Lives
// for the whole process: the previous sum survives re-activations.
class DownloadMeter {
  public:
    struct InterfaceList {
        std::vector<std::string> items;
        int selection = -1;
    };

    DownloadMeter(const Clock& clock, InterfaceTable& table, ConnectionSetting& setting)
        : clock_(clock), table_(table), setting_(setting) {}

    // On each activation: a fresh reader and a rebuilt interface list.
    void DLoadInit();
    // Kilobytes since the previous reading (negative when the counters went down), 0 within
    // the same second, on the first reading since start, or before DLoadInit.
    std::int32_t DownloadRate();

    const InterfaceList& Interfaces() const { return list_; }
    // Counts the times the list was rebuilt, so that its display is renewed only then.
    int ListGeneration() const { return listGeneration_; }

  private:
    void FillList(const CInterfaces& interfaces);

    const Clock& clock_;
    InterfaceTable& table_;
    ConnectionSetting& setting_;
    InterfaceList list_;
    int listGeneration_ = 0;

    std::optional<CIpHelper> ipHelper_;
    LocalTime lastRateTime_;
    std::int64_t prevBytesIn_ = 0;
    std::int64_t prevBytesOut_ = 0;
};

}  // namespace vespar
