#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vespar::linux_platform {

// Starts desktop programs without waiting for them, each in its own process group so that a
// signal to this program's group leaves them alone; finished ones are reaped on later calls.
class DetachedLauncher {
  public:
    DetachedLauncher() = default;
    ~DetachedLauncher() { Reap(); }
    DetachedLauncher(const DetachedLauncher&) = delete;
    DetachedLauncher& operator=(const DetachedLauncher&) = delete;

    // Runs program (looked up on PATH) with one argument; 0, or the error that stopped it.
    int Launch(const std::string& program, const std::string& argument);
    // Collects programs that have ended; the number still running.
    std::size_t Reap();

  private:
    std::vector<pid_t> children_;
};

}  // namespace vespar::linux_platform
