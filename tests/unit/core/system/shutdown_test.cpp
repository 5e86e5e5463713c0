#include "system/shutdown.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fakes/fake_power.h"
#include "fakes/raised.h"

namespace vespar {
namespace {

using test::FakePowerActions;
using test::Raised;
using Calls = std::vector<std::string>;

const std::string kCannot = "Can't enable shutdown: ";
const std::string kNoPrivileges =
    kCannot + "You do not have the privileges to shutdown this system. [Access is denied.\r\n]";

struct ShutdownTest : ::testing::Test {
    FakePowerActions power;
    ShutdownActions actions{power, "Vespar"};

    // The calls for the prepared action: the privilege steps, then the last call if any.
    static Calls With(const std::string& action, const std::string& last) {
        Calls calls{"Prepare " + action, "LookupPrivilege SeShutdownPrivilege",
                    "CurrentProcess",    "OpenToken 40",
                    "AdjustPrivileges",  "CloseToken"};
        if (!last.empty()) calls.push_back(last);
        return calls;
    }
};

TEST_F(ShutdownTest, PreparesTheActionAndEnablesThePrivilegeBeforeAskingTheSystem) {
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {0, "LogOff"},   {4, "LogOff"},   {1, "Shutdown"},  {5, "Shutdown"}, {2, "Reboot"},
        {6, "Reboot"},   {8, "PowerOff"}, {28, "PowerOff"}, {3, "Unknown"},  {9, "Unknown"},
        {10, "Unknown"}, {11, "Unknown"}, {31, "Unknown"}};
    for (const auto& [flags, action] : cases) {
        power.calls.clear();
        EXPECT_TRUE(actions.ShutdownSystem(flags));
        EXPECT_EQ(power.calls,
                  With(action, "ExitSession " + std::to_string(flags) + " 4294967295"));
    }
    // The privilege alone is the one to power off.
    power.calls.clear();
    EXPECT_TRUE(actions.EnableShutdownPrivilege());
    EXPECT_EQ(power.calls, With("PowerOff", ""));
}

TEST_F(ShutdownTest, FlagsOutsideTheRangeAndEachFailingStepRaiseTheirOwnError) {
    // Flags outside the range, before any privilege is asked for.
    for (const int flags : {32, -1}) {
        const SystemError e = Raised([&] { actions.ShutdownSystem(flags); });
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Fu));
        EXPECT_EQ(e.Source(), "Vespar.mShutDown");
        EXPECT_EQ(e.Description(), "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
    }
    EXPECT_TRUE(power.calls.empty());

    // The step that fails, the error's number and description, and how many calls of the
    // successful call list are made, up to the failing one.
    const std::tuple<bool FakePowerActions::*, std::uint32_t, std::string, std::size_t> steps[] = {
        {&FakePowerActions::lookupOk, 0x8004062Cu,
         kCannot + "Can't find the SE_SHUTDOWN_NAME privilege value. [Access is denied.\r\n]", 2},
        {&FakePowerActions::processOk, 0x8004062Du,
         kCannot + "Can't determine the current process. [Access is denied.\r\n]", 3},
        {&FakePowerActions::tokenOk, 0x8004062Eu, kNoPrivileges, 4},
        {&FakePowerActions::adjustOk, 0x8004062Eu, kNoPrivileges, 5},
        {&FakePowerActions::exitOk, 0x8004062Bu, "ShutdownSystem failed: Access is denied.\r\n", 7},
    };
    for (const auto& [ok, number, description, made] : steps) {
        SCOPED_TRACE(number);
        FakePowerActions failing;
        failing.*ok = false;
        ShutdownActions failingActions{failing, "Vespar"};
        const SystemError e = Raised([&] { failingActions.ShutdownSystem(8); });
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(number));
        EXPECT_EQ(e.Source(), "Vespar.mShutDown");
        EXPECT_EQ(e.Description(), description);
        // The text is that of the error code read right after the failing call; nothing more
        // is asked of the system, and no handle is left open.
        Calls calls = With("PowerOff", "ExitSession 8 4294967295");
        calls.resize(made);
        calls.insert(calls.end(), {"LastErrorCode", "MessageText 5"});
        if (ok == &FakePowerActions::adjustOk) calls.push_back("CloseToken");
        EXPECT_EQ(failing.calls, calls);
    }
}

TEST_F(ShutdownTest, ARefusedSleepIsNoErrorAndTellsWhy) {
    power.suspendOk = false;
    power.lastError = 1314;
    EXPECT_FALSE(actions.StandbySystem());
    EXPECT_EQ(power.calls.front(), "Prepare Standby");
    EXPECT_EQ(power.calls.back(), "MessageText 1314");
    EXPECT_EQ(actions.Refusal(), "Standby failed: Access is denied.\r\n");

    power.calls.clear();
    power.suspendOk = true;
    EXPECT_TRUE(actions.HibernateSystem());
    EXPECT_EQ(power.calls, With("Hibernate", "Suspend 110"));
    EXPECT_EQ(actions.Refusal(), "");

    // Not allowed at all: the system is not asked.
    power.tokenOk = false;
    EXPECT_FALSE(actions.HibernateSystem());
    EXPECT_EQ(actions.Refusal(), kNoPrivileges);
    EXPECT_EQ(power.calls.back(), "MessageText 1314");
}

}  // namespace
}  // namespace vespar
