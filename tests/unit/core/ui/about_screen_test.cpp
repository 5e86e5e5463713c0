#include "ui/about_screen.h"

#include <gtest/gtest.h>

#include "base/version.h"
#include "fakes/fake_host.h"
#include "fakes/fake_ui_ports.h"
#include "ui/web_site.h"

namespace vespar::test {

class AboutScreenTest : public ::testing::Test {
  protected:
    const std::string& Message() { return about.control("TMessage").caption; }

    FakeHost fh;
    FakeUrlOpener opener;
    int closed = 0;
    AboutScreen about{fh.ctx, opener, [this] { ++closed; }};
};

TEST_F(AboutScreenTest, OpensWithTitleVersionAndCountdownClosesOnExitOnTopInTheWarningOnly) {
    fh.rt.programTitle = "Vespar Slave";
    EXPECT_FALSE(about.visible);
    about.Open();
    EXPECT_TRUE(about.isOpen() && about.visible && fh.rt.childFormOpen);
    EXPECT_EQ(about.caption, "About Vespar Slave");
    EXPECT_EQ(about.control("ProgName").caption, "Vespar Slave");
    EXPECT_EQ(about.control("ProgVersion").caption, VersionText(kVersionMajor, kVersionMinor));
    EXPECT_EQ(VersionText(2, 10), "Version 2.10");  // no leading zeros
    EXPECT_EQ(fh.rt.aboutTimeout, 60);
    about.Click(ScreenModel::kActivateEvent);
    EXPECT_FALSE(about.topmost);

    // The first text comes a second after opening and holds the full count.
    fh.time.Advance(999);
    EXPECT_EQ(Message(), "");
    fh.time.Advance(1);
    EXPECT_EQ(Message(), "About will close in 60 sec");
    fh.time.Advance(2000);
    EXPECT_EQ(Message(), "About will close in 58 sec");
    EXPECT_EQ(fh.rt.aboutTimeout, 57);
    // Opening an open screen only shows it: the count goes on.
    about.Open();
    EXPECT_EQ(fh.rt.aboutTimeout, 57);

    // Exit closes it at once and stops the count.
    about.Click("ExitAbout");
    EXPECT_FALSE(about.isOpen() || about.visible || fh.rt.childFormOpen);
    EXPECT_EQ(closed, 1);
    fh.time.Advance(3000);
    EXPECT_EQ(fh.rt.aboutTimeout, 57);
    // Closing a closed screen leaves the other child screen alone.
    fh.rt.childFormOpen = true;
    about.Close();
    EXPECT_TRUE(fh.rt.childFormOpen);
    EXPECT_EQ(closed, 1);

    // A new opening clears the old text; the link opens the home page.
    about.Open();
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(about.control("WebSite").caption, kWebSiteBase);
    about.Click("WebSite");
    EXPECT_EQ(opener.opened, std::vector<std::string>{kWebSiteBase});

    // With the inhibit switch the count starts from four.
    about.Close();
    fh.rt.cmdSwitch = 1;
    about.Open();
    fh.time.Advance(4000);
    EXPECT_EQ(Message(), "About will close in 1 sec");
    EXPECT_EQ(fh.rt.aboutTimeout, 0);

    about.Close();
    fh.rt.monitorState = MonitorState::Shutdown;
    about.Open();
    EXPECT_TRUE(about.topmost);
    about.topmost = false;
    about.Click(ScreenModel::kActivateEvent);
    EXPECT_TRUE(about.topmost);
    about.Click(ScreenModel::kCloseEvent);
    EXPECT_FALSE(about.isOpen() || about.topmost);
}

}  // namespace vespar::test
