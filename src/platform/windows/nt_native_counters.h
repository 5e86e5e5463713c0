#pragma once

#include <optional>

#include "sensors/native_counters.h"

namespace vespar::windows_platform {

// The basic, time-of-day and performance records of NtQuerySystemInformation, looked up in
// ntdll at run time (it is not part of the documented import libraries). Every read fails
// when the function cannot be found.
class NtNativeCounters : public NativeCounters {
  public:
    NtNativeCounters();
    std::optional<int> ProcessorCount() override;
    std::optional<std::int64_t> TimeOfDay() override;
    std::optional<std::int64_t> IdleProcessTime() override;

  private:
    using QueryFunction = long(__stdcall*)(int, void*, unsigned long, unsigned long*);
    QueryFunction query_ = nullptr;
};

}  // namespace vespar::windows_platform
