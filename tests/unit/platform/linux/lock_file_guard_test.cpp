#include "platform/linux/lock_file_guard.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/temp_program_folder.h"

namespace vespar::linux_platform {
namespace {

TEST(LockFileGuard, SecondHolderIsRefusedUntilTheFirstEnds) {
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
    LockFileGuard again(dir.path());
    EXPECT_FALSE(again.AlreadyRunning("Vespar"));
}

TEST(LockFileGuard, LockOfAKilledProcessIsReleased) {
    test::TempProgramFolder dir;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LockFileGuard g(dir.path());
        const char c = g.AlreadyRunning("Vespar") ? 'n' : 'y';
        (void)!write(ready[1], &c, 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    LockFileGuard mine(dir.path());
    EXPECT_TRUE(mine.AlreadyRunning("Vespar"));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(mine.AlreadyRunning("Vespar"));
    close(ready[0]);
    close(ready[1]);
}

}  // namespace
}  // namespace vespar::linux_platform
