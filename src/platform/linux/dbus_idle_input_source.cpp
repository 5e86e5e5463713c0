#include "platform/linux/dbus_idle_input_source.h"

#include <systemd/sd-bus.h>
#include <time.h>

#include <utility>

namespace vespar::linux_platform {
namespace {

constexpr int kKeyCodes = 256;
constexpr std::int16_t kPressedSincePoll = 1;
// The check runs on the user-interface thread; a hung service must not freeze it for the
// library's default of 25 seconds.
constexpr std::uint64_t kCallTimeoutUsec = 500'000;

struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

// A call that never starts a service: asking for the idle time must not launch a
// screen saver that was not running.
Message Call(sd_bus* bus, const char* destination, const char* path, const char* interface,
             const char* member, const char* property = nullptr) {
    sd_bus_message* raw = nullptr;
    if (sd_bus_message_new_method_call(bus, &raw, destination, path,
                                       property ? "org.freedesktop.DBus.Properties" : interface,
                                       property ? "Get" : member) < 0)
        return nullptr;
    Message call(raw);
    if (sd_bus_message_set_auto_start(call.get(), 0) < 0) return nullptr;
    if (property && sd_bus_message_append(call.get(), "ss", interface, property) < 0)
        return nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    const int result = sd_bus_call(bus, call.get(), kCallTimeoutUsec, &error, &reply);
    sd_bus_error_free(&error);
    if (result < 0) return nullptr;
    return Message(reply);
}

template <typename T>
std::optional<T> ReadProperty(sd_bus* bus, const char* path, const char* name, char type) {
    const Message reply =
        Call(bus, "org.freedesktop.login1", path, "org.freedesktop.login1.Session", "", name);
    const char contents[] = {type, '\0'};
    T value{};
    if (!reply || sd_bus_message_enter_container(reply.get(), 'v', contents) < 0 ||
        sd_bus_message_read_basic(reply.get(), type, &value) < 0)
        return std::nullopt;
    return value;
}

std::optional<std::chrono::milliseconds> MutterIdle(sd_bus* bus) {
    const Message reply =
        Call(bus, "org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
             "org.gnome.Mutter.IdleMonitor", "GetIdletime");
    std::uint64_t ms = 0;
    if (!reply || sd_bus_message_read(reply.get(), "t", &ms) < 0) return std::nullopt;
    return std::chrono::milliseconds(ms);
}

// The services that implement it give milliseconds. A service giving seconds would only
// make input look more recent, never a user look away.
std::optional<std::chrono::milliseconds> ScreenSaverIdle(sd_bus* bus) {
    const Message reply = Call(bus, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                               "org.freedesktop.ScreenSaver", "GetSessionIdleTime");
    std::uint32_t ms = 0;
    if (!reply || sd_bus_message_read(reply.get(), "u", &ms) < 0) return std::nullopt;
    return std::chrono::milliseconds(ms);
}

// The hint is set by the desktop after its own idle delay; until then the session counts as
// in use. "auto" is the caller's session, or the user's graphical one.
std::optional<std::chrono::milliseconds> LogindIdle(sd_bus* bus) {
    const char* path = "/org/freedesktop/login1/session/auto";
    const auto hint = ReadProperty<int>(bus, path, "IdleHint", 'b');
    if (!hint) return std::nullopt;
    if (!*hint) return std::chrono::milliseconds(0);
    const auto since = ReadProperty<std::uint64_t>(bus, path, "IdleSinceHintMonotonic", 't');
    if (!since) return std::nullopt;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto nowUsec = static_cast<std::uint64_t>(now.tv_sec) * 1'000'000 +
                         static_cast<std::uint64_t>(now.tv_nsec) / 1000;
    if (*since >= nowUsec) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds((nowUsec - *since) / 1000);
}

SdBusPtr Connect(IdleService service, const std::string& address) {
    sd_bus* raw = nullptr;
    if (address.empty()) {
        const int result =
            service == IdleService::kLogind ? sd_bus_open_system(&raw) : sd_bus_open_user(&raw);
        if (result < 0) return nullptr;
        SdBusPtr bus(raw);
        sd_bus_set_method_call_timeout(bus.get(), kCallTimeoutUsec);
        return bus;
    }
    if (sd_bus_new(&raw) < 0) return nullptr;
    SdBusPtr bus(raw);
    if (sd_bus_set_address(bus.get(), address.c_str()) < 0 ||
        sd_bus_set_bus_client(bus.get(), 1) < 0 || sd_bus_start(bus.get()) < 0)
        return nullptr;
    sd_bus_set_method_call_timeout(bus.get(), kCallTimeoutUsec);
    return bus;
}

}  // namespace

void SdBusCloser::operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }

std::unique_ptr<DbusIdleInputSource> DbusIdleInputSource::Open(IdleService service,
                                                               const std::string& busAddress) {
    SdBusPtr bus = Connect(service, busAddress);
    if (!bus) return nullptr;
    // The constructor is private: only a source that answered is handed out.
    std::unique_ptr<DbusIdleInputSource> source(new DbusIdleInputSource(service, std::move(bus)));
    if (!source->ReadIdle()) return nullptr;
    return source;
}

DbusIdleInputSource::DbusIdleInputSource(IdleService service, SdBusPtr bus)
    : service_(service), bus_(std::move(bus)) {}

DbusIdleInputSource::~DbusIdleInputSource() = default;

std::optional<std::chrono::milliseconds> DbusIdleInputSource::ReadIdle() {
    switch (service_) {
        case IdleService::kMutter:
            return MutterIdle(bus_.get());
        case IdleService::kScreenSaver:
            return ScreenSaverIdle(bus_.get());
        case IdleService::kLogind:
            return LogindIdle(bus_.get());
    }
    return std::nullopt;
}

bool DbusIdleInputSource::CursorPos(std::int32_t&, std::int32_t&) { return false; }

void DbusIdleInputSource::Sweep() {
    tapCode_ = 0;
    const auto idle = ReadIdle();
    readable_ = idle.has_value();
    if (!idle) {
        taps_.Forget();
        return;
    }
    // Nothing else is seen here, so nothing else explains the input.
    tapCode_ = taps_.Sweep(*idle, IdleTimeTaps::Clock::now(), false);
}

std::int16_t DbusIdleInputSource::AsyncKeyState(int code) {
    if (code < 0 || code >= kKeyCodes) return 0;
    if (code <= lastCode_) Sweep();
    lastCode_ = code;
    return tapCode_ != 0 && code == tapCode_ ? kPressedSincePoll : 0;
}

}  // namespace vespar::linux_platform
