#pragma once

#include "base/clock.h"
#include "win32/windows_api.h"

namespace vespar::win32 {

// Local time from the system clock; the tick count is the one the window timers count in,
// so a timer armed for a due time does not wake before it.
class Win32Clock : public Clock {
  public:
    LocalTime now() const override {
        SYSTEMTIME t = {};
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
    std::int64_t tickMs() const override { return static_cast<std::int64_t>(GetTickCount64()); }
};

}  // namespace vespar::win32
