#include "platform/linux/dbus_idle_input_source.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <tuple>

#include "platform/linux/idle_time_taps.h"
#include "platform/linux/input_source_factory.h"
#include "sensors/input_change.h"
#include "test_servers.h"
#include "unit/core/input_checks.h"

// The desktop's idle services are python-dbusmock objects on private buses of the tests' own.
namespace vespar::linux_platform {
namespace {

using namespace std::chrono_literals;

// One idle service: `path` answers `method` with the idle time in milliseconds (as `type`)
// once told it.
struct MockIdleService : test::Dbusmock {
    MockIdleService(const test::PrivateBus& bus, const std::string& name, const char* path,
                    const char* method, const char* type)
        : Dbusmock(bus, name, {path, name}), path(path), method(method), type(type) {}
    void Idle(std::chrono::milliseconds idle) {
        Call(path, "org.freedesktop.DBus.Mock", "AddMethod",
             {"sssss", "", method, "", type, "ret = " + std::to_string(idle.count())});
    }
    const char *path, *method, *type;
};

TEST(IdleTimeTaps, InputSinceThePreviousSweepBecomesAlternatingTapCodes) {
    IdleTimeTaps taps;
    const IdleTimeTaps::Clock::time_point t0{};
    // The first sweep has nothing to compare with.
    EXPECT_EQ(taps.Sweep(0ms, t0, false), 0);
    // Idle for longer than the second since: nothing happened in between.
    EXPECT_EQ(taps.Sweep(5000ms, t0 + 1s, false), 0);
    // Input at every sweep: 3 and 7 by turns, so that the key list changes every time.
    EXPECT_EQ(taps.Sweep(200ms, t0 + 2s, false), 3);
    EXPECT_EQ(taps.Sweep(200ms, t0 + 3s, false), 7);
    EXPECT_EQ(taps.Sweep(200ms, t0 + 4s, false), 3);

    // Input the sweep's own readings account for is not reported again.
    EXPECT_EQ(taps.Sweep(10ms, t0 + 5s, true), 0);
    EXPECT_EQ(taps.Sweep(10ms, t0 + 6s, false), 7);

    // At the edge: input within the idle time's millisecond after the previous sweep is
    // taken as made before it, since truncation can make it look later; later counts.
    EXPECT_EQ(taps.Sweep(999ms, t0 + 7s, false), 0);
    EXPECT_EQ(taps.Sweep(998ms, t0 + 8s, false), 3);

    // After a failed read the next sweep only takes its reference.
    taps.Forget();
    EXPECT_EQ(taps.Sweep(0ms, t0 + 9s, false), 0);
    EXPECT_EQ(taps.Sweep(0ms, t0 + 10s, false), 7);
}

TEST(InputSourceFactory, WithoutAnXServerTakesTheDesktopsIdleServicesInTurn) {
    // Private buses only: nothing here may reach this machine's real buses.
    test::PrivateBus session, system;
    InputSourceOptions options{":64999", false, session.Address(), system.Address()};
    std::unique_ptr<InputSource> source;
    DbusIdleInputSource* idleSource = nullptr;
    auto Chosen = [&] {
        source = OpenInputSource(options);
        idleSource = dynamic_cast<DbusIdleInputSource*>(source.get());
        return idleSource ? std::optional<IdleService>(idleSource->Service()) : std::nullopt;
    };
    // Neither display nor idle service (nobody there, or services that refuse): a source
    // that says so.
    EXPECT_EQ(Chosen(), std::nullopt);
    MockIdleService mutter(session, "org.gnome.Mutter.IdleMonitor",
                           "/org/gnome/Mutter/IdleMonitor/Core", "GetIdletime", "t");
    MockIdleService screenSaver(session, "org.freedesktop.ScreenSaver",
                                "/org/freedesktop/ScreenSaver", "GetSessionIdleTime", "u");
    // logind answers once this user has a session, with the idle hint the desktop set there,
    // dated on the monotonic clock.
    test::Dbusmock logind(system, "org.freedesktop.login1", {"-t", "logind"});
    const auto hint = [&](bool idle, std::chrono::seconds fromNow) {
        const auto since = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now().time_since_epoch() + fromNow);
        for (const auto& [name, type, value] :
             {std::tuple("IdleHint", "b", std::string(idle ? "1" : "0")),
              std::tuple("IdleSinceHintMonotonic", "t", std::to_string(since.count()))})
            logind.Call("/org/freedesktop/login1/session/auto", "org.freedesktop.DBus.Properties",
                        "Set", {"ssv", "org.freedesktop.login1.Session", name, type, value});
    };
    EXPECT_EQ(Chosen(), std::nullopt);
    EXPECT_FALSE(source->Readable());

    // Each in turn, with the idle time it gives. logind's idle hint counts as in use until
    // the desktop sets it, even with an old idle time; then the idle time runs from the hint,
    // which is no reason to call anybody idle when dated in the future.
    logind.Call("/org/freedesktop/login1", "org.freedesktop.DBus.Mock", "AddSession",
                {"ssusb", "auto", "seat0", "1000", "user", "1"});
    EXPECT_EQ(Chosen(), IdleService::kLogind);
    hint(false, -60s);
    EXPECT_EQ(idleSource->ReadIdle(), 0ms);
    hint(true, -60s);
    const auto hinted = idleSource->ReadIdle().value_or(0ms);
    EXPECT_TRUE(hinted >= 60s && hinted < 70s) << hinted.count();
    hint(true, 60s);
    EXPECT_EQ(idleSource->ReadIdle(), 0ms);
    screenSaver.Idle(20ms);
    EXPECT_EQ(Chosen(), IdleService::kScreenSaver);
    EXPECT_EQ(idleSource->ReadIdle(), 20ms);
    mutter.Idle(10min);
    EXPECT_EQ(Chosen(), IdleService::kMutter);
    EXPECT_EQ(idleSource->ReadIdle(), 10min);
    std::int32_t x = 0, y = 0;
    EXPECT_FALSE(source->CursorPos(x, y));  // no position, no key state: only taps
    options.wayland = true;
    EXPECT_EQ(Chosen(), IdleService::kMutter);
    InputChangeDetector idle(*source);
    idle.InDataReset();
    EXPECT_FALSE(idle.InDataChanged());
    std::this_thread::sleep_for(100ms);  // well clear of the last check's millisecond
    mutter.Idle(0ms);                    // input since the last check
    EXPECT_TRUE(idle.InDataChanged() && idle.KeysChanged());

    // A hung desktop: the call times out, and the check counts as activity, never as idle.
    mutter.Pause();
    vespar::test::ExpectUnreadableIsActivity(idle, 1);
    EXPECT_FALSE(source->Readable());

    // No bus at all.
    options.sessionBus = options.systemBus = "unix:path=/nonexistent/vespar-bus";
    EXPECT_EQ(Chosen(), std::nullopt);
}

}  // namespace
}  // namespace vespar::linux_platform
