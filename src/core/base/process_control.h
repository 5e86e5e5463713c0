#pragma once

namespace vespar {

// Scheduling of the program's own process.
class ProcessControl {
  public:
    virtual ~ProcessControl() = default;
    // Raises the process and its main thread so the engine tick stays punctual; failures are
    // ignored.
    virtual void RaisePriority() = 0;
};

}  // namespace vespar
