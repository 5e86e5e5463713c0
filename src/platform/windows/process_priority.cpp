#include "platform/windows/process_priority.h"

#include <windows.h>

namespace vespar::windows_platform {

void ProcessPriority::RaisePriority() {
    (void)SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    (void)SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
}

}  // namespace vespar::windows_platform
