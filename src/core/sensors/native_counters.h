#pragma once

#include <cstdint>
#include <optional>

namespace vespar {

// The three native system records the older load measurement uses; each read may fail.
class NativeCounters {
  public:
    virtual ~NativeCounters() = default;
    virtual std::optional<int> ProcessorCount() = 0;
    // Current system time, 100-ns units.
    virtual std::optional<std::int64_t> TimeOfDay() = 0;
    // Idle time summed over all processors, 100-ns units.
    virtual std::optional<std::int64_t> IdleProcessTime() = 0;
};

}  // namespace vespar
