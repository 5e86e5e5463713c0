#include "engine_fixture.h"

namespace vespar::test {

TEST_F(EngineTest, TypicalRoadPowersOffAfterIdleDelaysAndWarning) {
    fh.rt.config.DL_On = 2;
    Start();
    Second();
    EXPECT_EQ(Ctl("Counter").caption, "Program Activation In 2s");
    EXPECT_EQ(Ctl("Counter").foreColor, kBlue);
    Seconds(2);
    EXPECT_TRUE(host.Logged("Enter", "Run"));
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);

    Second();
    EXPECT_EQ(Ctl("Counter").caption, "No activity for 1s");
    EXPECT_EQ(Ctl("Counter").foreColor, kOrange);
    EXPECT_EQ(host.tray.back(), "NoActivity");
    Second();
    input.Press(65);
    Second();
    EXPECT_EQ(Ctl("Counter").caption, "Activity");
    EXPECT_EQ(Ctl("Counter").foreColor, kDarkGreen);
    EXPECT_EQ(host.tray.back(), "Activity");
    EXPECT_EQ(Ctl("CPULoad").caption.substr(0, 5), "CPU: ");
    EXPECT_NE(Ctl("CPULoad").caption.find(" K ."), std::string::npos);
    EXPECT_NE(Ctl("DLLoad").caption, "");

    // Ten idle seconds bring both counters to their limits; the warning starts at once.
    Seconds(9);
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);
    Second();
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Shutdown);
    EXPECT_TRUE(host.Logged("Enter", "Power Off"));
    EXPECT_EQ(Ctl("Counter").caption, "The Computer Will Power Off In 5s");
    EXPECT_EQ(Ctl("Counter").foreColor, kWhite);
    EXPECT_EQ(Ctl("Counter").backColor, kOrange);
    EXPECT_TRUE(Ctl("Counter").bold);
    EXPECT_EQ(Ctl("CPULoad").caption, "");
    EXPECT_EQ(Ctl("DLLoad").caption, "");
    EXPECT_EQ(Ctl("Reset").caption, "&Cancel");
    EXPECT_EQ(Ctl("Reset").tooltip, "Cancel Vespar Power Off");
    EXPECT_TRUE(Ctl("mPopUpCancel").visible);
    EXPECT_FALSE(Ctl("mPopUpReset").visible);
    EXPECT_FALSE(Ctl("Config").enabled);
    EXPECT_EQ(host.calls.back(), "ShowMainWindow");
    EXPECT_EQ(host.tray.back(), "Shutdown");
    for (int left = 4; left >= 1; --left) {
        Second();
        EXPECT_EQ(Ctl("Counter").caption,
                  "The Computer Will Power Off In " + std::to_string(left) + "s");
    }
    EXPECT_TRUE(ExitCalls().empty());
    EXPECT_THROW(Second(), ProgramExit);
    EXPECT_EQ(Ctl("Counter").caption, "The Computer Will Power Off In 0s");
    EXPECT_EQ(ExitCall().rfind("ExitSession 8 ", 0), 0u);
    ASSERT_GE(host.log.size(), 2u);
    EXPECT_EQ(host.log[host.log.size() - 2], LogPair("Start", "Power Off"));
    EXPECT_EQ(host.log.back(), LogPair("Close", "Power Off"));
    EXPECT_FALSE(fh.rt.trayIconShown);
}

}  // namespace vespar::test
