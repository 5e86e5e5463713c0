#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/engine_host.h"
#include "unit/core/monitor_rig.h"

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
    void WriteLogText(const std::string& text) override { log.emplace_back(text, "#text"); }
    void StartLogFile() override { calls.push_back("StartLogFile"); }

    bool Logged(const std::string& e, const std::string& s) const {
        return std::find(log.begin(), log.end(), LogPair(e, s)) != log.end();
    }
    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
};

class EngineTest : public ::testing::Test, public MonitorRig {
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
    // The engine restarted and put straight into the warning's first second.
    void EnterShutdown() {
        engine.InitialiseMonitor();
        fh.rt.monitorState = MonitorState::Shutdown;
        fh.rt.stateSeconds = 0;
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
    std::vector<std::string> ExitCalls() {
        std::vector<std::string> out;
        for (const auto& c : power.calls)
            if (c.rfind("ExitSession", 0) == 0 || c.rfind("Suspend", 0) == 0) out.push_back(c);
        return out;
    }
    // The one power call made, or "" when there was none or more.
    std::string ExitCall() {
        const auto calls = ExitCalls();
        return calls.size() == 1 ? calls[0] : "";
    }

    RecordingEngineHost host;
    MonitorEngine engine{fh.ctx, main, cpu, download, detector, actions, host};
};

}  // namespace vespar::test
