#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/linux/proc_net_dev_table.h"
#include "platform/linux/proc_stat_times.h"
#include "platform/linux/x11_input_source.h"
#include "sensors/input_change.h"
#include "unit/platform/linux/test_servers.h"

namespace {

// One reading of the processor times, as the evaluation tick makes it.
void BM_ProcStatTimes(benchmark::State& state) {
    vespar::linux_platform::ProcStatTimes times;
    std::int64_t idle = 0, kernel = 0, user = 0;
    for (auto _ : state) {
        if (!times.Read(idle, kernel, user)) state.SkipWithError("/proc/stat unreadable");
        benchmark::DoNotOptimize(kernel);
    }
}
BENCHMARK(BM_ProcStatTimes);

// One reading of the interface table with the addresses and flags from sysfs.
void BM_ProcNetDevTable(benchmark::State& state) {
    vespar::linux_platform::ProcNetDevTable table;
    for (auto _ : state) {
        auto rows = table.Read();
        if (!rows) state.SkipWithError("/proc/net/dev unreadable");
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_ProcNetDevTable);

// One input check on the X server: the pointer and a sweep of the 256 codes.
void BM_X11InputCheck(benchmark::State& state, vespar::InputSource* input) {
    vespar::InputChangeDetector detector(*input);
    detector.InDataReset();
    for (auto _ : state) benchmark::DoNotOptimize(detector.InDataChanged());
}

// All three together: the sensor cost of one evaluation tick with every check on.
void BM_TickSensors(benchmark::State& state, vespar::InputSource* input) {
    vespar::linux_platform::ProcStatTimes times;
    vespar::linux_platform::ProcNetDevTable table;
    vespar::InputChangeDetector detector(*input);
    detector.InDataReset();
    std::int64_t idle = 0, kernel = 0, user = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(times.Read(idle, kernel, user));
        benchmark::DoNotOptimize(table.Read());
        benchmark::DoNotOptimize(detector.InDataChanged());
    }
}

}  // namespace

// The input is read from $DISPLAY; without one, from an Xvfb started for the run.
int main(int argc, char** argv) {
    std::optional<vespar::test::XvfbDisplay> xvfb;
    const char* environment = std::getenv("DISPLAY");
    std::string display = environment ? environment : "";
    if (display.empty()) {
        try {
            xvfb.emplace();
            display = xvfb->Name();
        } catch (const std::runtime_error& error) {
            std::fprintf(stderr, "no X display for the input benchmarks: %s\n", error.what());
        }
    }
    // One connection for the whole run, as the program holds one: an X server started without
    // -noreset (xvfb-run's) resets whenever its last client leaves, and a connection opened
    // and closed per run would find it resetting. libbenchmark 1.7.1 also crashes aggregating
    // repetitions that hold a skipped run, so an unreadable display is found here, once.
    vespar::linux_platform::X11InputSource input(display);
    if (input.Readable()) {
        benchmark::RegisterBenchmark("BM_X11InputCheck", BM_X11InputCheck, &input);
        benchmark::RegisterBenchmark("BM_TickSensors", BM_TickSensors, &input);
    } else {
        std::fprintf(stderr, "X display %s unreadable: no input benchmarks\n", display.c_str());
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
