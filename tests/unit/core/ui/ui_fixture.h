#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/engine_host.h"
#include "app/main_window_controller.h"
#include "base/text.h"
#include "fakes/fake_ui_ports.h"
#include "log/fatal_stop.h"
#include "log/log_entry.h"
#include "log/log_file.h"
#include "unit/core/monitor_rig.h"

namespace vespar::test {

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
    void WriteLogText(const std::string&) override {}
    void StartLogFile() override { vespar::StartLogFile(*ctx); }
};

// The main window over the real engine in virtual time, logging to Log/Vespar.log of a
// temporary program folder. Reset and TestS are the engine's, as in the program.
class WindowTest : public ::testing::Test, public MonitorRig {
  protected:
    WindowTest() {
        host.ctx = &fh.ctx;
        host.window = &window;
        main.OnClick("Reset", [this] { engine.Reset(); });
        main.OnClick("TestS", [this] { engine.Test(); });
        Configuration& c = fh.rt.config;
        SetShortConfiguration(c);
        c.ShutTime = 30;
        c.StartMin = 1;
        c.RunOnTop = 1;
        c.LogRotate = 2;
        c.LogPath = "Log\\";
        c.LogName = "Vespar.log";
    }

    // The engine restarts from the configuration, as at load and after a reset.
    void Start() {
        fh.rt.tickPhase = 2;
        engine.InitialiseMonitor();
        window.ShowStatus();
    }
    bool Enabled(const std::string& name) { return main.control(name).enabled; }
    // The enabled commands of the window and of its popup menu (named without "PopUp"), in a
    // fixed order: "all", "all but" the disabled ones when they are fewer, or the enabled ones.
    std::string EnabledCommands() {
        std::string on, off;
        int enabled = 0, count = 0;
        for (const char* name : {"Reset", "TestS", "Config", "About", "Update", "Exit",
                                 "mPopUpReset", "mPopUpTest", "mPopUpConfig", "mPopUpAbout",
                                 "mPopUpUpdate", "mPopUpExit", "mPopUpMin", "mPopUpRestore"}) {
            std::string shown = name;
            if (shown.rfind("mPopUp", 0) == 0) shown = "m" + shown.substr(6);
            std::string& list = main.control(name).enabled ? on : off;
            list += (list.empty() ? "" : " ") + shown;
            enabled += main.control(name).enabled;
            ++count;
        }
        if (enabled == count) return "all";
        return enabled > count / 2 ? "all but " + off : on;
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
    // Lines of the log holding this event and state word.
    int LogCount(const std::string& event, const std::string& state) {
        const std::string text = fh.folder.ReadFile(fh.folder.path() / "Log" / "Vespar.log");
        const std::string key =
            ", " + PadRightCut(" " + event, 10) + ", " + PadRightCut(state, 10) + ", Count:";
        int n = 0;
        for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) ++n;
        return n;
    }

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
};

}  // namespace vespar::test
