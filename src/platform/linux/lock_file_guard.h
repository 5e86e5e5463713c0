#pragma once

#include <filesystem>
#include <string>

#include "base/instance_guard.h"

namespace vespar::linux_platform {

// Single-instance guard over flock(2) on a per-user lock file named after the product; the
// kernel drops the lock when the process dies, so a crash never blocks the next start.
class LockFileGuard : public InstanceGuard {
  public:
    // Lock files go to dir; by default $XDG_RUNTIME_DIR, else the temporary directory.
    explicit LockFileGuard(std::filesystem::path dir = DefaultDirectory());
    ~LockFileGuard() override;
    LockFileGuard(const LockFileGuard&) = delete;
    LockFileGuard& operator=(const LockFileGuard&) = delete;

    bool AlreadyRunning(const std::string& name) override;

    static std::filesystem::path DefaultDirectory();

  private:
    std::filesystem::path dir_;
    int fd_ = -1;
};

}  // namespace vespar::linux_platform
