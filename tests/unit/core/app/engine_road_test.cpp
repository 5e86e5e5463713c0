#include "engine_fixture.h"

namespace vespar::test {

TEST_F(EngineTest, TypicalRoadPowersOffAfterIdleDelaysAndWarning) {
    fh.rt.config.DL_On = 2;
    Start();
    Second();
    EXPECT_EQ(Ctl("Counter").caption, "Program Activation In 2s");
    EXPECT_EQ(Ctl("Counter").foreColor, kBlue);
    Seconds(2);
    EXPECT_TRUE(Logged("Enter", "Run"));
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);

    Second();
    EXPECT_EQ(Ctl("Counter").caption, "No activity for 1s");
    EXPECT_EQ(Ctl("Counter").foreColor, kOrange);
    EXPECT_EQ(main.trayIcon, TrayIcon::Window);
    Second();
    input.Press(65);
    Second();
    EXPECT_EQ(Ctl("Counter").caption, "Activity");
    EXPECT_EQ(Ctl("Counter").foreColor, kDarkGreen);
    EXPECT_EQ(main.trayIcon, TrayIcon::Activity);
    EXPECT_NE(Ctl("CPULoad").caption.find(" K ."), std::string::npos);
    EXPECT_NE(Ctl("DLLoad").caption, "");

    // Ten idle seconds bring both counters to their limits; the warning starts at once.
    Seconds(9);
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);
    Second();
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Shutdown);
    EXPECT_TRUE(Logged("Enter", "Power Off"));
    EXPECT_EQ(Ctl("Counter").caption, "The Computer Will Power Off In 5s");
    EXPECT_EQ(Ctl("Counter").foreColor, kWhite);
    EXPECT_EQ(Ctl("Counter").backColor, kOrange);
    EXPECT_TRUE(Ctl("Counter").bold);
    EXPECT_EQ(Ctl("CPULoad").caption, "");
    EXPECT_EQ(Ctl("DLLoad").caption, "");
    EXPECT_EQ(main.trayIcon, TrayIcon::Shutdown);
    for (int left = 4; left >= 1; --left) {
        Second();
        EXPECT_EQ(Ctl("Counter").caption,
                  "The Computer Will Power Off In " + std::to_string(left) + "s");
    }
    EXPECT_EQ(ExitCall(), "");
    EXPECT_THROW(Second(), ProgramExit);
    EXPECT_EQ(Ctl("Counter").caption, "The Computer Will Power Off In 0s");
    EXPECT_EQ(ExitCall().rfind("ExitSession 8 ", 0), 0u);
}

}  // namespace vespar::test
