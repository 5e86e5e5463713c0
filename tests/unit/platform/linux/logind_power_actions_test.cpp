#include "platform/linux/logind_power_actions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "fakes/raised.h"
#include "fakes/scoped_env.h"
#include "system/shutdown.h"
#include "test_servers.h"

// Every test here talks to a logind mock on a private bus of its own; none ever reaches this
// machine's system bus.
namespace vespar::linux_platform {
namespace {

using vespar::test::Raised;

// The mock's sleep calls announce no sleep: waiting for one is cut short.
constexpr SleepWait kNoSleepComing{std::chrono::milliseconds(200), std::chrono::seconds(10)};
constexpr std::int32_t kNoPrivileges = static_cast<std::int32_t>(0x8004062Eu);
constexpr std::int32_t kNoPrivilegeValue = static_cast<std::int32_t>(0x8004062Cu);

// A method body that refuses the call with the D-Bus error org.freedesktop.`error`.
std::string Refuse(const std::string& error, const std::string& text) {
    return "raise dbus.exceptions.DBusException('" + text + "', name='org.freedesktop." + error +
           "')";
}

struct LogindTest : ::testing::Test {
    test::PrivateBus bus;
    std::optional<test::Dbusmock> logind;
    LogindPowerActions power{bus.Address(), kNoSleepComing};
    ShutdownActions actions{power, "vespar"};

