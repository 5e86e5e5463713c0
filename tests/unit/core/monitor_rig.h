#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/monitor_engine.h"
#include "base/program_exit.h"
#include "fakes/fake_host.h"
#include "fakes/fake_power.h"
#include "fakes/fake_sensors.h"
#include "fakes/short_configuration.h"

namespace vespar::test {

// The monitor engine's sensors and power actions, faked, around a main window model in
// virtual time; the engine and its host are the test's own.
struct MonitorRig {
    // One engine second with the processor idle but for `busy` of every 1000 units.
    void Second(std::int64_t busy = 10) {
        times.Advance(1000 - busy, 1000, 0);
        fh.time.Advance(1000);
    }
    void Seconds(int n) {
        for (int i = 0; i < n; ++i) Second();
    }
    // Runs idle seconds until the engine is in the state; false when it never gets there.
    bool RunUntilState(MonitorState state, int limit = 100) {
        for (int i = 0; i < limit && fh.rt.monitorState != state; ++i) Second();
        return fh.rt.monitorState == state;
    }
    const Control& Ctl(const std::string& name) { return main.control(name); }

    FakeHost fh;
    MainWindowScreen main;
    FakeSystemTimes times;
    FakeNativeCounters native;
    FakeVersionSource version;
    CpuUsageSampler cpu{times, native, version};
    FakeInterfaceTable table;
    FakeConnectionSetting setting;
    DownloadMeter download{fh.clock, table, setting};
    FakeInputSource input;
    InputChangeDetector detector{input};
    FakePowerActions power;
    ShutdownActions actions{power, "vespar"};
};

}  // namespace vespar::test
