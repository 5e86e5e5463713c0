#include "platform/linux/editor_viewer.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <utility>

extern char** environ;

namespace vespar::linux_platform {

EditorViewer::EditorViewer(std::string program) : program_(std::move(program)) {}

EditorViewer::~EditorViewer() { Reap(); }

bool EditorViewer::Open(const std::filesystem::path& file) {
    Reap();
    std::string program = program_;
    std::string path = file.string();
    char* argv[] = {program.data(), path.data(), nullptr};

    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return false;
    // Its own process group, so a signal to the program's group leaves the viewer alone.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;
    children_.push_back(pid);
    return true;
}

std::size_t EditorViewer::Reap() {
    std::erase_if(children_, [](pid_t pid) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        return r == pid || r < 0;
    });
    return children_.size();
}

}  // namespace vespar::linux_platform
