#include "update/updater_screen.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "base/dates.h"
#include "fakes/fake_download_service.h"
#include "fakes/fake_ui_ports.h"
#include "fakes/running_host.h"
#include "log/updater_log_file.h"
#include "ui/web_site.h"

namespace vespar::test {
namespace {

const std::string kUrl = WebSiteBase() + "software/misc/updatecheck.xml?PName=Vespar&ampPVer=";

std::string Document(const std::string& version1, const std::string& uninstall = "No") {
    return "<Name>Vespar</Name><Version1>" + version1 +
           "</Version1><Version2>0.0</Version2><Download>d</Download><History>h</History>"
           "<KIssues>k</KIssues><Index>i</Index><Message>Hello</Message><Uninstall>" +
           uninstall + "</Uninstall>";
}

struct UpdaterTest : ::testing::Test {
    UpdaterTest() { main.control("Update").enabled = true; }
    // As the main window starts a check.
    void Manual() {
        host.rt.updateBusy = host.rt.manualUpdate = true;
        updater.Show();
    }
    void Automatic() {
        host.rt.updateBusy = true;
        host.rt.manualUpdate = false;
        updater.LoadHidden();
    }
    // Moves on to the request, 200 ms after loading.
    void Requested() {
        const std::size_t before = downloads.started.size();
        host.time.Advance(200);
        ASSERT_EQ(downloads.started.size(), before + 1);
    }
    bool Ended() {
        return !updater.loaded() && !updater.visible && !host.rt.updateBusy &&
               main.control("Update").enabled;
    }
    std::string Status() { return updater.control("Status").caption; }
    std::string Enabled() {
        std::string on;
        for (const char* name : {"WebSite", "History", "KIssues", "Download", "Exit"})
            if (updater.control(name).enabled) on += std::string(on.empty() ? "" : " ") + name;
        return on;
    }
    std::filesystem::path LogFile() { return host.folder.path() / "Log" / "Updater.log"; }

