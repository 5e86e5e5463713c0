#include "platform/linux/desktop_url_opener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <utility>

extern char** environ;

namespace vespar::linux_platform {

namespace {

int ResultOf(int spawnError) {
    switch (spawnError) {
        case ENOENT:
        case ENOTDIR:
            return kUrlOpenFileNotFound;
        case EACCES:
        case EPERM:
            return kUrlOpenAccessDenied;
        case ENOMEM:
        case EAGAIN:
            return kUrlOpenOutOfMemory;
        default:
            return kUrlOpenNoAssociation;
    }
}

}  // namespace

DesktopUrlOpener::DesktopUrlOpener(std::string program) : program_(std::move(program)) {}

DesktopUrlOpener::~DesktopUrlOpener() { Reap(); }

int DesktopUrlOpener::Open(const std::string& url) {
    Reap();
    // The handler would take a leading "-" for one of its options.
    if (url.empty() || url.front() == '-') return kUrlOpenFileNotFound;
    std::string program = program_;
    std::string address = url;
    char* argv[] = {program.data(), address.data(), nullptr};

    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return kUrlOpenOutOfMemory;
    // Its own process group, so a signal to the program's group leaves the browser alone.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return ResultOf(rc);
    children_.push_back(pid);
    return kUrlOpenStarted;
}

std::size_t DesktopUrlOpener::Reap() {
    std::erase_if(children_, [](pid_t pid) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        return r == pid || r < 0;
    });
    return children_.size();
}

}  // namespace vespar::linux_platform
