#pragma once

#include <functional>
#include <string>

#include "base/timers.h"
#include "config/config_writer.h"
#include "log/text_viewer.h"
#include "state/context.h"
#include "ui/control_model.h"
#include "ui/main_window.h"
#include "ui/url_opener.h"

namespace vespar {

// What the configuration screen asks of the rest of the program.
class ConfigScreenHost {
  public:
    virtual ~ConfigScreenHost() = default;
    virtual bool IsAdmin() = 0;
    // The reset after a saved change: re-read and check the file, restart the engine, and
    // show the new state on the main window.
    virtual void ReloadConfiguration() = 0;
    virtual void InitialiseMonitor() = 0;
    virtual void ShowStatus() = 0;
    // The screen was unloaded: the main window opens its commands again.
    virtual void EnableControls() = 0;
};

// frmConfig: every setting with its caption, range label and tooltip; the rules that keep the
// fields consistent while the user works; range checks with highlights; Save, Restore, Exit,
// Archive and View Log. Text boxes hold their text in the control's caption, check boxes their
// value (0/1), lists their selection. It never changes ctx.rt.config: a saved file takes effect
// through the reset its Exit performs. The context's timer registry must outlive the screen.
class ConfigScreen : public ScreenModel {
  public:
    static constexpr const char* kTimer1Name = "frmConfig.Timer1";
    static constexpr const char* kTimer2Name = "frmConfig.Timer2";

    ConfigScreen(Context& ctx, ConfigScreenHost& host, MainWindowScreen& main, TextViewer& viewer,
                 UrlOpener& opener);
    ~ConfigScreen();
    ConfigScreen(const ConfigScreen&) = delete;
    ConfigScreen& operator=(const ConfigScreen&) = delete;

    // Whether a field control is a check box (the others are text boxes and lists).
    static bool IsCheckBox(const std::string& name);

    bool isOpen() const { return open_; }
    // The window load; an open screen is only shown again.
    void Open();
    // The screen became the active window.
    void Activate();
    // The window unload, without a reset (timeout, program exit).
    void Close();

    // Checks every field, highlights the range labels of the bad ones and returns how many
    // rules failed; starts the closing countdown.
    int ValidateScreen();

    // The screen's operations, in the terms its rules use.
    void FillFields();
    void ApplyEnabling();
    void ApplyCaptions();
    void ReadShutTypeChoice();
    void SetButtonTips();
    void ResetRangeLabels();
    std::string TakeSnapshot() const;
    // The field values as Save writes them.
    ConfigFields Fields() const;

    // Sets a check box or a list from code; a change raises its click, as a user's would.
    void SetCheck(const std::string& name, int value);
    void SelectText(const std::string& name, const std::string& text);
    // The text of a list's selected entry ("" when nothing is selected).
    std::string ListText(const std::string& name) const;

    bool loading() const { return loading_; }
    int logLevelChoice() const { return logLevelChoice_; }
    int shutTypeChoice() const { return shutTypeChoice_; }

  private:
    // Puts every control into its state as designed.
    void Design();
    Control& Declare(const std::string& name, const std::string& text, const std::string& tip = "");
    bool Master() const { return ctx_.rt.config.CMain != 2; }
    bool Ticked(const std::string& name) const { return control(name).value == 1; }
    double Number(const std::string& name) const;
    const std::string& Text(const std::string& name) const { return control(name).caption; }
    void SetText(const std::string& name, const std::string& text) { control(name).caption = text; }
    void EnableBox(const std::string& name, bool enabled);
    void Highlight(const std::string& label);
    // A click rule of a check box or list: quiet while the screen fills itself.
    void OnRule(const std::string& name, std::function<void()> rule);
    // A button's command: only while the button is enabled.
    void OnButton(const std::string& name, std::function<void()> handler);

    void ActivityCheckClick();
    void StartTimeClick();
    void LogLevelClick();
    void RunOnTopClick();
    void Save();
    void Restore();
    void ExitClick();
    void ArchiveClick();
    void Timer1Tick();
    void Timer2Tick();

    Context& ctx_;
    ConfigScreenHost& host_;
    MainWindowScreen& main_;
    TextViewer& viewer_;
    UrlOpener& opener_;
    Timer& timer1_;
    Timer& timer2_;
    bool open_ = false;
    bool loading_ = false;
    bool changed_ = false;
    int logLevelChoice_ = 0;
    int shutTypeChoice_ = 0;
    std::string snapshot_;
};

}  // namespace vespar
