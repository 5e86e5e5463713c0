#pragma once

#include <filesystem>
#include <string>

#include "app/context.h"
#include "app/runtime.h"
#include "base/clock.h"
#include "base/dialogs.h"
#include "base/instance_guard.h"
#include "base/process_control.h"
#include "base/timers.h"
#include "ui/main_window.h"
#include "ui/multi_inst.h"

namespace vespar {

// The main controller: process entry, main window load, reload of the configuration and
// program exit. Every call may throw ProgramExit; the front-end's event boundary catches it.
class Program {
  public:
    enum class Window { Main, MultiInst };

    Program(Clock& clock, Dialogs& dialogs, InstanceGuard& guard, ProcessControl& process,
            std::filesystem::path programDir);

    // Decides between the main window and the multiple-instance notice.
    Window Enter(const std::string& commandLine);
    // The main window's load, in its fixed order.
    void LoadMainWindow();
    // Every time the main window becomes active.
    void ActivateMainWindow();
    // Unloads the main window and ends the program (throws ProgramExit).
    [[noreturn]] void ExitProgram();
    // Re-creates the sampler, reads and checks the configuration, resets start values.
    void ReloadConfiguration();

    Runtime& runtime() { return rt_; }
    Context& context() { return ctx_; }
    TimerRegistry& timers() { return timers_; }
    MainWindowScreen& mainWindow() { return main_; }
    MultiInstScreen& multiInst() { return multiInst_; }
    bool entitled() const;

  private:
    void TimerTick();
    void InitialiseMonitor();
    void ShowStatus();
    void SetTrayState(const std::string& word);
    std::string StateWord() const;

    Runtime rt_;
    TimerRegistry timers_;
    Clock& clock_;
    Dialogs& dialogs_;
    InstanceGuard& guard_;
    ProcessControl& process_;
    Context ctx_;
    MainWindowScreen main_;
    MultiInstScreen multiInst_;
    Timer& refresh_;
    std::string commandLine_;
};

}  // namespace vespar
