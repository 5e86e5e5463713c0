#pragma once

#include <string>

#include "base/timers.h"
#include "base/version.h"
#include "state/context.h"
#include "ui/control_model.h"
#include "ui/url_opener.h"
#include "update/download_service.h"
#include "update/update_window.h"
#include "update/updater_log.h"
#include "update/url_get.h"
#include "update/version_document.h"

namespace vespar {

// The running program's version as the update check reports it.
struct RunningVersion {
    int major = kVersionMajor;
    int minor = kVersionMinor;
};

// frmUpdater: asks the maker's web site for the version document, compares the published
// version with the running one and offers the web pages. Loaded hidden for the daily check
// (it shows itself only when a newer version exists) or shown for the user's own. The
// context's timer registry must outlive the screen.
class UpdaterScreen : public ScreenModel, public UpdateWindow {
  public:
    static constexpr const char* kTimerName = "frmUpdater.Timer1";
    static constexpr const char* kRequestPath = "software/misc/updatecheck.xml";

    // mainWindow holds the Update button, closed while a check runs.
    UpdaterScreen(Context& ctx, ScreenModel& mainWindow, DownloadService& downloads,
                  UrlOpener& opener, UpdaterLog& log, RunningVersion running = {});
    ~UpdaterScreen() override;
    UpdaterScreen(const UpdaterScreen&) = delete;
    UpdaterScreen& operator=(const UpdaterScreen&) = delete;

    void LoadHidden() override;
    void Show() override;
    // Ends the check: the Update button comes back unless a shutdown warning or a child
    // screen keeps it closed.
    void Unload();

    bool loaded() const { return loaded_; }
    const std::string& requestUrl() const { return requestUrl_; }

  private:
    void Load();
    void Tick();
    void DownloadComplete();
    void DownloadFailed();
    void DownloadProgress();
    void Log(std::vector<std::string> lines);
    void OnPageClick(const std::string& name, const std::string& path);

    Context& ctx_;
    ScreenModel& mainWindow_;
    UrlOpener& opener_;
    UpdaterLog& log_;
    RunningVersion running_;
    Timer& timer_;
    UrlGet urlGet1_;
    bool loaded_ = false;
    int tickCount_ = 0;
    int errorCount_ = 0;
    std::string currentVersion_;
    std::string currentBuild_;
    std::string requestUrl_;
};

}  // namespace vespar
