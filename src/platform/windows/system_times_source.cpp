#include "platform/windows/system_times_source.h"

#include <windows.h>

namespace vespar::windows_platform {
namespace {

std::int64_t Count(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

}  // namespace

bool SystemTimesSource::Read(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) {
    FILETIME i{};
    FILETIME k{};
    FILETIME u{};
    if (GetSystemTimes(&i, &k, &u) == 0) return false;
    idle = Count(i);
    kernel = Count(k);
    user = Count(u);
    return true;
}

}  // namespace vespar::windows_platform
