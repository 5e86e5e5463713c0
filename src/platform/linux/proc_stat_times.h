#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/linux/kernel_text.h"
#include "sensors/system_times.h"

namespace vespar::linux_platform {

// Processor times from the aggregate "cpu" line of <root>/proc/stat. Idle is idle + iowait,
// kernel is system + irq + softirq plus idle (kernel time includes idle time), user is
// user + nice + steal; guest time is already inside user.
class ProcStatTimes : public SystemTimes {
  public:
    explicit ProcStatTimes(std::filesystem::path root = "/");
    bool Read(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) override;

  private:
    KernelTextFile stat_;
    long ticksPerSecond_;
};

}  // namespace vespar::linux_platform
