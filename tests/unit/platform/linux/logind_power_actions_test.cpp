#include "platform/linux/logind_power_actions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/raised.h"
#include "fakes/scoped_env.h"
#include "logind_mock.h"
#include "system/shutdown.h"

// Every test here talks to a logind mock on a private bus of its own; none ever reaches this
// machine's system bus.
namespace vespar::linux_platform {
namespace {

using Calls = std::vector<std::string>;
using test::MockLogind;
using test::PrivateBus;

// The mock's sleep calls announce no sleep: waiting for one is cut short.
constexpr SleepWait kNoSleepComing{std::chrono::milliseconds(200), std::chrono::seconds(10)};

constexpr char kNoPrivileges[] =
    "Can't enable shutdown: You do not have the privileges to shutdown this system. [";
constexpr char kNoPrivilegeValue[] =
    "Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. [";

using vespar::test::Raised;
using vespar::test::ScopedEnv;

struct LogindTest : ::testing::Test {
    PrivateBus bus;
    std::optional<MockLogind> logind;
    LogindPowerActions power{bus.Address(), kNoSleepComing};
    ShutdownActions actions{power, "vespar"};

    void StartLogind(const std::string& parameters = "") {
        logind.emplace(bus, parameters);
        // The template lacks logind's halt calls.
        logind->AddMethod("Halt", "b", "", "");
        logind->AddMethod("CanHalt", "", "s", "ret = 'yes'");
        logind->ClearCalls();
    }
    // The calls the mock received for one request, starting afresh, joined by blanks.
    std::string CallsOf(const std::function<void()>& request) {
        logind->ClearCalls();
        request();
        std::string text;
        for (const auto& call : logind->Calls()) text += (text.empty() ? "" : " ") + call;
        return text;
    }
    void ExpectExit(std::int32_t flags, const std::string& expected) {
        SCOPED_TRACE(flags);
        EXPECT_EQ(CallsOf([&] { EXPECT_TRUE(actions.ShutdownSystem(flags)); }), expected);
    }
    // The error a request raises after exactly the expected calls reached the mock.
    SystemError RaisedAfter(const std::function<void()>& request, const std::string& expected) {
        SystemError e{0, "", ""};
        EXPECT_EQ(CallsOf([&] { e = Raised(request); }), expected);
        return e;
    }
};

TEST_F(LogindTest, EachActionReachesItsLogindCall) {
    // A logind without the *WithFlags calls (as the template is): the plain calls, never
    // interactive; unforced ones after a look at the inhibitors.
    StartLogind();

    ExpectExit(8, "CanPowerOff() ListInhibitors() PowerOff(false)");
    ExpectExit(12, "CanPowerOff() PowerOff(false)");
    ExpectExit(2, "CanReboot() ListInhibitors() Reboot(false)");
    ExpectExit(1, "CanHalt() ListInhibitors() Halt(false)");

    EXPECT_EQ(CallsOf([&] { EXPECT_TRUE(actions.HibernateSystem()); }),
              "CanHibernate() ListInhibitors() Hibernate(false)");
    EXPECT_EQ(CallsOf([&] { EXPECT_TRUE(actions.StandbySystem()); }),
              "CanSuspend() ListInhibitors() Suspend(false)");
    // The privilege alone is the one to power off.
    EXPECT_EQ(CallsOf([&] { EXPECT_TRUE(actions.EnableShutdownPrivilege()); }), "CanPowerOff()");
}

TEST_F(LogindTest, NewerLogindIsToldWhetherToSkipInhibitors) {
    StartLogind();
    for (const char* method : {"PowerOff", "Reboot", "Halt", "Suspend", "Hibernate"})
        logind->AddMethod(std::string(method) + "WithFlags", "t", "", "");

    // 1: even root is held by inhibitors; 16: inhibitors skipped.
    ExpectExit(8, "CanPowerOff() ListInhibitors() PowerOffWithFlags(1)");
    ExpectExit(12, "CanPowerOff() PowerOffWithFlags(16)");
    ExpectExit(6, "CanReboot() RebootWithFlags(16)");
    ExpectExit(1, "CanHalt() ListInhibitors() HaltWithFlags(1)");
    EXPECT_EQ(CallsOf([&] { actions.HibernateSystem(); }),
              "CanHibernate() ListInhibitors() HibernateWithFlags(1)");
    EXPECT_EQ(CallsOf([&] { actions.StandbySystem(); }),
              "CanSuspend() ListInhibitors() SuspendWithFlags(1)");

    // A logind that refuses the skip flag as unknown: asked again without flags.
    logind->AddMethod("PowerOffWithFlags", "t", "",
                      "if args[0] & 16: raise dbus.exceptions.DBusException('Invalid flags "
                      "parameter', name='org.freedesktop.DBus.Error.InvalidArgs')");
    ExpectExit(12, "CanPowerOff() PowerOffWithFlags(16) PowerOffWithFlags(0)");
    ExpectExit(8, "CanPowerOff() ListInhibitors() PowerOffWithFlags(1)");

    // Any other refusal of the action is the action's failure, with logind's text.
    logind->AddMethod(
        "RebootWithFlags", "t", "",
        "raise dbus.exceptions.DBusException('Interactive authentication "
        "required.', name='org.freedesktop.DBus.Error.InteractiveAuthorizationRequired')");
    const SystemError e = Raised([&] { actions.ShutdownSystem(6); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Bu));
    EXPECT_EQ(e.Description(), "ShutdownSystem failed: Interactive authentication required.");
}

TEST_F(LogindTest, RefusalRaisesTheNoPrivilegesError) {
    StartLogind(R"({"CanPowerOff": "no", "CanHibernate": "na", "CanReboot": "challenge"})");

    for (const std::int32_t flags : {8, 12}) {
        SCOPED_TRACE(flags);
        const SystemError e = RaisedAfter([&] { actions.ShutdownSystem(flags); },
                                          "CanPowerOff()");  // nothing after the refusal
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Eu));
        EXPECT_EQ(e.Source(), "vespar.mShutDown");
        EXPECT_EQ(e.Description(), std::string(kNoPrivileges) +
                                       "logind does not allow PowerOff: CanPowerOff answers "
                                       "\"no\"]");
    }
    EXPECT_EQ(Raised([&] { actions.EnableShutdownPrivilege(); }).Number(),
              static_cast<std::int32_t>(0x8004062Eu));

