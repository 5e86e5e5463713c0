#include "base/dates.h"
#include "program_fixture.h"

namespace vespar::test {

TEST_F(EngineTest, CpuAverageTextsAndLevelBoundary) {
    Configuration& c = rt.config;
    c.Key_On = 1;
    c.CPULevel = 50;
    c.StartDelay = 1;
    Start();
    Second();  // activation
    // Loads 30, 60, 90, 0 over a window of three: averages 30, 45, 60, 50.
    const std::vector<std::pair<int, std::string>> steps = {
        {30, " 30%"}, {60, " 45%"}, {90, " 60%"}, {0, " 50%"}};
    for (const auto& [load, avg] : steps) {
        Second(load * 10);
        EXPECT_EQ(control("CPULoad").caption, "CPU: " + avg + "  " + " ");
    }
    // An average of exactly the level is activity, so idleness starts with the next, 30.
    Second(0);  // average of 90, 0, 0 = 30
    EXPECT_EQ(control("Counter").caption, "No activity for 1s");
    // A restart averages afresh.
    Start();
    Second();
    Second(300);
    EXPECT_EQ(rt.avCpuText, " 30%");
    // A failed reading is activity, and the sampler and the average start afresh: neither the
    // busy second the reading lost nor an earlier sample counts.
    sys.systemTimes.failReads = 1;
    Second(1000);
    EXPECT_EQ(rt.cpuText, "Err ");
    EXPECT_EQ(control("Counter").caption, "Activity");
    Second(0);
    EXPECT_EQ(rt.cpuText + rt.avCpuText, "  0%  0%");
}

TEST_F(EngineTest, DownloadTextAndKeyMouseMarkers) {
    Configuration& c = rt.config;
    c.CPU_On = 1;
    c.DL_On = 2;
    c.AvTimeD = 1;
    c.DLRate = 50;
    c.StartDelay = 1;
    sys.interfaces.rows = {InterfaceRow{"eth0", {1, 2, 3, 4, 5, 6}, 1024, 0},
                           InterfaceRow{"lo0", {}, 0, 0}};
    sys.connection.value = 1;
    Start();
    Seconds(2);  // the first reading after activation gives 0
    EXPECT_EQ(control("DLLoad").caption, "DL:  " + std::string(" 0.000KBs"));
    EXPECT_EQ(control("NetCon").items, (std::vector<std::string>{"eth0 ", "lo0 "}));
    EXPECT_EQ(control("NetCon").selection, 1);
    Second();  // the meter takes its reference sum
    const std::vector<std::pair<int, std::string>> steps = {
        {99, "99.000KBs"}, {100, " 0.098MBs"}, {5, " 5.000KBs"}};
    for (const auto& [kb, text] : steps) {
        sys.interfaces.rows[0].inOctets += static_cast<std::uint64_t>(kb) * 1024;
        Second();  // the meter sees the interface sums one reading late
        Second();
        EXPECT_EQ(rt.downloadText, text);
    }
    EXPECT_EQ(control("Counter").caption, "No activity for 2s");  // 0 and 5 are below 50

    sys.input.x = 40;  // only the mouse moved
    Second();
    EXPECT_EQ(control("Counter").caption, "Activity");
    EXPECT_EQ(control("CPULoad").caption, ". M");  // CPU off: trimmed markers
}

TEST_F(EngineTest, TickSendsDatagramsFromTheLastActivationSecondUntilTheWarning) {
    rt.config.IPAdd = "127.0.0.2";
    rt.config.StartDelay = 3;
    program.link().BindControlSocket();
    net.Run();  // the partner's address is known
    Start();
    const auto& sent = netPorts.socket.sent;
    Second();  // 2 left
    EXPECT_EQ(sent.size(), 0u);
    Second();  // 1 left: sent on the tick after the decrement
    EXPECT_EQ(sent.size(), 1u);
    Second();  // activation; Run sends on every tick from then on
    const std::size_t atRun = sent.size();
    Second();
    EXPECT_EQ(sent.size(), atRun + 2);
    // None while the warning runs, so that a slave notices its master's silence.
    ASSERT_TRUE(RunUntilState(MonitorState::Shutdown));
    const std::size_t atShutdown = sent.size();
    Second();
    EXPECT_EQ(sent.size(), atShutdown);
}

// The tick closes an About screen whose count ran out, and starts the daily check on a
// master only.
TEST_F(EngineTest, TickClosesTheAboutScreenAndStartsTheDailyCheckOnAMaster) {
    rt.config.UpEnable = 2;
    rt.updateCheckAt = AddSeconds(clock.now(), 3);
    Start();
    main.Click("About");
    Second();
    EXPECT_TRUE(window.about().isOpen());
    rt.aboutTimeout = 0;
    Second();
    EXPECT_FALSE(window.about().isOpen());
    EXPECT_FALSE(rt.updateBusy);
    Seconds(2);
    EXPECT_TRUE(rt.updateBusy);
    EXPECT_FALSE(program.updater().visible);
    rt.updateBusy = false;
    rt.config.CMain = 2;
    Seconds(3);
    EXPECT_FALSE(rt.updateBusy);
}

}  // namespace vespar::test
