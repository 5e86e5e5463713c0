#include "platform/windows/windows_version.h"

#include <windows.h>

#include <cstring>

namespace vespar::windows_platform {

std::optional<PlatformVersion> WindowsVersion::Read() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    std::memset(info.szCSDVersion, ' ', sizeof info.szCSDVersion);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExA(&info) == 0) return std::nullopt;
#pragma GCC diagnostic pop
    return PlatformVersion{static_cast<int>(info.dwPlatformId),
                           static_cast<int>(info.dwMajorVersion),
                           static_cast<int>(info.dwMinorVersion)};
}

}  // namespace vespar::windows_platform
