#include "platform/linux/desktop_url_opener.h"

#include <cerrno>
#include <utility>

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

int DesktopUrlOpener::Open(const std::string& url) {
    // The handler would take a leading "-" for one of its options.
    if (url.empty() || url.front() == '-') return kUrlOpenFileNotFound;
    const int rc = launcher_.Launch(program_, url);
    return rc == 0 ? kUrlOpenStarted : ResultOf(rc);
}

}  // namespace vespar::linux_platform
