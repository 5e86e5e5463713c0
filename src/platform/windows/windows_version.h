#pragma once

#include "sensors/version_source.h"

namespace vespar::windows_platform {

// The version record of GetVersionExA. Without a manifest naming Windows 10, Windows 8.1 and
// later report 6.2; either way the answer only tells Windows 2000 (5.0) from the rest.
class WindowsVersion : public VersionSource {
  public:
    std::optional<PlatformVersion> Read() override;
};

}  // namespace vespar::windows_platform
