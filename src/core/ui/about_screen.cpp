#include "ui/about_screen.h"

#include "base/version.h"
#include "ui/web_site.h"

namespace vespar {

std::string VersionText(int major, int minor) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor);
}

AboutScreen::AboutScreen(Context& ctx, UrlOpener& opener, std::function<void()> onClosed)
    : ScreenModel("frmAbout"),
      ctx_(ctx),
      opener_(opener),
      onClosed_(std::move(onClosed)),
      timer_(ctx.timers.Create(kTimerName, 1000, [this] { Tick(); })) {
    control(kProgName);
    control(kProgVersion);
    Control& site = control(kWebSite);
    site.caption = WebSiteBase();
    site.foreColor = kBlue;
    control(kTMessage);
    Control& exit = control(kExitAbout);
    exit.caption = "&Exit";
    exit.tooltip = "Close Vespar About Screen";
    OnClick(kExitAbout, [this] { Close(); });
    OnClick(ScreenModel::kCloseEvent, [this] { Close(); });
    OnClick(ScreenModel::kActivateEvent, [this] { Activate(); });
    OnClick(kWebSite, [this] { LaunchWebSite(ctx_, opener_, ""); });
}

AboutScreen::~AboutScreen() { ctx_.timers.Remove(timer_); }

void AboutScreen::Open() {
    if (!open_) {
        Runtime& rt = ctx_.rt;
        open_ = true;
        rt.childFormOpen = true;
        caption = "About " + rt.programTitle;
        control(kProgName).caption = rt.programTitle;
        control(kProgVersion).caption = VersionText(kVersionMajor, kVersionMinor);
        control(kTMessage).caption.clear();
        rt.aboutTimeout = rt.cmdSwitch == 1 ? 4 : 60;
        topmost = false;
        timer_.SetEnabled(true);
    }
    visible = true;
    // Showing the window makes it the active one.
    Activate();
}

void AboutScreen::Activate() {
    // During a shutdown warning it stays above the main window, which is topmost then.
    if (open_ && ctx_.rt.monitorState == MonitorState::Shutdown) topmost = true;
}

void AboutScreen::Close() {
    // The engine's tick asks whenever a child screen is open, which may be the other one.
    if (!open_) return;
    open_ = false;
    timer_.SetEnabled(false);
    visible = false;
    topmost = false;
    ctx_.rt.childFormOpen = false;
    if (onClosed_) onClosed_();
}

void AboutScreen::Tick() {
    Runtime& rt = ctx_.rt;
    control(kTMessage).caption = "About will close in " + std::to_string(rt.aboutTimeout) + " sec";
    rt.aboutTimeout -= 1;
}

}  // namespace vespar
