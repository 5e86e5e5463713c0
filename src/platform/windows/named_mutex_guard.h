#pragma once

#include <string>

#include "base/instance_guard.h"

namespace vespar::windows_platform {

// Single-instance guard over a named mutex, held until the guard goes or the process ends.
class NamedMutexGuard : public InstanceGuard {
  public:
    NamedMutexGuard() = default;
    ~NamedMutexGuard() override;
    NamedMutexGuard(const NamedMutexGuard&) = delete;
    NamedMutexGuard& operator=(const NamedMutexGuard&) = delete;

    bool AlreadyRunning(const std::string& name) override;

  private:
    void* handle_ = nullptr;
};

}  // namespace vespar::windows_platform
