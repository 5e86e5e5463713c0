#include "platform/windows/named_mutex_guard.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace vespar::windows_platform {
namespace {

// A named mutex is the system's, not the process's: a second guard in this process meets
// the first one's mutex exactly as a second copy of the program would.
TEST(NamedMutexGuard, SecondHolderIsRefusedUntilTheFirstEnds) {
    // Every test process shares one wineserver: a name of its own keeps parallel runs apart.
    const std::string name = "Vespar-guard-" + std::to_string(GetCurrentProcessId());
    {
        NamedMutexGuard first;
        EXPECT_FALSE(first.AlreadyRunning(name));
        EXPECT_FALSE(first.AlreadyRunning(name));  // asking again keeps the mutex
        EXPECT_TRUE(NamedMutexGuard().AlreadyRunning(name));
        EXPECT_FALSE(NamedMutexGuard().AlreadyRunning(name + "-other"));
    }
    EXPECT_FALSE(NamedMutexGuard().AlreadyRunning(name));
}

}  // namespace
}  // namespace vespar::windows_platform
