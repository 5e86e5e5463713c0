#include "platform/linux/dbus_idle_input_source.h"

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "logind_mock.h"
#include "platform/linux/input_source_factory.h"
#include "platform/linux/x11_input_source.h"
#include "sensors/input_change.h"
#include "unit/core/input_checks.h"
#include "xvfb_display.h"

namespace vespar::linux_platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::uint64_t MonotonicUsec() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000 +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000;
}

// Whether input falls before or after a check is told from the idle time and the time between
// checks, both a few milliseconds off when the machine is busy. The tests keep well clear:
// input that must be seen comes this long after the previous check, and a check that must
// see nothing compares against a moment this long after the last input.
void LetTimePass() { std::this_thread::sleep_for(100ms); }

// The desktop's idle services on a private bus, answered from a thread of their own. The
// idle time is the time since Input(); Pause() stops answering, as a hung desktop would.
class MockIdleServices {
  public:
    MockIdleServices(const std::string& address, std::set<IdleService> services,
                     bool failing = false)
        : failing_(failing) {
        sd_bus* raw = nullptr;
        Require(sd_bus_new(&raw));
        bus_.reset(raw);
        Require(sd_bus_set_address(raw, address.c_str()));
        Require(sd_bus_set_bus_client(raw, 1));
        Require(sd_bus_start(raw));
        const auto serve = [&](IdleService service, const char* path, const char* interface,
                               const sd_bus_vtable* table, const char* name) {
            if (!services.count(service)) return;
            Require(sd_bus_add_object_vtable(raw, nullptr, path, interface, table, this));
            Require(sd_bus_request_name(raw, name, 0));
        };
        serve(IdleService::kMutter, "/org/gnome/Mutter/IdleMonitor/Core",
              "org.gnome.Mutter.IdleMonitor", kMutter, "org.gnome.Mutter.IdleMonitor");
        serve(IdleService::kScreenSaver, "/org/freedesktop/ScreenSaver",
              "org.freedesktop.ScreenSaver", kScreenSaver, "org.freedesktop.ScreenSaver");
        serve(IdleService::kLogind, "/org/freedesktop/login1/session/auto",
              "org.freedesktop.login1.Session", kSession, "org.freedesktop.login1");
        Input();
        thread_ = std::thread([this] { Serve(); });
    }
    ~MockIdleServices() {
        stop_ = true;
        thread_.join();
    }

    void Input() { lastInput_ = Clock::now().time_since_epoch().count(); }
    void LongIdle() { lastInput_ = (Clock::now() - 10min).time_since_epoch().count(); }
    void SetIdleHint(bool idle, std::uint64_t sinceUsec) {
        idleSince_ = sinceUsec;
        idleHint_ = idle;
    }
    void Pause(bool paused) { paused_ = paused; }
    int Calls() const { return calls_; }

