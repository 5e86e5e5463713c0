#include <benchmark/benchmark.h>

#include "app/monitor_engine.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_power.h"
#include "fakes/fake_sensors.h"
#include "fakes/scripted_dialogs.h"

namespace vespar::test {
namespace {

struct NullHost : EngineHost {
    void ShowStatus() override {}
    void SetTrayState(const std::string&) override {}
    void ShowMainWindow() override {}
    void DisableForTest() override {}
    void ShowCloseItem(bool) override {}
    void ResizeHandling() override {}
    void SendPendingMessage() override {}
    void CheckUpdateDue(bool) override {}
    bool IsAdmin() override { return true; }
    void CloseAboutScreen() override {}
    void CloseConfigScreen() override {}
    void WriteLogEntry(const std::string&, const std::string&) override {}
    void WriteLogText(const std::string&) override {}
    void StartLogFile() override {}
};

// One engine second in Run with the CPU, download and input checks on.
void BM_RunSecond(benchmark::State& state) {
    FakeClock clock;
    TimerRegistry timers;
    ScriptedDialogs dialogs;
    Runtime rt;
    Context ctx{rt, clock, timers, dialogs, {}};
    MainWindowScreen main;
    FakeSystemTimes times;
    FakeNativeCounters native;
    FakeVersionSource version;
    CpuUsageSampler cpu{times, native, version};
    FakeInterfaceTable table;
    table.rows = {InterfaceRow{"eth0", {1, 2, 3, 4, 5, 6}, 1024, 0}};
    FakeConnectionSetting setting;
    DownloadMeter download{clock, table, setting};
    FakeInputSource input;
    InputChangeDetector detector{input};
    FakePowerActions power;
    ShutdownActions actions{power, "vespar"};
    NullHost host;
    MonitorEngine engine{ctx, main, cpu, download, detector, actions, host};

    Configuration& c = rt.config;
    c.CMain = 1;
    c.CPU_On = c.Key_On = c.DL_On = 2;
    c.CPULevel = 5;
    c.DLRate = 1;
    c.CPUDelay = c.KeyDelay = c.DLDelay = 30000;
    c.AvTime = c.AvTimeD = 30;
    c.Del_On = c.Stop_On = 1;
    c.StartTime = 1;
    c.StartDelay = 1;
    c.NoWarn = 1;
    c.ShutType = 1;
    c.ForceS = 1;
    engine.InitialiseMonitor();
    rt.tickPhase = 1;
    engine.TimerTick();  // activation
    for (auto _ : state) {
        times.Advance(990, 1000, 0);
        clock.AdvanceMs(1000);
        input.x += 1;  // keep the counters from reaching their limits
        rt.tickPhase = 1;
        engine.TimerTick();
        benchmark::DoNotOptimize(main.control("Counter").caption);
    }
}
BENCHMARK(BM_RunSecond);

}  // namespace
}  // namespace vespar::test

BENCHMARK_MAIN();