    RunningHost host;
    ScreenModel main{"VesparMain"};
    FakeDownloadService downloads;
    FakeUrlOpener opener;
    UpdaterLogFile log{host.ctx};
    UpdaterScreen updater{host.ctx, main, downloads, opener, log, {5, 3}};
};

// With the marker file present, the check also writes its diagnostic log.
TEST_F(UpdaterTest, ManualCheckFindsANewerVersionAndLogsIt) {
    host.folder.WriteFile(host.folder.path() / "Log" / "LogOn.txt", "");
    host.clock.Set({2026, 12, 7, 9, 5, 1});
    Manual();
    EXPECT_TRUE(updater.visible);
    EXPECT_FALSE(main.control("Update").enabled);
    EXPECT_EQ(updater.caption, "Vespar Update Check");
    EXPECT_EQ(updater.control("UVersion").caption, "Vespar Version 5.3");
    EXPECT_EQ(Status(), "Please Wait - Checking for the latest version");
    EXPECT_EQ(Enabled(), "Exit");
    host.time.Advance(150);
    EXPECT_TRUE(downloads.started.empty());
    Requested();
    EXPECT_EQ(downloads.started.back().mode, 16);

    downloads.Progress("<Na");
    EXPECT_EQ(Status(), "Getting latest version of Vespar");
    downloads.Complete("  " + Document("5.4", "Yes") + " ");
    EXPECT_EQ(Status(), "Version 5.4 of Vespar is available ");
    EXPECT_EQ(Enabled(), "WebSite History KIssues Download Exit");
    EXPECT_NE(updater.control("Message").caption.find("Hello"), std::string::npos);

    for (const char* button : {"Download", "History", "KIssues", "WebSite", "Logo"})
        updater.Click(button);
    EXPECT_EQ(opener.opened,
              (std::vector<std::string>{WebSiteBase() + "software/download/Vespar.zip",
                                        WebSiteBase() + "software/vespar/history.htm",
                                        WebSiteBase() + "software/vespar/kniss.htm",
                                        WebSiteBase() + "software/vespar/", WebSiteBase()}));
    updater.Click("Exit");
    EXPECT_TRUE(Ended());
    EXPECT_FALSE(host.timers.Find(UpdaterScreen::kTimerName)->enabled());
    const std::string t = "07-Dec-26 09:05:01\r\n";
    EXPECT_EQ(host.folder.ReadFile(LogFile()),
              "Updater\r\nVersion " + std::to_string(kVersionMajor) + "." +
                  std::to_string(kVersionMinor) + "\r\nFile Created\r\n" + t +           //
                  t + "\r\nWeb URL\r\n-------\r\n" + kUrl + "5.3.0.0\r\n\r\n\r\n\r\n" +  //
                  t +
                  "Update Check\r\n\r\nProgram Data\r\n------------\r\n"
                  "Control Mode :  0\r\nProgram Name :  Vespar\r\n"
                  "Major Version:  5.3\r\nMinor Version:  0.0\r\n\r\n\r\n" +
                  t + "\r\n" + "Web Page xml\r\n------------\r\n" + Document("5.4", "Yes") +
                  "\r\n\r\n"
                  "Web Page Data\r\n-------------\r\nProgram Name :  Vespar\r\n"
                  "Major Version:  5.4\r\nMinor Version:  0.0\r\nDownload url :  d\r\n"
                  "Known Issues :  k\r\nHistory      :  h\r\nHome Page    :  i\r\n"
                  "Message      :  Hello\r\nUninstall    :  Yes\r\nError Count  :  0\r\n\r\n\r\n");
}

TEST_F(UpdaterTest, AutomaticCheckShowsItselfOnlyForANewerVersion) {
    const std::pair<std::string, bool> cases[] = {
        {Document("5.4"), true},        {Document("5.3"), false}, {Document("5.2"), false},
        {"<Name>Vespar</Name>", false}, {"fail", false},
    };
    for (const auto& [answer, stays] : cases) {
        Automatic();
        EXPECT_FALSE(updater.visible);
        Requested();
        if (answer == "fail") {
            downloads.Fail(404, "Not Found");
        } else {
            downloads.Complete(answer);
        }
        EXPECT_EQ(std::pair(updater.visible, updater.loaded()), std::pair(stays, stays)) << answer;
        if (stays) updater.Unload();
        EXPECT_TRUE(Ended()) << answer;
    }
    EXPECT_FALSE(std::filesystem::exists(LogFile()));  // no marker, no diagnostic log
}

TEST_F(UpdaterTest, ACheckEndsOnItsOwnAfterItsTime) {
    // A short update time asks as version 0.9 and closes after 3.1 seconds, answered or not.
    const std::tuple<int, int, const char*, bool, int> cases[] = {
        {0, 24 * 60 * 60, "5.3.0.0", false, 120'100}, {5, 7, "0.9.0.0", true, 3100}};
    for (const auto& [cmdSwitch, nextCheck, version, answered, endsAt] : cases) {
        host.rt.cmdSwitch = cmdSwitch;
        const LocalTime start = host.clock.now();
        Manual();
        EXPECT_EQ(host.rt.updateCheckAt, AddSeconds(start, nextCheck));
        Requested();
        EXPECT_EQ(downloads.started.back().url, kUrl + version);
        if (answered) downloads.Complete(Document("5.3"));
        host.time.Advance(endsAt - 200 - 1);
        EXPECT_TRUE(updater.loaded());
        host.time.Advance(1);
        EXPECT_TRUE(Ended());
        EXPECT_FALSE(downloads.Running());
        // An answer that comes after all is not taken.
        downloads.Complete(Document("5.4"));
        EXPECT_FALSE(updater.visible);
    }
}

TEST_F(UpdaterTest, UpdateStaysClosedDuringAWarningOrAChildScreen) {
    for (const bool warning : {true, false}) {
        host.rt.monitorState = warning ? MonitorState::Shutdown : MonitorState::Run;
        host.rt.childFormOpen = !warning;
        Manual();
        updater.Unload();
        EXPECT_FALSE(main.control("Update").enabled) << warning;
        EXPECT_FALSE(host.rt.updateBusy) << warning;
    }
}

}  // namespace
}  // namespace vespar::test
