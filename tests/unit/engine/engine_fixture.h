#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/engine_host.h"
#include "app/monitor_engine.h"
#include "base/program_exit.h"
#include "fakes/fake_host.h"
#include "fakes/fake_power.h"
#include "fakes/fake_sensors.h"
#include "fakes/short_configuration.h"

namespace vespar::test {

using LogPair = std::pair<std::string, std::string>;

// Records every call the engine makes outside itself; ShowStatus restarts tmrRefresh.
struct RecordingEngineHost : EngineHost {
    TimerRegistry* timers = nullptr;
    bool admin = true;
    std::vector<LogPair> log;
    std::vector<std::string> calls;
    std::vector<std::string> tray;
    void ShowStatus() override {
        calls.push_back("ShowStatus");
        if (Timer* t = timers->Find("tmrRefresh")) t->SetEnabled(true);
    }
    void SetTrayState(const std::string& s) override { tray.push_back(s); }
    void ShowMainWindow() override { calls.push_back("ShowMainWindow"); }
    void DisableForTest() override { calls.push_back("DisableForTest"); }
    void ShowCloseItem(bool show) override { calls.push_back(show ? "Close+" : "Close-"); }
    void ResizeHandling() override { calls.push_back("Resize"); }
    void SendPendingMessage() override { calls.push_back("Send"); }
    void CheckUpdateDue(bool) override { calls.push_back("Update"); }
    bool IsAdmin() override { return admin; }
    void CloseAboutScreen() override { calls.push_back("CloseAbout"); }
    void CloseConfigScreen() override { calls.push_back("CloseConfig"); }
    void WriteLogEntry(const std::string& e, const std::string& s) override {
        log.emplace_back(e, s);
    }
    void StartLogFile() override { calls.push_back("StartLogFile"); }

    bool Logged(const std::string& e, const std::string& s) const {
        for (const auto& p : log)
            if (p.first == e && p.second == s) return true;
        return false;
    }
};

class EngineTest : public ::testing::Test {
  protected:
    EngineTest() {
        host.timers = &fh.timers;
        fh.timers.Create("tmrRefresh", 500, [this] { engine.TimerTick(); });
        SetShortConfiguration(fh.rt.config);
        fh.rt.trayIconShown = true;
    }

    void Start() {
        fh.rt.tickPhase = 2;
        engine.InitialiseMonitor();
        host.ShowStatus();
    }
    // One engine second with the processor nearly idle.
    void Second(std::int64_t busy = 10) {
        times.Advance(1000 - busy, 1000, 0);
        fh.time.Advance(1000);
    }
    // Runs idle seconds until the program ends; returns the seconds taken or -1.
    int RunToExit(int limit = 200) {
        for (int i = 1; i <= limit; ++i) {
            try {
                Second();
            } catch (const ProgramExit&) {
                return i;
            }
        }
        return -1;
    }
    const Control& Ctl(const std::string& name) { return main.control(name); }
    std::vector<std::string> ExitCalls() {
        std::vector<std::string> out;
        for (const auto& c : power.calls)
            if (c.rfind("ExitSession", 0) == 0 || c.rfind("Suspend", 0) == 0) out.push_back(c);
        return out;
    }

    FakeHost fh;
    MainWindowScreen main;
    FakeSystemTimes times;
    FakeNativeCounters native;
    FakeVersionSource version;
    CpuUsageSampler cpu{times, native, version};
    FakeInterfaceTable table;
    FakeConnectionSetting setting;
    DownloadMeter download{fh.clock, table, setting, main.control("NetCon")};
    FakeInputSource input;
    InputChangeDetector detector{input};
    FakePowerActions power;
    ShutdownActions actions{power, "vespar"};
    RecordingEngineHost host;
    MonitorEngine engine{fh.ctx, main, cpu, download, detector, actions, host};
};

}  // namespace vespar::test
