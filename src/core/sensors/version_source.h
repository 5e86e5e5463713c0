#pragma once

#include <optional>

namespace vespar {

struct PlatformVersion {
    int platformId = 0;  // 2 is the NT family
    int major = 0;
    int minor = 0;
};

// The operating system's version record, or nothing when it cannot be read.
class VersionSource {
  public:
    virtual ~VersionSource() = default;
    virtual std::optional<PlatformVersion> Read() = 0;
};

}  // namespace vespar
