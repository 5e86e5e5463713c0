#pragma once

#include <filesystem>
#include <string>

#include "app/engine_host.h"
#include "app/main_window_controller.h"
#include "app/monitor_engine.h"
#include "app/network_ports.h"
#include "app/system_ports.h"
#include "base/clock.h"
#include "base/dialogs.h"
#include "base/held_clock.h"
#include "base/instance_guard.h"
#include "base/process_control.h"
#include "base/system_error.h"
#include "base/timers.h"
#include "comms/control_link.h"
#include "comms/link_host.h"
#include "config/config_screen.h"
#include "log/updater_log_file.h"
#include "sensors/cpu_usage.h"
#include "sensors/download_rate.h"
#include "sensors/input_change.h"
#include "state/context.h"
#include "state/runtime.h"
#include "system/shutdown.h"
#include "ui/main_window.h"
#include "ui/multi_inst.h"
#include "update/updater_screen.h"

namespace vespar {

// The main controller: process entry, main window load, reload of the configuration and
// program exit; it owns the monitor engine and the main window's rules and serves as the
// engine's host. Every call may throw ProgramExit, and a failed system action a SystemError;
// the front-end's event boundary catches both.
class Program : private EngineHost, private LinkHost, private ConfigScreenHost {
  public:
    enum class Window { Main, MultiInst };

    Program(Clock& clock, Dialogs& dialogs, InstanceGuard& guard, ProcessControl& process,
            SystemPorts ports, NetworkPorts network, std::filesystem::path programDir);

    // Decides between the main window and the multiple-instance notice.
    Window Enter(const std::string& commandLine);
    // The main window's load, in its fixed order.
    void LoadMainWindow();
    // Every time the main window becomes active.
    void ActivateMainWindow();
    // Unloads the main window and ends the program (throws ProgramExit).
    [[noreturn]] void ExitProgram() override;
    // Ended by the system (a signal, the session's end, a lost display): the same exit, after
    // an entry whose event word says why when why is not empty.
    [[noreturn]] void EndBySystem(const std::string& why);
    // Re-creates the sampler, reads and checks the configuration, resets start values.
    void ReloadConfiguration() override;
    // Shows a system action's failure as the platform reports it; the program then ends.
    [[noreturn]] void ReportSystemError(const SystemError& error);

    Runtime& runtime() { return rt_; }
    Context& context() { return ctx_; }
    TimerRegistry& timers() { return timers_; }
    MainWindowScreen& mainWindow() { return main_; }
    MultiInstScreen& multiInst() { return multiInst_; }
    UpdaterScreen& updater() { return update_; }
    MonitorEngine& engine() { return engine_; }
    MainWindowController& windowRules() { return window_; }
    ConfigScreen& configScreen() { return config_; }
    InputChangeDetector& input() { return input_; }
    ControlLink& link() { return link_; }
    bool entitled();

  private:
    // EngineHost.
    void ShowStatus() override;
    void SetTrayState(const std::string& state) override;
    void ShowMainWindow() override;
    void DisableForTest() override;
    void ShowCloseItem(bool show) override;
    void ResizeHandling() override;
    void SendPendingMessage() override;
    void CheckUpdateDue(bool automatic) override;
    bool IsAdmin() override;
    void CloseAboutScreen() override;
    void CloseConfigScreen() override;
    void WriteLogEntry(const std::string& event, const std::string& state) override;
    void WriteLogText(const std::string& text) override;
    void StartLogFile() override;
    // LinkHost.
    void HeardFromMaster() override;
    void ResetCommand() override;
    void TestCommand() override;
    // ConfigScreenHost (IsAdmin and ShowStatus serve both).
    void InitialiseMonitor() override;
    void EnableControls() override;

    void TimerTick();
    void MarkInputFailure();

    Runtime rt_;
    TimerRegistry timers_;
    HeldClock clock_;  // the local time is read once per engine second
    Dialogs& dialogs_;
    InstanceGuard& guard_;
    ProcessControl& process_;
    SystemPorts ports_;
    Context ctx_;
    MainWindowScreen main_;
    MultiInstScreen multiInst_;
    Timer& refresh_;
    std::string commandLine_;

    CpuUsageSampler cpu_;
    DownloadMeter download_;
    InputChangeDetector input_;
    ShutdownActions actions_;
    MonitorEngine engine_;
    UpdaterLogFile updaterLog_;
    UpdaterScreen update_;
    MainWindowController window_;
    ControlLink link_;
    ConfigScreen config_;
    bool inputFailureReported_ = false;
};

}  // namespace vespar
