#pragma once

#include "sensors/system_times.h"

namespace vespar::windows_platform {

// The processor times of GetSystemTimes (kernel time includes idle time).
class SystemTimesSource : public SystemTimes {
  public:
    bool Read(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) override;
};

}  // namespace vespar::windows_platform
