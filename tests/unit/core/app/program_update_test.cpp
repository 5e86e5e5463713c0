// The update check as the program runs it: the daily check three seconds after start, the
// Update button, and one check at a time.

#include "unit/core/app/program_fixture.h"

namespace vespar::test {
namespace {

constexpr const char* kNewer =
    "<Name>Vespar</Name><Version1>99.0</Version1><Version2>0.0</Version2><Download>d</Download>"
    "<History>h</History><KIssues>k</KIssues><Index>i</Index><Message>m</Message>"
    "<Uninstall>No</Uninstall>";

TEST_F(ProgramTest, DailyCheckRunsHiddenAndShowsANewerVersion) {
    Start("-InhibitShutdown");
    UpdaterScreen& updater = program.updater();
    time.Advance(3000);
    EXPECT_TRUE(updater.loaded());
    EXPECT_FALSE(updater.visible);
    EXPECT_FALSE(control("Update").enabled);
    time.Advance(1000);
    ASSERT_EQ(netPorts.downloads.started.size(), 1u);
    netPorts.downloads.Complete(kNewer);
    EXPECT_TRUE(updater.visible);
    updater.Click("Exit");
    EXPECT_TRUE(control("Update").enabled);
    EXPECT_FALSE(program.runtime().updateBusy);

    // The button runs one at once, shown.
    program.mainWindow().Click("Update");
    EXPECT_TRUE(updater.visible);
    time.Advance(200);
    EXPECT_EQ(netPorts.downloads.started.size(), 2u);
}

}  // namespace
}  // namespace vespar::test
