#include "system/shutdown.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_power.h"
#include "fakes/raised.h"

namespace vespar {
namespace {

using test::Raised;

struct ShutdownTest : ::testing::Test {
    test::FakePowerActions power;
    ShutdownActions actions{power, "Vespar"};

    // The calls for the prepared action: the privilege steps, then the last call if any.
    static std::vector<std::string> With(const std::string& action, const std::string& last) {
        std::vector<std::string> calls{"Prepare " + action, "LookupPrivilege SeShutdownPrivilege",
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
    const std::string cant = "Can't enable shutdown: ";
    const std::string privileges =
        cant + "You do not have the privileges to shutdown this system. [Access is denied.\r\n]";
    struct Step {
        bool test::FakePowerActions::*ok;
        std::uint32_t number;
        std::string description;
    };
    const Step steps[] = {
        {&test::FakePowerActions::lookupOk, 0x8004062Cu,
         cant + "Can't find the SE_SHUTDOWN_NAME privilege value. [Access is denied.\r\n]"},
        {&test::FakePowerActions::processOk, 0x8004062Du,
         cant + "Can't determine the current process. [Access is denied.\r\n]"},
        {&test::FakePowerActions::tokenOk, 0x8004062Eu, privileges},
        {&test::FakePowerActions::adjustOk, 0x8004062Eu, privileges},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.number);
        test::FakePowerActions failing;
        failing.*step.ok = false;
        ShutdownActions failingActions{failing, "Vespar"};
        for (const auto& call : std::vector<std::function<void()>>{
                 [&] { failingActions.ShutdownSystem(8); },
                 [&] { failingActions.EnableShutdownPrivilege(); }}) {
            const SystemError e = Raised(call);
            EXPECT_EQ(e.Number(), static_cast<std::int32_t>(step.number));
            EXPECT_EQ(e.Source(), "Vespar.mShutDown");
            EXPECT_EQ(e.Description(), step.description);
        }
        // Nothing is asked of the system, and no handle is left open.
        for (const auto& c : failing.calls)
            EXPECT_TRUE(c.rfind("ExitSession", 0) != 0 && c.rfind("Suspend", 0) != 0) << c;
        if (step.ok == &test::FakePowerActions::adjustOk) {
            EXPECT_EQ(failing.calls.back(), "CloseToken");
        }
    }

    // The text is that of the error code read right after the failing call.
    power.tokenOk = false;
    power.lastError = 1314;
    Raised([&] { actions.ShutdownSystem(8); });
    EXPECT_EQ(power.calls,
              (std::vector<std::string>{"Prepare PowerOff", "LookupPrivilege SeShutdownPrivilege",
                                        "CurrentProcess", "OpenToken 40", "LastErrorCode",
                                        "MessageText 1314"}));
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

TEST_F(ShutdownTest, ARefusedSleepIsNoErrorAndTellsWhy) {
    EXPECT_TRUE(actions.HibernateSystem());
    EXPECT_EQ(power.calls, With("Hibernate", "Suspend 110"));
    EXPECT_EQ(actions.Refusal(), "");

    power.calls.clear();
    power.suspendOk = false;
    EXPECT_FALSE(actions.StandbySystem());
    EXPECT_EQ(power.calls.front(), "Prepare Standby");
    EXPECT_EQ(actions.Refusal(), "Standby failed: Access is denied.\r\n");

    // Not allowed at all: the system is not asked.
    power.calls.clear();
    power.tokenOk = false;
    EXPECT_FALSE(actions.HibernateSystem());
    EXPECT_EQ(actions.Refusal(),
              "Can't enable shutdown: You do not have the privileges to "
              "shutdown this system. [Access is denied.\r\n]");
    for (const auto& c : power.calls) EXPECT_NE(c.rfind("Suspend", 0), 0u) << c;
}

}  // namespace
}  // namespace vespar
