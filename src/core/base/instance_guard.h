#pragma once

#include <string>

namespace vespar {

// A system-wide named lock that the system releases when the process ends.
class InstanceGuard {
  public:
    virtual ~InstanceGuard() = default;
    // Takes and keeps the lock called name unless it is already held; returns true when
    // another process holds it.
    virtual bool AlreadyRunning(const std::string& name) = 0;
};

}  // namespace vespar
