#include "base/dates.h"
#include "engine_fixture.h"

namespace vespar::test {

TEST_F(EngineTest, CpuAverageTextsAndLevelBoundary) {
    Configuration& c = fh.rt.config;
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
        EXPECT_EQ(fh.rt.avCpuText, avg);
        EXPECT_EQ(Ctl("CPULoad").caption, "CPU: " + avg + "  " + " ");
    }
    EXPECT_EQ(fh.rt.cpuText, "  0%");
    // An average of exactly the level is activity; 30 was idle.
    EXPECT_EQ(Ctl("Counter").caption, "Activity");
    Second(0);  // average of 90, 0, 0 = 30
    EXPECT_EQ(Ctl("Counter").caption, "No activity for 1s");
    Second(1000);
    EXPECT_EQ(fh.rt.cpuText, "100%");
    // A restart averages afresh.
    Start();
    Second();
    Second(600);
    EXPECT_EQ(fh.rt.avCpuText, " 60%");
    // So does a failed reading: no earlier sample stays in the average.
    times.failReads = 1;
    Second();
    Second(0);
    EXPECT_EQ(fh.rt.avCpuText, "  0%");
}

TEST_F(EngineTest, DownloadTextAndKeyMouseMarkers) {
    Configuration& c = fh.rt.config;
    c.CPU_On = 1;
    c.DL_On = 2;
    c.AvTimeD = 1;
    c.DLRate = 50;
    c.StartDelay = 1;
    table.rows = {InterfaceRow{"eth0", {1, 2, 3, 4, 5, 6}, 1024, 0}, InterfaceRow{"lo0", {}, 0, 0}};
    setting.value = 1;
    Start();
    Seconds(2);  // the first reading after activation gives 0
    EXPECT_EQ(Ctl("DLLoad").caption, "DL:  " + std::string(" 0.000KBs"));
    EXPECT_EQ(Ctl("NetCon").items, (std::vector<std::string>{"eth0 ", "lo0 "}));
    EXPECT_EQ(Ctl("NetCon").selection, 1);
    Second();  // the meter takes its reference sum
    const std::vector<std::pair<int, std::string>> steps = {
        {99, "99.000KBs"}, {100, " 0.098MBs"}, {5, " 5.000KBs"}};
    for (const auto& [kb, text] : steps) {
        table.rows[0].inOctets += static_cast<std::uint64_t>(kb) * 1024;
        Second();  // the meter sees the interface sums one reading late
        Second();
        EXPECT_EQ(fh.rt.downloadText, text);
    }
    EXPECT_EQ(Ctl("Counter").caption, "No activity for 2s");  // 0 and 5 are below 50

    input.x = 40;  // only the mouse moved
    Second();
    EXPECT_EQ(fh.rt.keyMouseText, " . M");
    EXPECT_EQ(Ctl("Counter").caption, "Activity");
    EXPECT_EQ(Ctl("CPULoad").caption, ". M");  // CPU off: trimmed markers
}

TEST_F(EngineTest, AllChecksOffStaysInRunAndLogsEverySecondAtFull) {
    Configuration& c = fh.rt.config;
    c.CPU_On = c.Key_On = c.DL_On = 1;
    c.LogLevel = 3;
    c.StartDelay = 2;
    Start();
    Second();
    EXPECT_TRUE(Logged("Inactive", ""));
    Seconds(100);
    EXPECT_EQ(fh.rt.monitorState, MonitorState::Run);
    EXPECT_EQ(LogCount("Run", ""), 99);
}

TEST_F(EngineTest, TickSendsDatagramsFromTheLastActivationSecondUntilTheWarning) {
    Configuration& c = fh.rt.config;
    c.IPAdd = "10.0.0.2";
    c.StartDelay = 3;
    Start();
    Second();  // 2 left
    EXPECT_EQ(host.Count("Send"), 0);
    EXPECT_EQ(fh.rt.commsText, ".");
    Second();  // 1 left: sent on the tick after the decrement
    EXPECT_EQ(host.Count("Send"), 1);
    Second();  // activation; Run sends on every tick from then on
    const int atRun = host.Count("Send");
    Second();
    EXPECT_EQ(host.Count("Send"), atRun + 2);
    // None while the warning runs, so that a slave notices its master's silence.
    ASSERT_TRUE(RunUntilState(MonitorState::Shutdown));
    const int atShutdown = host.Count("Send");
    Second();
    EXPECT_EQ(host.Count("Send"), atShutdown);
}

TEST_F(EngineTest, TickClosesAChildScreenWhoseCountRanOut) {
    fh.rt.config.UserExitA = 2;
    Start();
    main.Click("About");
    fh.rt.configTimeout = 0;
    Second();
    EXPECT_EQ(host.Count("CloseConfig"), 1);
    EXPECT_TRUE(window.about().isOpen());
    fh.rt.aboutTimeout = 0;
    Second();
    EXPECT_FALSE(window.about().isOpen());
}

TEST_F(EngineTest, EngineStartsTheDailyCheckOnAMasterOnly) {
    fh.rt.config.UpEnable = 2;
    fh.rt.updateCheckAt = AddSeconds(fh.clock.now(), 3);
    Start();
    Seconds(2);
    EXPECT_TRUE(updater.calls.empty());
    Seconds(2);
    EXPECT_EQ(updater.calls, std::vector<std::string>{"hidden"});
    fh.rt.updateBusy = false;
    fh.rt.config.CMain = 2;
    Seconds(3);
    EXPECT_EQ(updater.calls.size(), 1u);
}

TEST_F(EngineTest, StartAtFixedTimeIgnoresCurrentSeconds) {
    Configuration& c = fh.rt.config;
    c.StartTime = 2;
    c.StartDelay = 805;
    fh.clock.Set(LocalTime{2026, 12, 6, 8, 4, 50});
    engine.InitialiseMonitor();
    EXPECT_EQ(fh.rt.stateSeconds, 60);
    c.StartDelay = 700;
    engine.InitialiseMonitor();
    EXPECT_EQ(fh.rt.stateSeconds, 1);
    EXPECT_EQ(TimeOfDaySeconds(2200), 79200);
    EXPECT_EQ(TimeOfDaySeconds(5), 300);
}

}  // namespace vespar::test
