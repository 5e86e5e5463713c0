// A master and a slave, two whole programs in one process on fake computers joined by the
// fake network, in virtual time.

#include <string>

#include "program_fixture.h"

namespace vespar::test {
namespace {

struct Computer : ProgramRig {
    Computer(FakeNetwork& net, const char* address) : ProgramRig(net, address) {
        clock.Set({2026, 12, 7, 9, 0, 0});
        // Every check off, Full log level; a master watches only its stop time at 22:00.
        // clang-format off
        for (const auto& [key, value] : {std::pair{"CPU_On", "1"}, {"Key_On", "1"}, {"DL_On", "1"},
             {"LogLevel", "3"}, {"UpEnable", "1"}, {"Stop_On", "2"}, {"StopTime", "12200"}})
            folder.SetKey(key, value);
        // clang-format on
    }
    void Start(const char* cmain, const char* partner) {
        folder.SetKey("CMain", cmain);
        folder.SetKey("IPAdd", partner);
        ProgramRig::Start("-InhibitShutdown");
    }
    MonitorState state() { return program.runtime().monitorState; }
    bool Logged(const std::string& entry) { return Log().find(entry) != std::string::npos; }
};

class Pairing : public ::testing::Test {
  protected:
    void Start() {
        master.Start("1", "127.0.0.2");
        slave.Start("2", "127.0.0.1");
        net.Run();
    }
    // Both computers in step, datagrams handed over every 50 ms.
    void Advance(std::int64_t ms) {
        for (std::int64_t t = 0; t < ms; t += 50) {
            master.time.Advance(50);
            slave.time.Advance(50);
            net.Run();
        }
    }

    FakeNetwork net;
    Computer master{net, "127.0.0.1"};
    Computer slave{net, "127.0.0.2"};
};

TEST_F(Pairing, MastersResetAndTestRepeatOnTheSlave) {
    Start();
    Advance(20'000);  // far beyond the slave's shortened 6 s without news
    ASSERT_EQ(master.state(), MonitorState::Run);
    ASSERT_EQ(slave.state(), MonitorState::Run);
    // With every check off the engine stays in Run, logging every second at the Full level.
    EXPECT_TRUE(slave.Logged(",  Run      ,           , Count:    0 C")) << slave.Log();
    EXPECT_TRUE(master.Logged(",  Inactive ,           , Count:")) << master.Log();

    master.program.mainWindow().Click("Reset");
    net.Run();
    EXPECT_EQ(slave.state(), MonitorState::Initialise);
    EXPECT_TRUE(slave.Logged(",  Reset    , Run       ,"));

    Advance(5000);
    master.program.mainWindow().Click("TestS");
    net.Run();
    EXPECT_TRUE(slave.program.runtime().testMode);
    EXPECT_TRUE(slave.Logged(", *Enter    , Test      ,"));
}

}  // namespace
}  // namespace vespar::test
