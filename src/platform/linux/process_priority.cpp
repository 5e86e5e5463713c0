#include "platform/linux/process_priority.h"

#include <sys/resource.h>

namespace vespar::linux_platform {

void ProcessPriority::RaisePriority() {
    // Refused without CAP_SYS_NICE; the tick then runs at normal priority.
    (void)setpriority(PRIO_PROCESS, 0, -5);
}

}  // namespace vespar::linux_platform
