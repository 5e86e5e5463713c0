#include <benchmark/benchmark.h>

#include "fakes/fake_sensors.h"
#include "sensors/input_change.h"

namespace {

// One check: a cursor read and 256 key polls against a source that answers at once.
void BM_InDataChanged(benchmark::State& state) {
    vespar::test::FakeInputSource input;
    input.Hold(65);
    vespar::InputChangeDetector detector(input);
    detector.InDataReset();
    for (auto _ : state) {
        ++input.x;
        benchmark::DoNotOptimize(detector.InDataChanged());
    }
}
BENCHMARK(BM_InDataChanged);

}  // namespace

BENCHMARK_MAIN();
