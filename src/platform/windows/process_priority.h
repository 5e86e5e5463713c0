#pragma once

#include "base/process_control.h"

namespace vespar::windows_platform {

// The high priority class for the process, the highest thread priority for the calling one.
class ProcessPriority : public ProcessControl {
  public:
    void RaisePriority() override;
};

}  // namespace vespar::windows_platform
