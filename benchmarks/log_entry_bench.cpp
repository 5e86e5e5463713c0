#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "base/timers.h"
#include "fakes/fake_clock.h"
#include "fakes/scripted_dialogs.h"
#include "log/log_entry.h"
#include "log/log_file.h"
#include "state/context.h"

namespace vespar::test {
namespace {

// One Full-level entry with every measurement field: build the line, check the folder and
// file, open, append, close.
void BM_FullLogEntry(benchmark::State& state) {
    std::random_device rd;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vespar-bench-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir / "Log");

    FakeClock clock;
    TimerRegistry timers;
    ScriptedDialogs dialogs;
    Runtime rt;
    rt.config.LogLevel = 3;
    rt.config.LogRotate = 2;
    rt.config.LogPath = "Log\\";
    rt.config.LogName = "Vespar.log";
    rt.config.CPU_On = rt.config.DL_On = rt.config.Key_On = 2;
    rt.config.IPAdd = "192.168.1.20";
    rt.cpuText = " 12%";
    rt.avCpuText = "  9%";
    rt.downloadText = "  1.250 KB/s";
    rt.keyMouseText = " No Key/Mouse";
    rt.commsText = "Comms:    0";
    rt.stateSeconds = 42;
    Context ctx{rt, clock, timers, dialogs, dir};
    StartLogFile(ctx);

    for (auto _ : state) {
        WriteLogEntry(ctx, "Run", "");
        clock.AdvanceMs(1000);
    }

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_FullLogEntry)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vespar::test

BENCHMARK_MAIN();
