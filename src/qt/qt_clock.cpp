#include "qt/qt_clock.h"

#include <time.h>

#include <ctime>

namespace vespar::qt {

LocalTime QtClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    tzset();  // a new system time zone is seen at once, as localtime would see it
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace vespar::qt
