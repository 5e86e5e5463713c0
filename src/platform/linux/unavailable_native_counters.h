#pragma once

#include <optional>

#include "sensors/native_counters.h"

namespace vespar::linux_platform {

// Linux reports the system-times method, so the sampler never asks for the native records;
// should it ever, every record reads as unavailable and the reading shows as an error.
class UnavailableNativeCounters : public NativeCounters {
  public:
    std::optional<int> ProcessorCount() override { return std::nullopt; }
    std::optional<std::int64_t> TimeOfDay() override { return std::nullopt; }
    std::optional<std::int64_t> IdleProcessTime() override { return std::nullopt; }
};

}  // namespace vespar::linux_platform
