#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/engine_host.h"
#include "app/main_window_controller.h"
#include "app/monitor_engine.h"
#include "base/program_exit.h"
#include "base/text.h"
#include "fakes/fake_host.h"
#include "fakes/fake_power.h"
#include "fakes/fake_sensors.h"
#include "fakes/fake_ui_ports.h"
#include "log/fatal_stop.h"
#include "log/log_entry.h"
#include "log/log_file.h"

namespace vespar::test {

using LogPair = std::pair<std::string, std::string>;

// The engine's calls reach the real main-window rules, About screen and log; only the
// datagram link and the configuration screen are recorded.
struct WindowEngineHost : EngineHost {
    Context* ctx = nullptr;
    MainWindowController* window = nullptr;
    bool admin = true;
    std::vector<std::string> calls;

    void ShowStatus() override { window->ShowStatus(); }
    void SetTrayState(const std::string& s) override { window->SetTrayState(s); }
    void ShowMainWindow() override { window->ShowMainWindow(); }
    void DisableForTest() override { window->DisableForTest(); }
    void ShowCloseItem(bool show) override { window->ShowCloseItem(show); }
    void ResizeHandling() override { window->ResizeHandling(); }
    void SendPendingMessage() override { calls.push_back("Send"); }
    void CheckUpdateDue(bool automatic) override { window->CheckUpdateDue(automatic); }
    bool IsAdmin() override { return admin; }
    void CloseAboutScreen() override { window->about().Close(); }
    void CloseConfigScreen() override { calls.push_back("CloseConfig"); }
    void WriteLogEntry(const std::string& e, const std::string& s) override {
        vespar::WriteLogEntry(*ctx, e, s);
    }
    void WriteLogText(const std::string& text) override {
        if (ctx->rt.config.LogLevel > 1) AppendLogText(*ctx, text);
    }
    void StartLogFile() override { vespar::StartLogFile(*ctx); }
    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
};

// The monitor engine and the main window's rules over fake sensors and power actions in
// virtual time, logging to Log/Vespar.log of a temporary program folder: a master with the
// processor and keyboard checks on, 10-second delays, a 3-second start delay and Power Off
// after a 5-second warning, for users who may not exit. Reset and TestS are the engine's.
class EngineTest : public ::testing::Test {
  protected:
    EngineTest() {
        host.ctx = &fh.ctx;
        host.window = &window;
        main.OnClick("Reset", [this] { engine.Reset(); });
        main.OnClick("TestS", [this] { engine.Test(); });
        Configuration& c = fh.rt.config;
        c.CMain = c.DL_On = c.Del_On = c.Stop_On = c.StartTime = c.ShutType = c.NoWarn = c.ForceS =
            c.UserExitA = c.UpEnable = c.DLRate = c.StartMin = c.RunOnTop = 1;
        c.CPU_On = c.Key_On = c.LogLevel = 2;
        c.CPUDelay = c.KeyDelay = c.DLDelay = 10;
        c.StartDelay = c.AvTime = c.AvTimeD = 3;
        c.CPULevel = c.ShutTime = 5;
        c.DelTime = 60;
        c.StopTime = 2200;
        c.ComDelay = 30;
        c.LogPath = "Log\\";
        c.LogName = "Vespar.log";
        fh.rt.trayIconShown = true;
    }

    // The engine restarts from the configuration, as at load and after a reset.
    void Start() {
        fh.rt.tickPhase = 2;
        engine.InitialiseMonitor();
        window.ShowStatus();
    }
    // The engine restarted and put straight into the warning's first second.
    void EnterShutdown() {
        engine.InitialiseMonitor();
        fh.rt.monitorState = MonitorState::Shutdown;
        fh.rt.stateSeconds = 0;
    }
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
    // The one power call that ends the session or sleeps, or "" when there was none or more.
    std::string ExitCall() {
        std::vector<std::string> out;
        for (const auto& c : power.calls)
            if (c.rfind("ExitSession", 0) == 0 || c.rfind("Suspend", 0) == 0) out.push_back(c);
        return out.size() == 1 ? out[0] : "";
    }
    const Control& Ctl(const std::string& name) { return main.control(name); }
    bool Enabled(const std::string& name) { return main.control(name).enabled; }

    // The log's entries as (event, state) from the last MarkLog on; other lines are
    // (text, "#text").
    std::vector<LogPair> Log() {
        const std::string text = fh.folder.ReadFile(fh.folder.path() / "Log" / "Vespar.log");
        std::vector<LogPair> out;
        for (std::size_t at = logMark; at < text.size();) {
            const std::size_t end = std::min(text.find("\r\n", at), text.size());
            const std::string line = text.substr(at, end - at);
            at = end + 2;
            if (line.size() >= 40 && line.compare(32, 8, ", Count:") == 0) {
                out.emplace_back(TrimBlanks(line.substr(11, 9)), TrimBlanks(line.substr(22, 10)));
            } else if (!line.empty()) {
                out.emplace_back(line, "#text");
            }
        }
        return out;
    }
    void MarkLog() { logMark = fh.folder.ReadFile(fh.folder.path() / "Log" / "Vespar.log").size(); }
    int LogCount(const std::string& event, const std::string& state) {
        const auto log = Log();
        return static_cast<int>(std::count(log.begin(), log.end(), LogPair(event, state)));
    }
    bool Logged(const std::string& event, const std::string& state) {
        return LogCount(event, state) > 0;
    }
    // The enabled commands of the window and of its popup menu (named without "PopUp"), in a
    // fixed order: "all", "all but" the disabled ones when they are fewer, or the enabled ones.
    std::string EnabledCommands() {
        std::string on, off;
        int enabled = 0;
        for (const std::string name :
             {"Reset", "TestS", "Config", "About", "Update", "Exit", "mPopUpReset", "mPopUpTest",
              "mPopUpConfig", "mPopUpAbout", "mPopUpUpdate", "mPopUpExit", "mPopUpMin",
              "mPopUpRestore"}) {
            enabled += Enabled(name);
            (Enabled(name) ? on : off) += " " + (name[0] == 'm' ? "m" + name.substr(6) : name);
        }
        if (off.empty()) return "all";
        return enabled > 7 ? "all but" + off : on.substr(1);
    }
    // The window's state in words: minimised or restored, visible or hidden, which of the
    // popup's Restore and Minimise items shows, and whether the user toggled the window.
    std::string Look() {
        return std::string(main.minimised ? "minimised" : "restored") +
               (main.visible ? " visible" : " hidden") +
               (Ctl("mPopUpRestore").visible ? " +Restore" : "") +
               (Ctl("mPopUpMin").visible ? " +Min" : "") +
               (fh.rt.minimiseToggled ? " toggled" : "");
    }

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
    WindowEngineHost host;
    Timer& refresh{fh.timers.Create(kRefreshTimer, 500, [this] { engine.TimerTick(); })};
    MonitorEngine engine{fh.ctx, main, cpu, download, detector, actions, host};
    FakeUpdateWindow updater;
    FakeUrlOpener opener;
    MainWindowController window{fh.ctx,
                                main,
                                refresh,
                                engine.state(),
                                [this] { return host.admin || fh.rt.config.UserExitA == 2; },
                                updater,
                                opener};
    std::size_t logMark = 0;
};

}  // namespace vespar::test
