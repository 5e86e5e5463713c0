#include "platform/linux/admin_groups.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace vespar::linux_platform {
namespace {

constexpr uid_t kNobody = 65534;

// The answer of a child process that dropped root for nobody with the given groups:
// 1 true, 0 false, 2 no answer, 3 the identity could not be taken.
int AnswerAs(const std::vector<gid_t>& groups) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgroups(groups.size(), groups.data()) != 0 || setgid(kNobody) != 0 ||
            setuid(kNobody) != 0)
            _exit(3);
        const auto answer = AdminGroups().InAdministratorsGroup();
        _exit(!answer ? 2 : *answer ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(AdminGroups, KnowsTheAdministratorsGroupNames) {
    for (const char* name : {"sudo", "wheel", "admin"})
        EXPECT_TRUE(IsAdministratorsGroupName(name));
    for (const char* name : {"Sudo", "sudoers", "adm", "root", ""})
        EXPECT_FALSE(IsAdministratorsGroupName(name)) << name;
}

TEST(AdminGroups, RootAndMembersAreAdministrators) {
    const auto answer = AdminGroups().InAdministratorsGroup();
    ASSERT_TRUE(answer.has_value());
    if (geteuid() != 0) GTEST_SKIP() << "needs root to check the root case and drop to nobody";
    EXPECT_TRUE(*answer);

    // A plain user: nobody without supplementary groups.
    EXPECT_EQ(AnswerAs({}), 0);
    const group* admins = getgrnam("sudo");
    if (!admins) admins = getgrnam("wheel");
    if (!admins) GTEST_SKIP() << "no sudo or wheel group on this system";
    EXPECT_EQ(AnswerAs({admins->gr_gid}), 1);
    EXPECT_EQ(AnswerAs({100, admins->gr_gid}), 1);  // anywhere in the list
}

}  // namespace
}  // namespace vespar::linux_platform
