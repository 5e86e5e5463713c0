#pragma once

#include "sensors/version_source.h"

namespace vespar::linux_platform {

// Platform id of a system outside the Windows families; the sampler then uses the system
// times, which is the only method this platform provides.
constexpr int kLinuxPlatformId = -1;

// The kernel release (major.minor from uname) under a non-Windows platform id.
class LinuxVersion : public VersionSource {
  public:
    std::optional<PlatformVersion> Read() override;
};

}  // namespace vespar::linux_platform
