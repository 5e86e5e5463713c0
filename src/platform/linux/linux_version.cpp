#include "platform/linux/linux_version.h"

#include <sys/utsname.h>

#include <cstdio>

namespace vespar::linux_platform {

std::optional<PlatformVersion> LinuxVersion::Read() {
    utsname name{};
    if (uname(&name) != 0) return std::nullopt;
    PlatformVersion version;
    version.platformId = kLinuxPlatformId;
    // "6.8.0-45-generic": a release without a readable minor part keeps 0.
    if (std::sscanf(name.release, "%d.%d", &version.major, &version.minor) < 1) return std::nullopt;
    return version;
}

}  // namespace vespar::linux_platform
