#include "program_fixture.h"

namespace vespar::test {

// A master's typical road: activation, idle and active seconds, a warning the user cancels,
// and the next warning, which powers the computer off.
TEST_F(EngineTest, TypicalRoadPowersOffAfterIdleDelaysAndWarning) {
    // The Reset button's caption and tip, and which of the popup's Reset and Cancel shows.
    const auto resetLook = [&] {
        return control("Reset").caption + ": " + control("Reset").tooltip +
               (control("mPopUpReset").visible ? " +Reset" : "") +
               (control("mPopUpCancel").visible ? " +Cancel" : "");
    };
    rt.config.DL_On = 2;
    rt.config.StartMin = 2;
    Start();
    Second();
    EXPECT_EQ(control("Counter").caption, "Program Activation In 2s");
    Seconds(2);
    EXPECT_TRUE(Logged("Enter", "Run"));

    Second();
    EXPECT_EQ(main.trayIcon, TrayIcon::Window);
    Second();
    sys.input.Press(65);
    Second();
    EXPECT_EQ(control("Counter").foreColor, kDarkGreen);
    EXPECT_EQ(main.trayIcon, TrayIcon::Activity);
    EXPECT_NE(control("CPULoad").caption.find(" K ."), std::string::npos);

    // Ten idle seconds bring both counters to their limits; the warning starts at once and
    // brings the window up on top, with only Cancel open.
    Seconds(9);
    EXPECT_EQ(rt.monitorState, MonitorState::Run);
    Second();
    EXPECT_TRUE(Logged("Enter", "Power Off"));
    EXPECT_EQ(control("Counter").caption, "The Computer Will Power Off In 5s");
    EXPECT_EQ(control("Counter").foreColor, kWhite);
    EXPECT_EQ(control("Counter").backColor, kOrange);
    EXPECT_TRUE(control("Counter").bold);
    EXPECT_EQ(control("CPULoad").caption + control("DLLoad").caption, "");
    EXPECT_EQ(main.trayIcon, TrayIcon::Shutdown);
    EXPECT_EQ(Look(), "restored visible +Min");
    EXPECT_TRUE(main.topmost);
    EXPECT_EQ(EnabledCommands(), "Reset mReset");
    EXPECT_EQ(resetLook(), "&Cancel: Cancel Vespar Power Off +Cancel");

    // Cancel restarts the engine and, the warning not being the user's choice, sends the
    // window back to the tray.
    main.Click("mPopUpCancel");
    EXPECT_EQ(rt.monitorState, MonitorState::Initialise);
    EXPECT_EQ(Look(), "minimised hidden +Restore");
    EXPECT_FALSE(control("Counter").bold);
    EXPECT_EQ(resetLook(), "&Reset: Reset Vespar +Reset");
    EXPECT_EQ(EnabledCommands(), "all");

    ASSERT_TRUE(RunUntilState(MonitorState::Shutdown));
    for (int left = 4; left >= 1; --left) {
        Second();
        EXPECT_EQ(control("Counter").caption,
                  "The Computer Will Power Off In " + std::to_string(left) + "s");
    }
    EXPECT_EQ(ExitCall(), "");
    EXPECT_THROW(Second(), ProgramExit);
}

}  // namespace vespar::test
