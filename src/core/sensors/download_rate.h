#pragma once

#include <cstdint>
#include <optional>

#include "base/clock.h"
#include "sensors/connection_setting.h"
#include "sensors/interface_table.h"
#include "sensors/interfaces.h"
#include "ui/control_model.h"

namespace vespar {

// Kilobytes received over all interfaces between consecutive readings, and the NetCon list
// of interface descriptions. Lives for the whole process: the previous sum survives
// re-activations.
class DownloadMeter {
  public:
    DownloadMeter(const Clock& clock, InterfaceTable& table, ConnectionSetting& setting,
                  Control& netCon)
        : clock_(clock), table_(table), setting_(setting), netCon_(netCon) {}

    // On each activation: a fresh reader and a rebuilt NetCon.
    void DLoadInit();
    // Kilobytes since the previous reading (negative when the counters went down), 0 within
    // the same second, on the first reading since start, or before DLoadInit.
    std::int32_t DownloadRate();

    std::int64_t PrevBytesIn() const { return prevBytesIn_; }
    std::int64_t PrevBytesOut() const { return prevBytesOut_; }

  private:
    void FillNetCon(const CInterfaces& interfaces);

    const Clock& clock_;
    InterfaceTable& table_;
    ConnectionSetting& setting_;
    Control& netCon_;

    std::optional<CIpHelper> ipHelper_;
    LocalTime lastRateTime_;
    std::int64_t prevBytesIn_ = 0;
    std::int64_t prevBytesOut_ = 0;
};

}  // namespace vespar