    // A computer without hibernation: refused, no error, the reason kept for the log.
    EXPECT_EQ(CallsOf([&] { EXPECT_FALSE(actions.HibernateSystem()); }), "CanHibernate()");
    EXPECT_EQ(actions.Refusal(),
              std::string(kNoPrivileges) +
                  "logind does not allow Hibernate: CanHibernate answers \"na\"]");

    // "challenge" is for logind to settle with the user: the call is made.
    ExpectExit(2, "CanReboot() ListInhibitors() Reboot(false)");
}

TEST_F(LogindTest, UnreachableLogindRaisesTheLookupError) {
    // A bus on which nobody serves logind.
    SystemError e = Raised([&] { actions.ShutdownSystem(8); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Cu));
    EXPECT_EQ(e.Source(), "vespar.mShutDown");
    const std::string& text = e.Description();
    EXPECT_EQ(text.rfind(kNoPrivilegeValue, 0), 0u) << text;
    EXPECT_NE(text.find("org.freedesktop.login1"), std::string::npos) << text;
    EXPECT_EQ(text.back(), ']');
    EXPECT_FALSE(actions.StandbySystem());
    EXPECT_EQ(actions.Refusal().rfind(kNoPrivilegeValue, 0), 0u) << actions.Refusal();

    // No bus at all: the system's text for the failed connection.
    LogindPowerActions nowhere("unix:path=" + (bus.Folder() / "none").string(), kNoSleepComing);
    ShutdownActions lost(nowhere, "vespar");
    e = Raised([&] { lost.ShutdownSystem(12); });
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Cu));
    EXPECT_EQ(e.Description(), std::string(kNoPrivilegeValue) + "No such file or directory]");
    EXPECT_EQ(nowhere.LastErrorCode(), static_cast<std::uint32_t>(ENOENT));

    // A logind that comes up later is found by the next action.
    StartLogind();
    ExpectExit(12, "CanPowerOff() PowerOff(false)");
}

TEST_F(LogindTest, BlockInhibitorsStopOnlyUnforcedActionsOfTheirKind) {
    StartLogind();
    const auto backup = logind->Inhibit("shutdown", "backup", "Nightly backup", "block");
    const auto player = logind->Inhibit("sleep", "player", "Playing", "block");
    const auto editor = logind->Inhibit("shutdown:idle", "editor", "Saving", "delay");

    const SystemError e = RaisedAfter([&] { actions.ShutdownSystem(8); },
                                      "CanPowerOff() ListInhibitors()");  // no PowerOff
    EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Bu));
    EXPECT_EQ(e.Description(),
              "ShutdownSystem failed: Power off blocked by backup: Nightly backup");
    EXPECT_EQ(Raised([&] { actions.ShutdownSystem(1); }).Description(),
              "ShutdownSystem failed: Shutdown blocked by backup: Nightly backup");
    // Forced, the inhibitors are logind's to weigh.
    ExpectExit(12, "CanPowerOff() PowerOff(false)");

    // A sleep is refused too, with the reason.
    EXPECT_EQ(CallsOf([&] { EXPECT_FALSE(actions.StandbySystem()); }),
              "CanSuspend() ListInhibitors()");
    EXPECT_EQ(actions.Refusal(), "Standby failed: Standby blocked by player: Playing");
    EXPECT_EQ(power.LastErrorCode(), static_cast<std::uint32_t>(EBUSY));
    EXPECT_EQ(power.MessageText(power.LastErrorCode()), "Standby blocked by player: Playing");
}

