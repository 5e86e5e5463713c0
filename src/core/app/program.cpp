#include "app/program.h"

#include <cstdio>

#include "app/command_line.h"
#include "base/dates.h"
#include "base/program_exit.h"
#include "base/text.h"
#include "base/version.h"
#include "comms/datagram.h"
#include "config/config_reader.h"
#include "config/config_validation.h"
#include "log/fatal_stop.h"
#include "log/log_entry.h"
#include "log/log_file.h"
#include "log/startup_checks.h"
#include "system/admin_test.h"
#include "ui/web_site.h"

namespace vespar {

namespace {
constexpr const char* kInputFailureNote = " (no keyboard/mouse input readable)";
}  // namespace

Program::Program(Clock& clock, Dialogs& dialogs, InstanceGuard& guard, ProcessControl& process,
                 SystemPorts ports, NetworkPorts network, std::filesystem::path programDir)
    : clock_(clock),
      dialogs_(dialogs),
      guard_(guard),
      process_(process),
      ports_(ports),
      ctx_{rt_, clock_, timers_, dialogs_, std::move(programDir)},
      refresh_(timers_.Create(kRefreshTimer, 500, [this] { TimerTick(); })),
      cpu_(ports_.systemTimes, ports_.nativeCounters, ports_.version),
      download_(clock_, ports_.interfaces, ports_.connection),
      input_(ports_.input),
      actions_(ports_.power, kProductName),
      engine_(ctx_, main_, cpu_, download_, input_, actions_, *this),
      updaterLog_(ctx_),
      update_(ctx_, main_, network.downloads, ports_.urlOpener, updaterLog_),
      window_(
          ctx_, main_, refresh_, engine_.state(), [this] { return entitled(); }, update_,
          ports_.urlOpener),
      link_(ctx_, main_, network.socket, network.resolver, *this),
      config_(ctx_, *this, main_, ports_.viewer, ports_.urlOpener) {
    window_.SetConfigScreenOpener([this] { config_.Open(); });
    main_.OnClick(main_window::kExit, [this] {
        if (main_.control(main_window::kExit).enabled) ExitProgram();
    });
    main_.OnClick(main_window::kMPopUpExit, [this] {
        if (main_.control(main_window::kMPopUpExit).enabled) ExitProgram();
    });
    // The window's close button exists only while the system menu holds Close, that is for
    // entitled users; it works during a warning too, when the Exit button is disabled.
    main_.OnClick(ScreenModel::kCloseEvent, [this] {
        if (main_.closeItemShown()) ExitProgram();
    });
    multiInst_.OnClick(main_window::kLogo, [this] { LaunchWebSite(ctx_, ports_.urlOpener, ""); });
    // Disabled buttons refuse their command: that is how Cancel is kept from other users.
    main_.OnClick(main_window::kTestS, [this] {
        if (main_.control(main_window::kTestS).enabled) engine_.Test();
    });
    main_.OnClick(main_window::kReset, [this] {
        if (main_.control(main_window::kReset).enabled) engine_.Reset();
    });
    main_.OnClick(ScreenModel::kActivateEvent, [this] { ActivateMainWindow(); });
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

bool Program::entitled() { return IsAdmin() || rt_.config.UserExitA == 2; }

bool Program::IsAdmin() { return vespar::IsAdmin(ports_.groups, rt_.cmdSwitch); }

void Program::ReloadConfiguration() {
    // A fresh sampler for every load; the version chooses its method for this configuration.
    cpu_.Reset();
    cpu_.Initialize();
    rt_.winVersion = cpu_.GetVersion();
    rt_.programTitle = kProductName;
    rt_.childFormOpen = false;
    refresh_.SetEnabled(false);
    rt_.unconfigured = false;
    rt_.portFailed = false;
    ReadConfiguration(ctx_);
    CheckLoadedValues(ctx_);
    rt_.savedConfig = rt_.config;
    if (rt_.config.CMain == 2) rt_.programTitle = std::string(kProductName) + " Slave";
    rt_.tickPhase = 2;
    rt_.aboutTimeout = 60;
    rt_.configTimeout = 30;
    rt_.configSaved = false;
    rt_.autoMinimiseArmed = true;
    rt_.pendingMessage = kResetMessage;
    link_.BindControlSocket();
}

void Program::LoadMainWindow() {
    ReloadConfiguration();
    CheckDirectory(ctx_, "data");
    main_.caption = kProductName;
    rt_.cmdSwitch = ParseCmdSwitch(commandLine_);
    process_.RaisePriority();
    engine_.InitialiseMonitor();
    rt_.minimiseToggled = false;
    rt_.updateCheckAt = AddSeconds(clock_.now(), 3);
    WriteLogEntry("", "");
    WriteLogHeader(ctx_, 0);
    if (rt_.unconfigured) WriteLogEntry("UnConfig", "********");
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
    // A warning stays above every other window, whatever activated it.
    main_.topmost = rt_.config.RunOnTop == 2 || rt_.monitorState == MonitorState::Shutdown;
    if (main_.minimised) main_.visible = false;
    if (rt_.unconfigured || rt_.portFailed) {
        main_.control(main_window::kMPopUpReset).enabled = false;
        main_.control(main_window::kMPopUpTest).enabled = false;
    }
    main_.control(main_window::kMPopUpExit).enabled = entitled();
}

void Program::ExitProgram() {
    refresh_.SetEnabled(false);
    window_.about().Close();
    config_.Close();
    if (!rt_.unconfigured) WriteLogEntry("Exit", StateWord(rt_));
    rt_.trayIconShown = false;
    throw ProgramExit{0};
}

void Program::EndBySystem(const std::string& why) {
    if (!why.empty() && !rt_.unconfigured) WriteLogEntry(why, StateWord(rt_));
    Program::ExitProgram();
}

void Program::ReportSystemError(const SystemError& error) {
    refresh_.SetEnabled(false);
    rt_.trayIconShown = false;
    // The number in decimal and as the eight hex digits the platform's documentation uses.
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<std::uint32_t>(error.Number()));
    dialogs_.Show(MessageBox{kProductName,
                             "Run-time error '" + std::to_string(error.Number()) + " (" + hex +
                                 ")':" + kCrLf + kCrLf + error.Description(),
                             Icon::Critical, Buttons::Ok, 0});
    throw ProgramExit{1};
}

void Program::TimerTick() {
    const HeldClock::Hold oneReading(clock_);
    engine_.TimerTick();
    // An input source that cannot be read counts as activity, so the computer is never
    // switched off for it; the user is told once why keyboard idleness never comes.
    if (input_.Unreadable() && rt_.config.Key_On == 2 && !inputFailureReported_) {
        inputFailureReported_ = true;
        if (!rt_.unconfigured) WriteLogEntry("NoInput", "Keyboard");
        MarkInputFailure();
    }
}

void Program::MarkInputFailure() {
    if (inputFailureReported_ && rt_.config.Key_On == 2 && !rt_.unconfigured && !rt_.portFailed) {
        main_.control(main_window::kTitle).caption += kInputFailureNote;
    }
}

void Program::ShowStatus() {
    window_.ShowStatus();
    MarkInputFailure();
}

void Program::SetTrayState(const std::string& state) { window_.SetTrayState(state); }
void Program::ShowMainWindow() { window_.ShowMainWindow(); }
void Program::DisableForTest() { window_.DisableForTest(); }
void Program::ShowCloseItem(bool show) { window_.ShowCloseItem(show); }
void Program::ResizeHandling() { window_.ResizeHandling(); }
void Program::SendPendingMessage() { link_.SendDatagram(); }
void Program::CheckUpdateDue(bool automatic) { window_.CheckUpdateDue(automatic); }
void Program::CloseAboutScreen() { window_.about().Close(); }
void Program::CloseConfigScreen() { config_.Close(); }
void Program::InitialiseMonitor() { engine_.InitialiseMonitor(); }
void Program::EnableControls() { window_.EnableControls(); }
void Program::WriteLogEntry(const std::string& event, const std::string& state) {
    vespar::WriteLogEntry(ctx_, event, state);
}
void Program::WriteLogText(const std::string& text) {
    if (rt_.config.LogLevel > 1) AppendLogText(ctx_, text);
}
void Program::StartLogFile() { vespar::StartLogFile(ctx_); }
void Program::HeardFromMaster() { engine_.state().noDatagramFlag = 0; }
void Program::ResetCommand() { engine_.Reset(); }
void Program::TestCommand() { engine_.Test(); }

}  // namespace vespar
