#pragma once

#include <cstdint>

#include "sensors/native_counters.h"
#include "sensors/system_times.h"
#include "sensors/version_source.h"

namespace vespar {

// Total processor load in whole percent over the interval since the previous reading. Two
// methods: the native counters (Initialize/Query, Windows 2000 only) and the system times
// (Initialise64/Query64, everything else); GetVersion says which one applies.
class CpuUsageSampler {
  public:
    CpuUsageSampler(SystemTimes& times, NativeCounters& native, VersionSource& version)
        : times_(times), native_(native), version_(version) {}

    // 1 for the native method (NT 5.0), 2 otherwise, including an unreadable version.
    std::int16_t GetVersion();
    // Back to a new sampler's state: every reference zero.
    void Reset();

    void Initialize();
    // Load rounded to the nearest percent (halves up), or -1 when a counter cannot be read
    // or the counters give no load from 0 to 100.
    std::int32_t Query();

    void Initialise64();
    // Load truncated to a whole percent, or -1 when the system times cannot be read or give
    // no load from 0 to 100 (counters that ran backwards or jumped).
    std::int32_t Query64();

  private:
    SystemTimes& times_;
    NativeCounters& native_;
    VersionSource& version_;

    std::int64_t idleRef_ = 0;
    std::int64_t timeRef_ = 0;
    std::int64_t idleOld_ = 0;
    std::int64_t kernelOld_ = 0;
    std::int64_t userOld_ = 0;
    std::int64_t idleNew_ = 0;
    std::int64_t kernelNew_ = 0;
    std::int64_t userNew_ = 0;
};

}  // namespace vespar