TEST_F(LogindTest, WeakBlocksAndOtherKindsOfBlock) {
    StartLogind();
    const auto player = logind->Inhibit("sleep", "player", "Playing", "block");
    ExpectExit(8, "CanPowerOff() ListInhibitors() PowerOff(false)");
    const auto sync = logind->Inhibit("idle:shutdown", "sync", "Syncing", "block-weak");
    EXPECT_EQ(Raised([&] { actions.ShutdownSystem(2); }).Description(),
              "ShutdownSystem failed: Reboot blocked by sync: Syncing");
}

TEST_F(LogindTest, LogOffEndsTheOwnSession) {
    StartLogind();
    const std::string bySession = "GetSessionByPID(" + std::to_string(getpid()) + ")";
    // No session for this process and none in the environment.
    {
        const ScopedEnv noSession("XDG_SESSION_ID", nullptr);
        logind->AddMethod("GetSessionByPID", "u", "o",
                          "raise dbus.exceptions.DBusException('PID is not in any session', "
                          "name='org.freedesktop.login1.NoSessionForPID')");
        const SystemError e = RaisedAfter([&] { actions.ShutdownSystem(0); }, bySession);
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x8004062Bu));
        EXPECT_EQ(e.Description(), "ShutdownSystem failed: PID is not in any session");
    }

    // Started outside the session's processes: the session named in the environment.
    const ScopedEnv fromSession("XDG_SESSION_ID", "c9");
    EXPECT_EQ(CallsOf([&] { EXPECT_TRUE(actions.ShutdownSystem(4)); }),
              bySession + " TerminateSession(c9)");

    // The session logind finds for the process comes first.
    logind->AddSession("c7", "seat0", getuid(), "tester");
    logind->AddMethod("GetSessionByPID", "u", "o", "ret = '/org/freedesktop/login1/session/c7'");
    EXPECT_EQ(CallsOf([&] { EXPECT_TRUE(actions.ShutdownSystem(0)); }),
              bySession + " TerminateSession(c7)");

    logind->AddMethod("TerminateSession", "s", "",
                      "raise dbus.exceptions.DBusException('Permission denied', "
                      "name='org.freedesktop.DBus.Error.AccessDenied')");
    const SystemError e = Raised([&] { actions.ShutdownSystem(0); });
    EXPECT_EQ(e.Description(), "ShutdownSystem failed: Permission denied");
    EXPECT_EQ(power.LastErrorCode(), static_cast<std::uint32_t>(EACCES));
}

TEST_F(LogindTest, SleepReturnsAfterTheWakeUp) {
    StartLogind();
    logind->AddMethod("Suspend", "b", "", "self.EmitSignal('', 'PrepareForSleep', 'b', [True])");
    LogindPowerActions sleeper(bus.Address(), {std::chrono::seconds(20), std::chrono::seconds(20)});
    ShutdownActions sleeping(sleeper, "vespar");

    std::atomic<bool> wakeSent{false};
    std::thread waker([&] {
        try {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
            while (std::chrono::steady_clock::now() < deadline) {
                const Calls calls = logind->Calls();
                if (!calls.empty() && calls.back() == "Suspend(false)") break;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            // Gives a port that did not wait the time to return first.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            wakeSent = true;
            logind->EmitPrepareForSleep(false);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    });
    EXPECT_TRUE(sleeping.StandbySystem());
    const bool wokenBeforeReturn = wakeSent;
    waker.join();
    EXPECT_TRUE(wokenBeforeReturn);
}

TEST_F(LogindTest, FlagsNamingTwoActionsReachNoCall) {
    StartLogind();
    const SystemError e = RaisedAfter([&] { actions.ShutdownSystem(3); }, "");
    EXPECT_EQ(e.Description(), "ShutdownSystem failed: Invalid argument");
    EXPECT_EQ(power.LastErrorCode(), static_cast<std::uint32_t>(EINVAL));
}

}  // namespace
}  // namespace vespar::linux_platform
