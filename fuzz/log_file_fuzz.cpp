// An existing log file of any content, met at start-up with rotation on (its fourth line
// read back as a date) and then archived and cleared: every failure ends in the program's
// own orderly stop, never in a crash or a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "base/program_exit.h"
#include "fakes/fake_host.h"
#include "log/log_archive.h"
#include "log/log_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vespar;
    // One program folder for the whole run; each input starts from its own log.
    static test::FakeHost host;
    const auto logDir = host.folder.path() / "Log";
    std::error_code ec;
    std::filesystem::remove_all(logDir, ec);
    std::filesystem::create_directories(logDir);
    std::ofstream(logDir / "Vespar.log", std::ios::binary)
        << std::string(reinterpret_cast<const char*>(data), size);

    Configuration& c = host.rt.config;
    c.LogPath = "Log\\";
    c.LogName = "Vespar.log";
    c.LogRotate = 2;
    c.LogLevel = size % 2 ? 3 : 2;
    host.clock.Set(LocalTime{2026, 12, 7, 12, 0, 0});
    host.dialogs.shown.clear();
    try {
        StartLogFile(host.ctx);
        (void)ArchiveLog(host.ctx);
        host.dialogs.answers.push_back(Answer::No);  // clear instead of archive
        (void)ArchiveLog(host.ctx);
    } catch (const ProgramExit&) {
        // an orderly stop with its message
    }
    return 0;
}
