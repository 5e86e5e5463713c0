#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "base/program_exit.h"
#include "base/text.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_network.h"
#include "fakes/fake_process.h"
#include "fakes/fake_system_ports.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/temp_program_folder.h"
#include "log/fatal_stop.h"

namespace vespar::test {

// The whole program on fake platform services and a clock in virtual time, in a temporary
// program folder with the shipped configuration, on a computer at `address` of `net`.
struct ProgramRig {
    ProgramRig(FakeNetwork& net, const char* address) : netPorts(net, address) {}
    void Start(const std::string& commandLine) {
        ASSERT_EQ(program.Enter(commandLine), Program::Window::Main);
        program.LoadMainWindow();
    }
    std::string Log() const { return folder.ReadFile(folder.path() / "Log" / "Vespar.log"); }
    const Control& control(const std::string& name) { return program.mainWindow().control(name); }
    // The code the call ends the program with, or -1 when it goes on.
    template <typename F>
    static int ExitCode(F call) {
        try {
            call();
        } catch (const ProgramExit& exit) {
            return exit.code;
        }
        return -1;
    }

    TempProgramFolder folder;
    FakeClock clock;
    ScriptedDialogs dialogs;
    FakeGuard guard;
    FakeProcess process;
    FakeSystemPorts sys;
    FakeNetworkPorts netPorts;
    Program program{clock, dialogs, guard, process, sys.ports(), netPorts.ports(), folder.path()};
    VirtualTime time{clock, program.timers()};
};

struct OwnNetwork {
    FakeNetwork net;
};

// One program alone at 127.0.0.1.
class ProgramTest : public ::testing::Test, public OwnNetwork, public ProgramRig {
  protected:
    ProgramTest() : ProgramRig(net, "127.0.0.1") {}
};

using LogPair = std::pair<std::string, std::string>;

// The monitor engine and the main window's rules of a program driven a second at a time
// without its load, logging to Log/Vespar.log: a master with the processor and keyboard
// checks on, 10-second delays, a 3-second start delay and Power Off after a 5-second warning,
// for users who may not exit.
class EngineTest : public ProgramTest {
  protected:
    EngineTest() {
        Configuration& c = rt.config;
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
        rt.trayIconShown = true;
    }

    // The engine restarts from the configuration, as at load and after a reset.
    void Start() {
        rt.tickPhase = 2;
        engine.InitialiseMonitor();
        window.ShowStatus();
    }
    // The engine restarted and put straight into the warning's first second.
    void EnterShutdown() {
        engine.InitialiseMonitor();
        rt.monitorState = MonitorState::Shutdown;
        rt.stateSeconds = 0;
    }
    // One engine second with the processor idle but for `busy` of every 1000 units.
    void Second(std::int64_t busy = 10) {
        sys.systemTimes.Advance(1000 - busy, 1000, 0);
        time.Advance(1000);
    }
    void Seconds(int n) {
        for (int i = 0; i < n; ++i) Second();
    }
    // Runs idle seconds until the engine is in the state; false when it never gets there.
    bool RunUntilState(MonitorState state, int limit = 100) {
        for (int i = 0; i < limit && rt.monitorState != state; ++i) Second();
        return rt.monitorState == state;
    }
    // The one power call that ends the session or sleeps, or "" when there was none or more:
    // a second one would be a second shutdown.
    std::string ExitCall() {
        std::vector<std::string> out;
        for (const auto& c : sys.power.calls)
            if (c.starts_with("ExitSession") || c.starts_with("Suspend")) out.push_back(c);
        return out.size() == 1 ? out[0] : "";
    }
    bool Enabled(const std::string& name) { return control(name).enabled; }

    // The log's entries as (event, state) from the last MarkLog on; other lines are
    // (text, "#text").
    std::vector<LogPair> Entries() {
        std::vector<LogPair> out;
        for (const std::string& line : SplitLines(Log().substr(logMark))) {
            if (line.size() >= 40 && line.compare(32, 8, ", Count:") == 0) {
                out.emplace_back(TrimBlanks(line.substr(11, 9)), TrimBlanks(line.substr(22, 10)));
            } else if (!line.empty()) {
                out.emplace_back(line, "#text");
            }
        }
        return out;
    }
    void MarkLog() { logMark = Log().size(); }
    int LogCount(const std::string& event, const std::string& state) {
        const auto log = Entries();
        return static_cast<int>(std::count(log.begin(), log.end(), LogPair(event, state)));
    }
    bool Logged(const std::string& event, const std::string& state) {
        return LogCount(event, state) > 0;
    }
    // The enabled commands of the window and of its popup menu (named without "PopUp"), in a
    // fixed order: "all", "all but" the disabled ones when they are fewer, or the enabled ones.
    std::string EnabledCommands() {
        std::string on, off;
        for (const std::string name : {"Reset", "TestS", "Config", "About", "Update", "Exit",
                                       "mPopUpReset", "mPopUpTest", "mPopUpConfig", "mPopUpAbout",
                                       "mPopUpUpdate", "mPopUpExit", "mPopUpMin", "mPopUpRestore"})
            (Enabled(name) ? on : off) += " " + (name[0] == 'm' ? "m" + name.substr(6) : name);
        if (off.empty()) return "all";
        return std::count(on.begin(), on.end(), ' ') > 7 ? "all but" + off : on.substr(1);
    }
    // The window's state in words: minimised or restored, visible or hidden, which of the
    // popup's Restore and Minimise items shows, and whether the user toggled the window.
    std::string Look() {
        return std::string(main.minimised ? "minimised" : "restored") +
               (main.visible ? " visible" : " hidden") +
               (control("mPopUpRestore").visible ? " +Restore" : "") +
               (control("mPopUpMin").visible ? " +Min" : "") +
               (rt.minimiseToggled ? " toggled" : "");
    }

    Runtime& rt = program.runtime();
    MainWindowScreen& main = program.mainWindow();
    MonitorEngine& engine = program.engine();
    MainWindowController& window = program.windowRules();
    std::size_t logMark = 0;
};

}  // namespace vespar::test
