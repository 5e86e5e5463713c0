#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/linux/proc_net_dev_table.h"
#include "platform/linux/proc_stat_times.h"

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

// Both together: the sensor cost of one evaluation tick with CPU and download checks on.
void BM_TickSensors(benchmark::State& state) {
    vespar::linux_platform::ProcStatTimes times;
    vespar::linux_platform::ProcNetDevTable table;
    std::int64_t idle = 0, kernel = 0, user = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(times.Read(idle, kernel, user));
        benchmark::DoNotOptimize(table.Read());
    }
}
BENCHMARK(BM_TickSensors);

}  // namespace

BENCHMARK_MAIN();
