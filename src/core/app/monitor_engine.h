#pragma once

#include <string>

#include "app/engine_host.h"
#include "app/engine_state.h"
#include "sensors/cpu_usage.h"
#include "sensors/download_rate.h"
#include "sensors/input_change.h"
#include "state/context.h"
#include "system/shutdown.h"
#include "ui/main_window.h"

namespace vespar {

// The three-state machine driven by tmrRefresh: Initialise (activation countdown), Run
// (activity evaluation) and Shutdown (warning and action), plus the Test and Reset commands.
class MonitorEngine {
  public:
    MonitorEngine(Context& ctx, MainWindowScreen& main, CpuUsageSampler& cpu,
                  DownloadMeter& download, InputChangeDetector& input, ShutdownActions& actions,
                  EngineHost& host)
        : ctx_(ctx),
          rt_(ctx.rt),
          main_(main),
          cpu_(cpu),
          download_(download),
          input_(input),
          actions_(actions),
          host_(host) {}

    // The handler of tmrRefresh (every 500 ms).
    void TimerTick();
    void InitialiseMonitor();
    void ActivationTick();
    void MeasureActivity();
    void RunTick();
    void ShutdownTick();

    // User commands (buttons, popup menu, the master's datagrams).
    void Test();
    void Reset();
    void ReturnToMonitoring();

    bool Entitled();
    EngineState& state() { return st_; }
    const EngineState& state() const { return st_; }

  private:
    void CarryOutAction();
    void TestEnding();
    void MsgBoxTimed(const std::string& prompt, int timeoutSeconds, const std::string& title);
    void SetResetButton();
    [[noreturn]] void EndProgram();
    // Renews the NetCon list after the download meter rebuilt it.
    void ShowInterfaces();

    Context& ctx_;
    Runtime& rt_;
    MainWindowScreen& main_;
    CpuUsageSampler& cpu_;
    DownloadMeter& download_;
    InputChangeDetector& input_;
    ShutdownActions& actions_;
    EngineHost& host_;
    EngineState st_;
    int shownInterfaces_ = 0;
};

// Seconds after midnight of a time of day held as hh * 100 + mm.
double TimeOfDaySeconds(int hhmm);
// The display name of a shutdown type, or empty text outside 1..7.
std::string ShutTypeNameOf(int shutType);

}  // namespace vespar
