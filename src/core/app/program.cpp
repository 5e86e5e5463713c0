#include "app/program.h"

#include "app/command_line.h"
#include "app/monitor_engine.h"
#include "base/dates.h"
#include "base/program_exit.h"
#include "base/version.h"
#include "config/config_reader.h"
#include "config/config_validation.h"
#include "log/fatal_stop.h"
#include "log/log_entry.h"
#include "log/log_file.h"
#include "log/startup_checks.h"

namespace vespar {

Program::Program(Clock& clock, Dialogs& dialogs, InstanceGuard& guard, ProcessControl& process,
                 std::filesystem::path programDir)
    : clock_(clock),
      dialogs_(dialogs),
      guard_(guard),
      process_(process),
      ctx_{rt_, clock_, timers_, dialogs_, std::move(programDir)},
      refresh_(timers_.Create(kRefreshTimer, 500, [this] { TimerTick(); })) {
    main_.OnClick("Exit", [this] { ExitProgram(); });
    main_.OnClick("mPopUpExit", [this] { ExitProgram(); });
    // The window's close button: only for users who may exit.
    main_.OnClick("#close", [this] {
        if (main_.control("Exit").enabled) ExitProgram();
    });
}

Program::Window Program::Enter(const std::string& commandLine) {
    commandLine_ = commandLine;
    // Known before the configuration is read, so a test switch can add its counts to the
    // configuration error messages of this very start.
    rt_.cmdSwitch = ParseCmdSwitch(commandLine);
    const bool allowMulti = AllowsMultipleInstances(commandLine);
    // Asked even when a second instance is allowed, so this one holds the lock if it is first.
    const bool running = guard_.AlreadyRunning(kProductName);
    if (allowMulti || !running) return Window::Main;
    multiInst_.visible = true;
    return Window::MultiInst;
}

bool Program::entitled() const {
    // The administrator test arrives with the system actions; until then only the setting
    // opens the commands.
    return rt_.config.UserExitA == 2;
}

void Program::ReloadConfiguration() {
    rt_.winVersion = 2;
    rt_.programTitle = kProductName;
    rt_.childFormOpen = false;
    refresh_.SetEnabled(false);
    rt_.unconfigured = false;
    rt_.portFailed = false;
    ReadConfiguration(ctx_);
    CheckLoadedValues(ctx_);
    if (rt_.config.CMain == 2) rt_.programTitle = std::string(kProductName) + " Slave";
    rt_.tickPhase = 2;
    rt_.aboutTimeout = 60;
    rt_.configTimeout = 30;
    rt_.configSaved = false;
    rt_.autoMinimiseArmed = true;
    rt_.pendingMessage = "<QZC000>";
}

void Program::LoadMainWindow() {
    ReloadConfiguration();
    CheckDirectory(ctx_, "data");
    main_.caption = kProductName;
    rt_.cmdSwitch = ParseCmdSwitch(commandLine_);
    process_.RaisePriority();
    InitialiseMonitor();
    rt_.minimiseToggled = false;
    rt_.updateCheckAt = AddSeconds(clock_.now(), 3);
    WriteLogEntry(ctx_, "", "");
    WriteLogHeader(ctx_, 0);
    if (rt_.unconfigured) WriteLogEntry(ctx_, "UnConfig", "********");
    ShowStatus();
    SetTrayState("Start");
    rt_.childFormOpen = false;
    rt_.updateBusy = false;
    rt_.centreOnShow = false;
    if (main_.minimised) main_.visible = false;
    if (rt_.config.StartMin == 2) rt_.centreOnShow = true;
    main_.visible = !main_.minimised;
}

void Program::ActivateMainWindow() {
    main_.topmost = rt_.config.RunOnTop == 2;
    if (main_.minimised) main_.visible = false;
    if (rt_.unconfigured || rt_.portFailed) {
        main_.control("mPopUpReset").enabled = false;
        main_.control("mPopUpTest").enabled = false;
    }
    main_.control("mPopUpExit").enabled = entitled();
}

void Program::ExitProgram() {
    refresh_.SetEnabled(false);
    if (!rt_.unconfigured) WriteLogEntry(ctx_, "Exit", StateWord());
    rt_.trayIconShown = false;
    throw ProgramExit{0};
}

std::string Program::StateWord() const {
    switch (rt_.monitorState) {
        case 2:
            return rt_.shutTypeName;
        case 1:
            return "Run";
        default:
            return "Initialise";
    }
}

void Program::TimerTick() {
    // One tick in two does the second's work.
    if (rt_.tickPhase == 1) {
        rt_.commsText = rt_.config.IPAdd.size() > 3 ? "." : "";
        rt_.tickPhase = 3;
    }
    rt_.tickPhase -= 1;
}

void Program::InitialiseMonitor() {
    rt_.testMode = false;
    refresh_.SetEnabled(false);
    rt_.stateSeconds = rt_.config.StartDelay;
    rt_.monitorState = 0;
    if (const auto name = ShutTypeNameOf(rt_.config.ShutType); !name.empty()) {
        rt_.shutTypeName = name;
    }
    for (const char* c : {"About", "Reset"}) main_.control(c).enabled = true;
    if (!rt_.updateBusy) {
        main_.control("Update").enabled = true;
        main_.control("mPopUpUpdate").enabled = true;
    }
    const bool allowed = entitled();
    for (const char* c : {"TestS", "Config", "Exit", "mPopUpExit", "mPopUpTest", "mPopUpConfig"}) {
        main_.control(c).enabled = allowed;
    }
    StartLogFile(ctx_);
}

void Program::ShowStatus() {
    main_.caption = rt_.programTitle;
    if (!rt_.unconfigured && !rt_.portFailed) WriteLogEntry(ctx_, "Start", "Initialise");
    rt_.pendingMessage = "<QZA000>";
    refresh_.SetEnabled(true);
}

void Program::SetTrayState(const std::string& word) {
    rt_.trayState = word;
    if (word == "Start") rt_.trayIconShown = true;
}

}  // namespace vespar
