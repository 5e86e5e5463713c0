#include "system/shutdown.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_power.h"

namespace vespar {
namespace {

const std::vector<std::string> kPrivilegeSteps = {"LookupPrivilege SeShutdownPrivilege",
                                                  "CurrentProcess", "OpenToken 40",
                                                  "AdjustPrivileges", "CloseToken"};

struct ShutdownTest : ::testing::Test {
    test::FakePowerActions power;
    ShutdownActions actions{power, "Vespar"};

    SystemError Raised(const std::function<void()>& call) {
        try {
            call();
        } catch (const SystemError& e) {
            return e;
        }
        ADD_FAILURE() << "no SystemError raised";
        return SystemError(0, "", "");
    }
    // The privilege steps for the prepared action, then the last call.
    std::vector<std::string> With(const std::string& action, const std::string& last) {
        std::vector<std::string> calls{"Prepare " + action};
        calls.insert(calls.end(), kPrivilegeSteps.begin(), kPrivilegeSteps.end());
        calls.push_back(last);
        return calls;
    }
};

TEST(SystemErrorNumbers, SitAboveTheObjectErrorBase) {
    EXPECT_EQ(ObjectErrorNumber(kShutdownFailed), static_cast<std::int32_t>(0x8004062Bu));
    EXPECT_EQ(ObjectErrorNumber(kInvalidShutdownFlags), -2147221504 + 1583);
}

TEST_F(ShutdownTest, EnablesThePrivilegeThenAsksTheSystem) {
    EXPECT_TRUE(actions.ShutdownSystem(12));
    EXPECT_EQ(power.calls, With("PowerOff", "ExitSession 12 4294967295"));

    for (const int flags : {0, 31}) {
        power.calls.clear();
        EXPECT_TRUE(actions.ShutdownSystem(flags));
        EXPECT_EQ(power.calls.back(), "ExitSession " + std::to_string(flags) + " 4294967295");
    }
}

TEST(ExitActionOfFlags, NamesOneActionWhateverTheForceBits) {
    EXPECT_EQ(ExitAction(0), PowerAction::LogOff);
    EXPECT_EQ(ExitAction(4), PowerAction::LogOff);
    EXPECT_EQ(ExitAction(1), PowerAction::Shutdown);
    EXPECT_EQ(ExitAction(5), PowerAction::Shutdown);
    EXPECT_EQ(ExitAction(2), PowerAction::Reboot);
    EXPECT_EQ(ExitAction(6), PowerAction::Reboot);
    EXPECT_EQ(ExitAction(8), PowerAction::PowerOff);
    EXPECT_EQ(ExitAction(12 | 16), PowerAction::PowerOff);
    for (const std::uint32_t both : {3u, 9u, 10u, 11u, 31u}) {
        EXPECT_EQ(ExitAction(both), PowerAction::Unknown) << both;
    }
}

TEST_F(ShutdownTest, PreparesTheActionBeforeItsPrivilege) {
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {0, "LogOff"}, {4, "LogOff"}, {1, "Shutdown"}, {5, "Shutdown"},
        {2, "Reboot"}, {6, "Reboot"}, {8, "PowerOff"}, {3, "Unknown"}};
    for (const auto& [flags, action] : cases) {
        power.calls.clear();
        actions.ShutdownSystem(flags);
        EXPECT_EQ(power.calls,
                  With(action, "ExitSession " + std::to_string(flags) + " 4294967295"));
    }
    // The privilege alone is the one to power off.
    power.calls.clear();
    EXPECT_TRUE(actions.EnableShutdownPrivilege());
    std::vector<std::string> alone = With("PowerOff", "");
    alone.pop_back();
    EXPECT_EQ(power.calls, alone);
}

TEST_F(ShutdownTest, RejectsFlagsOutsideTheRangeBeforeAnyPrivilege) {
    for (const int flags : {32, -1}) {
        const SystemError e = Raised([&] { actions.ShutdownSystem(flags); });
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Fu));
        EXPECT_EQ(e.Source(), "Vespar.mShutDown");
        EXPECT_EQ(e.Description(), "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
    }
    EXPECT_TRUE(power.calls.empty());
}

TEST_F(ShutdownTest, EachPrivilegeStepRaisesItsOwnError) {
    power.lookupOk = false;
    SystemError e = Raised([&] { actions.ShutdownSystem(8); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Cu));
    EXPECT_EQ(e.Description(),
              "Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. "
              "[Access is denied.\r\n]");

    power.lookupOk = true;
    power.processOk = false;
    e = Raised([&] { actions.EnableShutdownPrivilege(); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Du));
    EXPECT_EQ(e.Description(),
              "Can't enable shutdown: Can't determine the current process. "
              "[Access is denied.\r\n]");

    power.processOk = true;
    power.tokenOk = false;
    power.lastError = 1314;
    power.calls.clear();
    e = Raised([&] { actions.ShutdownSystem(8); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Eu));
    EXPECT_EQ(e.Description(),
              "Can't enable shutdown: You do not have the privileges to shutdown this system. "
              "[Access is denied.\r\n]");
    EXPECT_EQ(e.Source(), "Vespar.mShutDown");
    // The text is that of the error code read right after the failing call.
    EXPECT_EQ(power.calls,
              (std::vector<std::string>{"Prepare PowerOff", "LookupPrivilege SeShutdownPrivilege",
                                        "CurrentProcess", "OpenToken 40", "LastErrorCode",
                                        "MessageText 1314"}));

    power.tokenOk = true;
    power.adjustOk = false;
    power.calls.clear();
    e = Raised([&] { actions.ShutdownSystem(8); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Eu));
    EXPECT_EQ(power.calls.back(), "CloseToken");  // no handle left open
}

TEST_F(ShutdownTest, RefusedRequestAndMissingSystemText) {
    power.exitOk = false;
    power.messageText = "";
    SystemError e = Raised([&] { actions.ShutdownSystem(1); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Bu));
    EXPECT_EQ(e.Description(), "ShutdownSystem failed: ");
    EXPECT_EQ(actions.SystemErrorText(5), "");

    power.tokenOk = false;
    e = Raised([&] { actions.ShutdownSystem(1); });
    EXPECT_EQ(e.Description(),
              "Can't enable shutdown: You do not have the privileges to shutdown this system. []");
}

TEST_F(ShutdownTest, SuspendIsReportedDoneWhateverTheSystemSays) {
    power.suspendOk = false;
    EXPECT_TRUE(actions.HibernateSystem());
    EXPECT_EQ(power.calls, With("Hibernate", "Suspend 110"));
    power.calls.clear();
    EXPECT_TRUE(actions.StandbySystem());
    EXPECT_EQ(power.calls, With("Standby", "Suspend 010"));

    // A privilege failure still raises, and nothing is suspended.
    power.lookupOk = false;
    power.calls.clear();
    const SystemError e = Raised([&] { actions.HibernateSystem(); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Cu));
    for (const auto& c : power.calls) EXPECT_NE(c.rfind("Suspend", 0), 0u) << c;
}

}  // namespace
}  // namespace vespar
