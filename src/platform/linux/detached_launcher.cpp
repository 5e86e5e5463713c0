#include "platform/linux/detached_launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>

extern char** environ;

namespace vespar::linux_platform {

int DetachedLauncher::Launch(const std::string& program, const std::string& argument) {
    Reap();
    std::string name = program;
    std::string arg = argument;
    char* argv[] = {name.data(), arg.data(), nullptr};

    posix_spawnattr_t attr;
    if (const int rc = posix_spawnattr_init(&attr); rc != 0) return rc;
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, name.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (rc == 0) children_.push_back(pid);
    return rc;
}

std::size_t DetachedLauncher::Reap() {
    std::erase_if(children_, [](pid_t pid) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        return r == pid || r < 0;
    });
    return children_.size();
}

}  // namespace vespar::linux_platform
