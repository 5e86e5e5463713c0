#include "platform/linux/lock_file_guard.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/temp_program_folder.h"

namespace vespar::linux_platform {
namespace {

TEST(LockFileGuard, SecondHolderIsRefusedUntilTheFirstEndsOrDies) {
    test::TempProgramFolder dir;
    {
        LockFileGuard first(dir.path());
        EXPECT_FALSE(first.AlreadyRunning("Vespar"));
        EXPECT_FALSE(first.AlreadyRunning("Vespar"));  // asking again keeps the lock

        LockFileGuard second(dir.path());
        EXPECT_TRUE(second.AlreadyRunning("Vespar"));
        LockFileGuard other(dir.path());
        EXPECT_FALSE(other.AlreadyRunning("Other"));  // names do not interfere
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    // Gone without letting go, as if killed: _exit comes before the guard's end.
    if (child == 0) _exit(LockFileGuard(dir.path()).AlreadyRunning("Vespar") ? 1 : 0);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(LockFileGuard(dir.path()).AlreadyRunning("Vespar"));
}

}  // namespace
}  // namespace vespar::linux_platform
