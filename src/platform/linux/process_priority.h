#pragma once

#include "base/process_control.h"

namespace vespar::linux_platform {

// Asks for a higher scheduling priority; an ordinary user may not raise it, which is fine.
class ProcessPriority : public ProcessControl {
  public:
    void RaisePriority() override;
};

}  // namespace vespar::linux_platform
