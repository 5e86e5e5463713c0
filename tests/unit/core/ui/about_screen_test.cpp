#include "ui/about_screen.h"

#include "base/version.h"
#include "ui/web_site.h"
#include "unit/core/ui/ui_fixture.h"

namespace vespar::test {

TEST(AboutScreenTest, VersionTextHasNoLeadingZeros) {
    EXPECT_EQ(VersionText(2, 10), "Version 2.10");
    EXPECT_EQ(VersionText(5, 3), "Version 5.3");
}

TEST_F(WindowTest, AboutOpensWithTitleVersionAndCountdown) {
    fh.rt.programTitle = "Vespar Slave";
    Start();
    AboutScreen& about = window.about();
    EXPECT_FALSE(about.visible);
    main.Click("About");
    EXPECT_TRUE(about.isOpen());
    EXPECT_TRUE(about.visible);
    EXPECT_TRUE(fh.rt.childFormOpen);
    EXPECT_EQ(about.caption, "About Vespar Slave");
    EXPECT_EQ(about.control("ProgName").caption, "Vespar Slave");
    EXPECT_EQ(about.control("ProgVersion").caption, VersionText(kVersionMajor, kVersionMinor));
    EXPECT_EQ(about.control("TMessage").caption, "");
    EXPECT_EQ(fh.rt.aboutTimeout, 60);
    const Timer* timer = fh.timers.Find(AboutScreen::kTimerName);
    ASSERT_NE(timer, nullptr);

    // The first text comes a second after opening and holds the full count.
    fh.time.Advance(999);
    EXPECT_EQ(about.control("TMessage").caption, "");
    fh.time.Advance(1);
    EXPECT_EQ(about.control("TMessage").caption, "About will close in 60 sec");
    Seconds(2);
    EXPECT_EQ(about.control("TMessage").caption, "About will close in 58 sec");
    EXPECT_EQ(fh.rt.aboutTimeout, 57);

    // The engine does not advance while it is open.
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Initialise);
    EXPECT_EQ(fh.rt.stateSeconds, 3);

    // Exit closes it at once; the commands and the engine go on.
    about.Click("ExitAbout");
    EXPECT_FALSE(about.isOpen());
    EXPECT_FALSE(about.visible);
    EXPECT_FALSE(fh.rt.childFormOpen);
    EXPECT_FALSE(timer->enabled());
    EXPECT_EQ(EnabledCommands(), "all");
    Second();
    EXPECT_EQ(fh.rt.stateSeconds, 2);
}

TEST_F(WindowTest, InhibitShutdownSwitchClosesAboutAfterFourSeconds) {
    fh.rt.cmdSwitch = 1;
    fh.rt.config.UserExitA = 2;
    Start();
    main.Click("mPopUpAbout");
    AboutScreen& about = window.about();
    ASSERT_TRUE(about.isOpen());
    EXPECT_EQ(fh.rt.aboutTimeout, 4);
    std::vector<std::string> texts;
    int seconds = 0;
    for (; seconds < 10 && about.isOpen(); ++seconds) {
        fh.time.Advance(1000);
        if (about.isOpen()) texts.push_back(about.control("TMessage").caption);
    }
    // The engine's tick closes it in the second after the count has run out.
    EXPECT_FALSE(about.isOpen());
    EXPECT_EQ(seconds, 5);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"About will close in 4 sec", "About will close in 3 sec",
                                        "About will close in 2 sec", "About will close in 1 sec"}));
    EXPECT_FALSE(fh.rt.childFormOpen);
    EXPECT_EQ(EnabledCommands(), "all");
}

TEST_F(WindowTest, AboutCloseIgnoresTheOtherChildScreen) {
    Start();
    window.about().Close();
    EXPECT_TRUE(Enabled("About"));
    // The configuration screen is open and the About count ran out long ago: the engine's
    // tick asks the About screen to close, which leaves the open screen alone.
    fh.rt.aboutTimeout = 0;
    fh.rt.childFormOpen = true;
    window.DisableControls();
    Seconds(2);
    EXPECT_TRUE(fh.rt.childFormOpen);
    EXPECT_EQ(EnabledCommands(), "Update Exit mUpdate mExit mMin mRestore");
}

TEST_F(WindowTest, AboutStaysOnTopDuringTheWarning) {
    AboutScreen& about = window.about();
    Start();
    about.Open();
    EXPECT_FALSE(about.topmost);
    about.Activate();
    EXPECT_FALSE(about.topmost);
    about.Close();

    // Opened while the warning runs (the warning's own second has passed).
    fh.rt.monitorState = MonitorState::Shutdown;
    about.Open();
    EXPECT_TRUE(about.topmost);
    about.topmost = false;
    about.Activate();
    EXPECT_TRUE(about.topmost);
    // Opening an open screen only shows it: the count goes on.
    fh.rt.aboutTimeout = 12;
    about.Open();
    EXPECT_EQ(fh.rt.aboutTimeout, 12);
    about.Close();
    EXPECT_FALSE(about.topmost);
}

TEST_F(WindowTest, AboutWebSiteLinkOpensTheHomePage) {
    AboutScreen& about = window.about();
    EXPECT_EQ(about.control("WebSite").caption, kWebSiteBase);
    about.Open();
    about.Click("WebSite");
    EXPECT_EQ(opener.opened, std::vector<std::string>{kWebSiteBase});
}

}  // namespace vespar::test
