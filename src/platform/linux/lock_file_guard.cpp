#include "platform/linux/lock_file_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace vespar::linux_platform {

std::filesystem::path LockFileGuard::DefaultDirectory() {
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run != nullptr && *run != '\0') {
        return run;
    }
    return std::filesystem::temp_directory_path();
}

LockFileGuard::LockFileGuard(std::filesystem::path dir) : dir_(std::move(dir)) {}

LockFileGuard::~LockFileGuard() {
    if (fd_ >= 0) ::close(fd_);
}

bool LockFileGuard::AlreadyRunning(const std::string& name) {
    if (fd_ >= 0) return false;  // we hold it already
    // One lock per user: the temporary directory is shared between users.
    const auto file = dir_ / (name + "-" + std::to_string(::getuid()) + ".lock");
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;  // cannot tell: let this instance run rather than refuse it
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return true;
    }
    fd_ = fd;
    return false;
}

}  // namespace vespar::linux_platform