  private:
    struct BusUnref {
        void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
    };
    static void Require(int result) {
        if (result < 0) throw std::runtime_error("mock idle services: " + std::to_string(result));
    }
    // Counts the call; false, with the error set, when the services refuse.
    static bool Answering(void* data, sd_bus_error* error) {
        auto& self = *static_cast<MockIdleServices*>(data);
        ++self.calls_;
        if (self.failing_) sd_bus_error_set(error, SD_BUS_ERROR_NOT_SUPPORTED, "not here");
        return !self.failing_;
    }
    static std::uint64_t IdleMs(void* data) {
        const auto last = static_cast<MockIdleServices*>(data)->lastInput_.load();
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(
                Clock::now() - Clock::time_point(Clock::duration(last)))
                .count());
    }
    static int GetIdletime(sd_bus_message* call, void* data, sd_bus_error* error) {
        if (!Answering(data, error)) return -EOPNOTSUPP;
        return sd_bus_reply_method_return(call, "t", IdleMs(data));
    }
    static int GetSessionIdleTime(sd_bus_message* call, void* data, sd_bus_error* error) {
        if (!Answering(data, error)) return -EOPNOTSUPP;
        return sd_bus_reply_method_return(call, "u", static_cast<std::uint32_t>(IdleMs(data)));
    }
    static int IdleHint(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                        void* data, sd_bus_error* error) {
        if (!Answering(data, error)) return -EOPNOTSUPP;
        const int idle = static_cast<MockIdleServices*>(data)->idleHint_;
        return sd_bus_message_append(reply, "b", idle);
    }
    static int IdleSince(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                         void* data, sd_bus_error*) {
        return sd_bus_message_append(reply, "t",
                                     static_cast<MockIdleServices*>(data)->idleSince_.load());
    }

    void Serve() {
        while (!stop_) {
            if (paused_) {
                std::this_thread::sleep_for(5ms);
            } else if (sd_bus_process(bus_.get(), nullptr) == 0) {
                sd_bus_wait(bus_.get(), 20'000);
            }
        }
    }

    static constexpr sd_bus_vtable kMutter[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("GetIdletime", "", "t", GetIdletime, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    static constexpr sd_bus_vtable kScreenSaver[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("GetSessionIdleTime", "", "u", GetSessionIdleTime,
                      SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    static constexpr sd_bus_vtable kSession[] = {
        SD_BUS_VTABLE_START(0), SD_BUS_PROPERTY("IdleHint", "b", IdleHint, 0, 0),
        SD_BUS_PROPERTY("IdleSinceHintMonotonic", "t", IdleSince, 0, 0), SD_BUS_VTABLE_END};

    std::unique_ptr<sd_bus, BusUnref> bus_;
    const bool failing_;
    std::atomic<Clock::rep> lastInput_{0};
    std::atomic<bool> idleHint_{false};
    std::atomic<std::uint64_t> idleSince_{0};
    std::atomic<bool> paused_{false};
    std::atomic<bool> stop_{false};
    std::atomic<int> calls_{0};
    std::thread thread_;
};

TEST(DbusIdleInputSource, MutterAndTheScreenSaverGiveTheIdleTime) {
    test::PrivateBus bus;
    MockIdleServices services(bus.Address(), {IdleService::kMutter, IdleService::kScreenSaver});
    for (const auto service : {IdleService::kMutter, IdleService::kScreenSaver}) {
        SCOPED_TRACE(service == IdleService::kMutter ? "Mutter" : "ScreenSaver");
        auto source = DbusIdleInputSource::Open(service, bus.Address());
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->Service(), service);
        services.LongIdle();
        const auto idle = source->ReadIdle();
        ASSERT_TRUE(idle.has_value());
        EXPECT_GE(*idle, 10min);
        EXPECT_LT(*idle, 11min);
        std::int32_t x = 0, y = 0;
        EXPECT_FALSE(source->CursorPos(x, y));  // no position, no key state: only taps
        services.Input();
        EXPECT_LT(source->ReadIdle(), 1min);
    }
}

TEST(DbusIdleInputSource, LogindsIdleHintCountsAsInUseUntilTheDesktopSetsIt) {
    test::PrivateBus bus;
    MockIdleServices services(bus.Address(), {IdleService::kLogind});
    auto source = DbusIdleInputSource::Open(IdleService::kLogind, bus.Address());
    ASSERT_NE(source, nullptr);
    InputChangeDetector detector(*source);

    // Not idle by the desktop's reckoning: every check is activity.
    services.SetIdleHint(false, 0);
    detector.InDataReset();
    LetTimePass();
    EXPECT_TRUE(detector.InDataChanged());

    // Idle for the last minute: no activity, and the idle time runs from the hint.
    services.SetIdleHint(true, MonotonicUsec() - 60'000'000);
    const auto idle = source->ReadIdle();
    ASSERT_TRUE(idle.has_value());
    EXPECT_GE(*idle, 60s);
    EXPECT_LT(*idle, 70s);
    detector.InDataReset();
    LetTimePass();
    EXPECT_FALSE(detector.InDataChanged());

    // The user came back and the desktop set the hint anew a moment ago.
    LetTimePass();
    services.SetIdleHint(true, MonotonicUsec());
    EXPECT_TRUE(detector.InDataChanged());
    // A hint dated in the future is no reason to call anybody idle.
    services.SetIdleHint(true, MonotonicUsec() + 60'000'000);
    EXPECT_EQ(source->ReadIdle(), 0ms);
}

TEST(DbusIdleInputSource, AServiceThatIsAbsentRefusesOrStopsAnsweringIsNotUsed) {
    test::PrivateBus bus;
    const auto all = {IdleService::kMutter, IdleService::kScreenSaver, IdleService::kLogind};
    // Nobody there, no bus at all, and a service that answers with an error.
    for (const auto service : all) {
        EXPECT_EQ(DbusIdleInputSource::Open(service, bus.Address()), nullptr);
        EXPECT_EQ(DbusIdleInputSource::Open(service, "unix:path=/nonexistent/vespar-bus"), nullptr);
    }
    {
        MockIdleServices refusing(bus.Address(), all, true);
        for (const auto service : all)
            EXPECT_EQ(DbusIdleInputSource::Open(service, bus.Address()), nullptr);
        EXPECT_EQ(refusing.Calls(), 3);
    }

    // A bus of its own: the names the refusing services held may not be free yet.
    test::PrivateBus other;
    MockIdleServices services(other.Address(), {IdleService::kMutter});
    auto source = DbusIdleInputSource::Open(IdleService::kMutter, other.Address());
    ASSERT_NE(source, nullptr);
    InputChangeDetector detector(*source);
    services.LongIdle();
    detector.InDataReset();
    EXPECT_FALSE(detector.InDataChanged());

    // A hung desktop: the call times out, and the check counts as activity, never as idle.
    services.Pause(true);
    vespar::test::ExpectUnreadableIsActivity(detector, 1);
    EXPECT_FALSE(source->Readable());

    services.Pause(false);
}

TEST(InputSourceFactory, PrefersTheXServerThenTheDesktopsIdleServicesInTurn) {
    // Private buses only: nothing here may reach this machine's real buses.
    test::PrivateBus session;
    test::PrivateBus system;
    vespar::test::XvfbDisplay xvfb;
    InputSourceOptions options;
    options.display = xvfb.Name();
    options.sessionBus = session.Address();
    options.systemBus = system.Address();
    auto source = OpenInputSource(options);
    ASSERT_NE(dynamic_cast<X11InputSource*>(source.get()), nullptr);
    EXPECT_TRUE(source->Readable());

    auto Chosen = [&] {
        source = OpenInputSource(options);
        EXPECT_EQ(dynamic_cast<X11InputSource*>(source.get()), nullptr);
        auto* idle = dynamic_cast<DbusIdleInputSource*>(source.get());
        return idle ? std::optional<IdleService>(idle->Service()) : std::nullopt;
    };
    // In a Wayland session the X server sees only input to X programs: not used. Neither
    // display nor idle service: a source that says so, and reads as activity.
    options.wayland = true;
    EXPECT_EQ(Chosen(), std::nullopt);
    EXPECT_FALSE(source->Readable());
    options.wayland = false;
    options.display = ":64999";  // no server there
    EXPECT_EQ(Chosen(), std::nullopt);
    InputChangeDetector detector(*source);
    detector.InDataReset();
    vespar::test::ExpectUnreadableIsActivity(detector, 1);
    {
        MockIdleServices logind(system.Address(), {IdleService::kLogind});
        EXPECT_EQ(Chosen(), IdleService::kLogind);
        MockIdleServices screenSaver(session.Address(), {IdleService::kScreenSaver});
        EXPECT_EQ(Chosen(), IdleService::kScreenSaver);
        MockIdleServices mutter(session.Address(), {IdleService::kMutter});
        EXPECT_EQ(Chosen(), IdleService::kMutter);
        options.wayland = true;
        EXPECT_EQ(Chosen(), IdleService::kMutter);
    }
    // All gone again.
    EXPECT_EQ(Chosen(), std::nullopt);
    EXPECT_FALSE(source->Readable());
}

}  // namespace
}  // namespace vespar::linux_platform
