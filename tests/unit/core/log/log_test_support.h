#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "fakes/running_host.h"

namespace vespar::test {

namespace fs = std::filesystem;
using FileMap = std::map<std::string, std::string>;

// A running host whose configuration logs to Log/Vespar.log below its program folder, at
// the Normal level with rotation, on 6 December 2026 at 14:03:09.
class LogTest : public ::testing::Test {
  protected:
    LogTest() {
        auto& c = host.rt.config;
        c.LogLevel = 2;
        c.LogRotate = 2;
        c.LogPath = "Log\\";
        c.LogName = "Vespar.log";
        c.CPU_On = c.DL_On = c.Key_On = 1;
        host.clock.Set({2026, 12, 6, 14, 3, 9});
    }
    std::filesystem::path LogDir() const { return host.folder.path() / "Log"; }
    std::filesystem::path Log(const std::string& name = "Vespar.log") const {
        return LogDir() / name;
    }
    std::string Read(const std::string& name = "Vespar.log") const {
        return host.folder.ReadFile(Log(name));
    }
    // The texts of the Log folder's files by name.
    FileMap Files() const {
        FileMap files;
        for (const auto& e : std::filesystem::directory_iterator(LogDir()))
            files[e.path().filename().string()] = host.folder.ReadFile(e.path());
        return files;
    }

#ifdef _WIN32
    // Windows has no limit on the size of a process's files: the tests of a full disk skip.
    static constexpr bool kDiskCanFill = false;
    MessageBox StoppedWhenFull(std::uintmax_t, const std::function<void()>& fn) {
        return host.Stopped(fn);
    }
#else
    static constexpr bool kDiskCanFill = true;
    // The box with which fn ends the program while no file may grow beyond bytes, so that
    // appends fail even for the superuser.
    MessageBox StoppedWhenFull(std::uintmax_t bytes, const std::function<void()>& fn) {
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const sighandler_t oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
        const MessageBox box = host.Stopped(fn);  // catches whatever fn throws
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, oldHandler);
        return box;
    }
#endif

    RunningHost host;
};

}  // namespace vespar::test