    void StartLogind(const std::string& parameters = "{}") {
        logind.emplace(bus, "org.freedesktop.login1",
                       std::vector<std::string>{"-t", "logind", "-p", parameters});
        // The template lacks logind's halt calls.
        Add("Halt", "b", "", "");
        Add("CanHalt", "", "s", "ret = 'yes'");
    }
    void Add(const std::string& method, const char* in, const char* out, const std::string& code) {
        logind->Call("/org/freedesktop/login1", "org.freedesktop.DBus.Mock", "AddMethod",
                     {"sssss", "org.freedesktop.login1.Manager", method, in, out, code});
    }
    // Inhibitor locks as ListInhibitors gives them: what, who, why, mode.
    void Inhibitors(const std::string& list) {
        Add("ListInhibitors", "", "a(ssssuu)", "ret = [(*i, 1000, 42) for i in [" + list + "]]");
    }
    // One request: the calls the mock took for it, then "done", "refused" or the text of the
    // error raised, which stays in `error`.
    std::string Outcome(const std::function<bool()>& request) {
        logind->Calls();
        std::string result;
        try {
            result = request() ? "done" : "refused";
        } catch (const SystemError& e) {
            result = (error = e).Description();
        }
        return logind->Calls() + " -> " + result;
    }
    std::string Shutdown(std::int32_t flags) {
        return Outcome([&] { return actions.ShutdownSystem(flags); });
    }
    SystemError error{0, "", ""};
};

TEST_F(LogindTest, EachActionReachesItsLogindCall) {
    // Each request and its calls; unforced ones look at the inhibitors first. A logind
    // without the *WithFlags calls (as the template is) gets the plain ones, never interactive
    // ("False"); a newer one is told 1 (even root is held by inhibitors) or 16 (skip them).
    StartLogind();
    const std::tuple<std::function<bool()>, std::string, std::string> requests[] = {
        {[&] { return actions.ShutdownSystem(8); }, "CanPowerOff; ListInhibitors; PowerOff", "1"},
        {[&] { return actions.ShutdownSystem(12); }, "CanPowerOff; PowerOff", "16"},
        {[&] { return actions.ShutdownSystem(2); }, "CanReboot; ListInhibitors; Reboot", "1"},
        {[&] { return actions.ShutdownSystem(6); }, "CanReboot; Reboot", "16"},
        {[&] { return actions.ShutdownSystem(1); }, "CanHalt; ListInhibitors; Halt", "1"},
        {[&] { return actions.HibernateSystem(); }, "CanHibernate; ListInhibitors; Hibernate", "1"},
        {[&] { return actions.StandbySystem(); }, "CanSuspend; ListInhibitors; Suspend", "1"}};
    for (const bool withFlags : {false, true}) {
        for (const auto& [request, calls, flags] : requests)
            EXPECT_EQ(Outcome(request),
                      calls + (withFlags ? "WithFlags " + flags : " False") + " -> done");
        for (const char* method : {"PowerOff", "Reboot", "Halt", "Suspend", "Hibernate"})
            Add(std::string(method) + "WithFlags", "t", "", "");
    }
    // Flags naming two actions reach no call.
    EXPECT_EQ(Shutdown(3), " -> ShutdownSystem failed: Invalid argument");

    // A logind that refuses the skip flag as unknown: asked again without flags.
    Add("PowerOffWithFlags", "t", "",
        "if args[0] & 16: " + Refuse("DBus.Error.InvalidArgs", "Invalid flags parameter"));
    EXPECT_EQ(Shutdown(12), "CanPowerOff; PowerOffWithFlags 16; PowerOffWithFlags 0 -> done");
    EXPECT_EQ(Shutdown(8), "CanPowerOff; ListInhibitors; PowerOffWithFlags 1 -> done");

    // Any other refusal of the action is the action's failure, with logind's text: no retry.
    Add("RebootWithFlags", "t", "",
        Refuse("DBus.Error.InteractiveAuthorizationRequired",
               "Interactive authentication required."));
    EXPECT_EQ(Shutdown(6),
              "CanReboot; RebootWithFlags 16 -> ShutdownSystem failed: Interactive authentication "
              "required.");
}

TEST_F(LogindTest, UnreachableOrRefusingLogindRaisesTheLookupOrPrivilegeError) {
    // A bus on which nobody serves logind.
    SystemError e = Raised([&] { actions.ShutdownSystem(8); });
    EXPECT_EQ(e.Number(), kNoPrivilegeValue);
    EXPECT_NE(e.Description().find("org.freedesktop.login1"), std::string::npos);

    // No bus at all: the system's error for the failed connection.
    LogindPowerActions nowhere("unix:path=" + bus.Path("none").string(), kNoSleepComing);
    EXPECT_FALSE(nowhere.LookupPrivilege("SeShutdownPrivilege"));
    EXPECT_EQ(nowhere.LastErrorCode(), static_cast<std::uint32_t>(ENOENT));

    // A logind that comes up later is found by the next action, and its refusal raises the
    // missing privilege.
    StartLogind(R"({"CanPowerOff": "no", "CanHibernate": "na", "CanReboot": "challenge"})");
    const std::string refused = Shutdown(12);
    EXPECT_TRUE(refused.starts_with("CanPowerOff -> ") &&
                refused.ends_with("[logind does not allow PowerOff: CanPowerOff answers \"no\"]"))
        << refused;
    EXPECT_EQ(error.Number(), kNoPrivileges);

    // A computer without hibernation: refused, no error, the reason kept for the log.
    EXPECT_EQ(Outcome([&] { return actions.HibernateSystem(); }), "CanHibernate -> refused");
    EXPECT_TRUE(actions.Refusal().ends_with("CanHibernate answers \"na\"]"));

    // "challenge" is for logind to settle with the user: the call is made.
    EXPECT_EQ(Shutdown(2), "CanReboot; ListInhibitors; Reboot False -> done");
}

TEST_F(LogindTest, BlockInhibitorsStopOnlyUnforcedActionsOfTheirKindAndSleepsWakeUp) {
    StartLogind();
    Inhibitors(
        "('shutdown', 'backup', 'Nightly backup', 'block'), ('sleep', 'player', 'Playing', "
        "'block'), ('shutdown:idle', 'editor', 'Saving', 'delay')");
    EXPECT_EQ(Shutdown(8),
              "CanPowerOff; ListInhibitors -> ShutdownSystem failed: Power off blocked by backup: "
              "Nightly backup");
    // Forced, the inhibitors are logind's to weigh.
    EXPECT_EQ(Shutdown(12), "CanPowerOff; PowerOff False -> done");

    // A sleep is refused too, with the reason.
    EXPECT_EQ(Outcome([&] { return actions.StandbySystem(); }),
              "CanSuspend; ListInhibitors -> refused");
    EXPECT_EQ(actions.Refusal(), "Standby failed: Standby blocked by player: Playing");
    EXPECT_EQ(power.LastErrorCode(), static_cast<std::uint32_t>(EBUSY));

    // Weak blocks hold too; a block of another kind does not.
    Inhibitors("('sleep', 'player', 'Playing', 'block')");
    EXPECT_EQ(Shutdown(8), "CanPowerOff; ListInhibitors; PowerOff False -> done");
    Inhibitors("('idle:shutdown', 'sync', 'Syncing', 'block-weak')");
    EXPECT_EQ(
        Shutdown(2),
        "CanReboot; ListInhibitors -> ShutdownSystem failed: Reboot blocked by sync: Syncing");

    // Without a block, a sleep returns after the wake-up, which comes 300 ms after the sleep,
    // noted in the log as "Woken" just before.
    Add("Suspend", "b", "",
        "from gi.repository import GLib\n"
        "self.EmitSignal('', 'PrepareForSleep', 'b', [True])\n"
        "GLib.timeout_add(300, lambda s=self: s.log('Woken') or "
        "s.EmitSignal('', 'PrepareForSleep', 'b', [False]))");
    LogindPowerActions sleeper(bus.Address(), {std::chrono::seconds(20), std::chrono::seconds(20)});
    ShutdownActions sleeping(sleeper, "vespar");
    EXPECT_EQ(Outcome([&] { return sleeping.StandbySystem(); }),
              "CanSuspend; ListInhibitors; Suspend False; Woken -> done");
}

TEST_F(LogindTest, LogOffEndsTheOwnSession) {
    StartLogind();
    const std::string bySession = "GetSessionByPID " + std::to_string(getpid());
    Add("GetSessionByPID", "u", "o", Refuse("login1.NoSessionForPID", "PID is not in any session"));
    // No session for this process and none in the environment.
    const test::ScopedEnv session("XDG_SESSION_ID", nullptr);
    EXPECT_EQ(Shutdown(0), bySession + " -> ShutdownSystem failed: PID is not in any session");
    // Started outside the session's processes: the session named in the environment (which
    // `session` puts back).
    setenv("XDG_SESSION_ID", "c9", 1);
    EXPECT_EQ(Shutdown(4), bySession + "; TerminateSession \"c9\" -> done");

    // The session logind finds for the process comes first.
    logind->Call("/org/freedesktop/login1", "org.freedesktop.DBus.Mock", "AddSession",
                 {"ssusb", "c7", "seat0", std::to_string(getuid()), "tester", "1"});
    Add("GetSessionByPID", "u", "o", "ret = '/org/freedesktop/login1/session/c7'");
    EXPECT_EQ(Shutdown(0), bySession + "; TerminateSession \"c7\" -> done");

    Add("TerminateSession", "s", "", Refuse("DBus.Error.AccessDenied", "Permission denied"));
    EXPECT_EQ(Shutdown(0),
              bySession + "; TerminateSession \"c7\" -> ShutdownSystem failed: Permission denied");
    EXPECT_EQ(power.LastErrorCode(), static_cast<std::uint32_t>(EACCES));
}

}  // namespace
}  // namespace vespar::linux_platform
