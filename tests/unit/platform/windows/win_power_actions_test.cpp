#include "platform/windows/win_power_actions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "fakes/raised.h"
#include "system/shutdown.h"

namespace vespar::windows_platform {
namespace {

// The real privilege steps around calls that are only recorded: nothing here can switch
// the machine off.
struct WinPowerActionsTest : ::testing::Test {
    std::vector<std::string> calls;
    bool accept = true;
    DWORD refusal = ERROR_ACCESS_DENIED;
    WinPowerActions power{PowerCalls{
        [this](std::uint32_t flags, std::uint32_t reason) {
            calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reason));
            if (!accept) SetLastError(refusal);
            return accept;
        },
        [this](bool hibernate, bool forceCritical, bool disableWakeEvents) {
            calls.push_back("suspend " + std::to_string(hibernate) + std::to_string(forceCritical) +
                            std::to_string(disableWakeEvents));
            return accept;
        }}};
    ShutdownActions actions{power, "vespar"};
};

TEST_F(WinPowerActionsTest, EachActionEnablesThePrivilegeAndMakesItsCallOrRaisesOnRefusal) {
    EXPECT_TRUE(actions.ShutdownSystem(12));
    EXPECT_TRUE(actions.ShutdownSystem(0));
    EXPECT_TRUE(actions.HibernateSystem());
    EXPECT_TRUE(actions.StandbySystem());
    EXPECT_EQ(calls, (std::vector<std::string>{"exit 12 4294967295", "exit 0 4294967295",
                                               "suspend 110", "suspend 010"}));

    // A refused exit raises with the system's text.
    accept = false;
    const std::string text = power.MessageText(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(test::Raised([&] { actions.ShutdownSystem(8); }).Description(),
              "ShutdownSystem failed: " + text);
}

TEST_F(WinPowerActionsTest, PrivilegeLookupAndSystemTexts) {
    EXPECT_TRUE(power.LookupPrivilege("SeShutdownPrivilege"));
    EXPECT_FALSE(power.LookupPrivilege("SeNoSuchPrivilege"));
    EXPECT_EQ(power.LastErrorCode(), static_cast<std::uint32_t>(ERROR_NO_SUCH_PRIVILEGE));
    EXPECT_TRUE(power.HaveCurrentProcess());
    EXPECT_FALSE(power.AdjustPrivileges());  // no token open yet
    EXPECT_TRUE(power.OpenToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY));
    EXPECT_TRUE(power.LookupPrivilege("SeShutdownPrivilege"));
    EXPECT_TRUE(power.AdjustPrivileges());
    power.CloseToken();
    // A code the system has no message for gives empty text, not an error.
    EXPECT_EQ(power.MessageText(0x2000'0001u), "");
}

}  // namespace
}  // namespace vespar::windows_platform
