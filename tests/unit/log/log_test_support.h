#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "fakes/fake_host.h"

namespace vespar::test {

// A host whose configuration logs to Log/Vespar.log below the temporary program folder.
inline void SetUpLog(FakeHost& host, int level, int rotate = 2) {
    auto& c = host.rt.config;
    c.LogLevel = static_cast<std::int16_t>(level);
    c.LogRotate = static_cast<std::int16_t>(rotate);
    c.LogPath = "Log\\";
    c.LogName = "Vespar.log";
    c.IPAdd.clear();
    c.CPU_On = c.DL_On = c.Key_On = 1;
}

inline std::filesystem::path LogDir(const FakeHost& host) { return host.folder.path() / "Log"; }

// Write permissions do not stop the superuser.
inline bool PermissionsApply() { return geteuid() != 0; }

// While alive, no file may grow beyond its present size, so appends fail even for the
// superuser.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    sighandler_t oldHandler_ = SIG_DFL;
};

}  // namespace vespar::test
