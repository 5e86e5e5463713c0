#include "update/updater_screen.h"

#include "base/dates.h"
#include "base/text.h"
#include "ui/main_window.h"
#include "ui/web_site.h"
#include "update/version_comparison.h"

namespace vespar {

namespace {

constexpr int kShortUpdateTime = 5;
constexpr const char* kPageButtons[] = {"WebSite", "History", "KIssues", "Download"};

std::string ProductPage(const std::string& page) {
    std::string lower = kProductName;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return "software/" + lower + "/" + page;
}

}  // namespace

UpdaterScreen::UpdaterScreen(Context& ctx, ScreenModel& mainWindow, DownloadService& downloads,
                             UrlOpener& opener, UpdaterLog& log, RunningVersion running)
    : ScreenModel("frmUpdater"),
      ctx_(ctx),
      mainWindow_(mainWindow),
      opener_(opener),
      log_(log),
      running_(running),
      timer_(ctx.timers.Create(kTimerName, 100, [this] { Tick(); })),
      urlGet1_(downloads, ctx.clock,
               {[this](long) { DownloadComplete(); },
                [this](long, const std::string&) { DownloadFailed(); },
                [this](long) { DownloadProgress(); }}) {
    control("Status");
    control("Message");
    control("UVersion");
    const std::string product = kProductName;
    const struct {
        const char* name;
        const char* caption;
        std::string tooltip;
    } buttons[] = {
        {"WebSite", "&Web Site", product + " website"},
        {"History", "&History", product + " change history"},
        {"KIssues", "&Known Issues", product + " known issues"},
        {"Download", "&Download", "Download the latest version of " + product},
        {"Exit", "&Exit", "Close " + product + " update check"},
    };
    for (const auto& b : buttons) {
        Control& c = control(b.name);
        c.caption = b.caption;
        c.tooltip = b.tooltip;
    }
    control("Logo");
    OnPageClick("WebSite", ProductPage(""));
    OnPageClick("History", ProductPage("history.htm"));
    OnPageClick("KIssues", ProductPage("kniss.htm"));
    OnPageClick("Download", "software/download/" + product + ".zip");
    OnClick("Logo", [this] { LaunchWebSite(ctx_, opener_, ""); });
    OnClick("Exit", [this] { Unload(); });
    OnClick("#close", [this] { Unload(); });
}

UpdaterScreen::~UpdaterScreen() { ctx_.timers.Remove(timer_); }

void UpdaterScreen::LoadHidden() {
    if (!loaded_) Load();
}

void UpdaterScreen::Show() {
    if (!loaded_) Load();
    visible = true;
}

void UpdaterScreen::Load() {
    Runtime& rt = ctx_.rt;
    const std::string product = kProductName;
    mainWindow_.control(main_window::kUpdate).enabled = false;
    log_.Open();
    loaded_ = true;
    tickCount_ = 0;
    errorCount_ = 0;
    const bool shortTime = rt.cmdSwitch == kShortUpdateTime;
    const std::string version =
        std::to_string(running_.major) + "." + std::to_string(running_.minor);
    currentVersion_ = shortTime ? "0.9" : version;
    currentBuild_ = "0.0";
    rt.updateCheckAt = AddSeconds(ctx_.clock.now(), shortTime ? 7 : 24 * 60 * 60);
    // "&amp" without its ";" is what the site has always been sent.
    requestUrl_ = WebSiteBase() + kRequestPath + "?PName=" + product +
                  "&ampPVer=" + currentVersion_ + "." + currentBuild_;
    Log({FormatDateTime(ctx_.clock.now()), "", "Web URL", "-------", requestUrl_, "", "", ""});

    caption = product + " Update Check";
    control("Status").caption = "Please Wait - Checking for the latest version";
    control("Message").caption.clear();
    control("UVersion").caption = product + " Version " + version;
    for (const char* name : kPageButtons) control(name).enabled = false;
    Log({FormatDateTime(ctx_.clock.now()), "Update Check", "", "Program Data", "------------",
         "Control Mode :  " + std::to_string(rt.cmdSwitch), "Program Name :  " + product,
         "Major Version:  " + currentVersion_, "Minor Version:  " + currentBuild_, "", ""});
    timer_.SetEnabled(true);
}

void UpdaterScreen::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    timer_.SetEnabled(false);
    // A check that ends early leaves no download behind.
    if (urlGet1_.Busy()) urlGet1_.DownloadCancel();
    visible = false;
    Runtime& rt = ctx_.rt;
    if (rt.monitorState != MonitorState::Shutdown && !rt.childFormOpen) {
        mainWindow_.control(main_window::kUpdate).enabled = true;
    }
    rt.updateBusy = false;
}

void UpdaterScreen::Tick() {
    tickCount_ += 1;
    if (tickCount_ == 2) {
        urlGet1_.DownloadStart(TrimBlanks(requestUrl_), kDownloadFreshCopy);
        // The download may have ended already with an incomplete document.
        if (loaded_ && errorCount_ != 0) {
            control("Status").caption = "Unable to contact web site - try later";
            if (!ctx_.rt.manualUpdate) Unload();
        }
    } else if (tickCount_ == 31 && ctx_.rt.cmdSwitch == kShortUpdateTime) {
        Unload();
    } else if (tickCount_ == 1201) {
        Unload();
    }
}

void UpdaterScreen::DownloadProgress() {
    control("Status").caption = "Getting latest version of " + std::string(kProductName);
}

void UpdaterScreen::DownloadFailed() {
    control("Status").caption = "Unable to contact web site";
    if (!ctx_.rt.manualUpdate) Unload();
}

void UpdaterScreen::DownloadComplete() {
    const std::vector<unsigned char> bytes = urlGet1_.Bytes();
    const std::string document(bytes.begin(), bytes.end());
    Log({FormatDateTime(ctx_.clock.now()), ""});
    Log({"Web Page xml", "------------"});
    Log({TrimBlanks(document), ""});
    const VersionDocument doc = ParseVersionDocument(document);
    errorCount_ = doc.errorCount;
    Log({"Web Page Data", "-------------", "Program Name :  " + doc.name,
         "Major Version:  " + doc.version1, "Minor Version:  " + doc.version2,
         "Download url :  " + doc.download, "Known Issues :  " + doc.kIssues,
         "History      :  " + doc.history, "Home Page    :  " + doc.index,
         "Message      :  " + doc.message, "Uninstall    :  " + doc.uninstall,
         "Error Count  :  " + std::to_string(doc.errorCount), "", ""});
    bool newer = false;
    if (errorCount_ == 0) {
        const UpdateVerdict verdict = JudgeDocument(doc, currentVersion_, currentBuild_);
        control("Status").caption = verdict.status;
        control("Message").caption = verdict.message;
        for (const std::string& name : verdict.enabledButtons) control(name).enabled = true;
        newer = verdict.newer;
        if (newer) visible = true;
    }
    if (!ctx_.rt.manualUpdate && (!newer || errorCount_ != 0)) Unload();
}

void UpdaterScreen::Log(std::vector<std::string> lines) { log_.Write(lines); }

void UpdaterScreen::OnPageClick(const std::string& name, const std::string& path) {
    // A disabled button delivers no click, whoever raises it.
    OnClick(name, [this, name, path] {
        if (control(name).enabled) LaunchWebSite(ctx_, opener_, path);
    });
}

}  // namespace vespar
