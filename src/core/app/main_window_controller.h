#pragma once

#include <functional>
#include <string>

#include "app/engine_state.h"
#include "base/timers.h"
#include "state/configuration.h"
#include "state/context.h"
#include "ui/about_screen.h"
#include "ui/main_window.h"
#include "ui/url_opener.h"
#include "update/update_window.h"

namespace vespar {

// Tray icon messages as the window's mouse-move event receives them.
inline constexpr int kTrayLeftDoubleClick = 515;
inline constexpr int kTrayRightButtonDown = 516;

// The rules of VesparMain: status texts, tray icon, minimising and restoring, the enabling of
// buttons and popup items, the Close item of the system menu, the update check and the About
// screen. It registers the clicks of About, Config, Update, Logo and every popup item except
// mPopUpExit; Reset and TestS belong to the engine.
class MainWindowController {
  public:
    // entitled answers whether the user may exit, test, configure and cancel.
    MainWindowController(Context& ctx, MainWindowScreen& main, Timer& refresh, EngineState& engine,
                         std::function<bool()> entitled, UpdateWindow& update, UrlOpener& opener);

    // What the Config button opens once the commands are disabled; without it the button
    // does nothing.
    void SetConfigScreenOpener(std::function<void()> open) { openConfigScreen_ = std::move(open); }

    // Texts, optional minimising, window level, start entry, first datagram, engine timer.
    void ShowStatus();
    // The longest delay among the enabled checks, as ShowStatus last found it.
    float LongestDelay() const { return engine_.longestDelay; }
    static float ComputeLongestDelay(const Configuration& c, const EngineState& engine,
                                     int cmdSwitch);
    // The status line for these settings.
    static std::string StatusLine(const Configuration& c, const std::string& shutTypeName,
                                  float longestDelay, int delayLimit);

    void SetTrayState(const std::string& word);
    void TrayMouse(int message);
    void ApplyMinimiseToggledRule();
    // The window's resize event: the front-end reports a minimise or restore by the user.
    void WindowStateChanged(bool minimised);
    // The resize handling for the window's present state.
    void ResizeHandling();
    void ShowMainWindow();
    void ShowCloseItem(bool keep);
    void DisableControls();
    void EnableControls();
    void DisableForTest();
    void CheckUpdateDue(bool automatic);

    AboutScreen& about() { return about_; }

  private:
    bool MinimiseToggledRule() const;
    void Minimise();
    void AboutClick();
    void ConfigClick();
    void UpdateClick();
    // Runs handler only while the clicked control is enabled.
    void OnEnabledClick(const std::string& name, std::function<void()> handler);

    Context& ctx_;
    Runtime& rt_;
    MainWindowScreen& main_;
    Timer& refresh_;
    EngineState& engine_;
    std::function<bool()> entitled_;
    UpdateWindow& update_;
    UrlOpener& opener_;
    std::function<void()> openConfigScreen_;
    AboutScreen about_;
};

// "hh:mm" of a time of day held as hh * 100 + mm.
std::string TimeOfDayText(int hhmm);

}  // namespace vespar
