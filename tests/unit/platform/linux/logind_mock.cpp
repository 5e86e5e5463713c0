#include "logind_mock.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace vespar::linux_platform::test {
namespace {

using vespar::test::EnvironmentWithout;
using vespar::test::PollUntil;
using vespar::test::ReadWholeFile;

constexpr auto kStartLimit = std::chrono::seconds(30);
constexpr char kLogind[] = "org.freedesktop.login1";
constexpr char kManagerPath[] = "/org/freedesktop/login1";
constexpr char kManager[] = "org.freedesktop.login1.Manager";
constexpr char kMock[] = "org.freedesktop.DBus.Mock";

constexpr char kBusConfig[] =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <listen>unix:path=@SOCKET@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
)";

// This process's environment without any bus address, so that a child reaches no bus but
// the one it is given.
std::vector<std::string> EnvironmentWithoutBuses() { return EnvironmentWithout({"DBUS_"}); }

void Check(int r, const std::string& what, const std::string& detail = "") {
    if (r >= 0) return;
    throw std::runtime_error(what + " failed: " + std::strerror(-r) +
                             (detail.empty() ? "" : " (" + detail + ")"));
}

// The text of one argument of a recorded call, the variant's contents being of type `type`.
std::string ArgumentText(sd_bus_message* m, const char* type) {
    union {
        int b;
        std::uint32_t u;
        std::uint64_t t;
        const char* s;
    } value{};
    switch (type[0]) {
        case 'b':
            Check(sd_bus_message_read_basic(m, 'b', &value.b), "reading a boolean");
            return value.b != 0 ? "true" : "false";
        case 'u':
            Check(sd_bus_message_read_basic(m, 'u', &value.u), "reading a number");
            return std::to_string(value.u);
        case 't':
            Check(sd_bus_message_read_basic(m, 't', &value.t), "reading a number");
            return std::to_string(value.t);
        case 's':
        case 'o':
            Check(sd_bus_message_read_basic(m, type[0], &value.s), "reading a text");
            return value.s;
        default:  // no call of the power actions takes any other type
            Check(sd_bus_message_skip(m, type), "skipping an argument");
            return "?";
    }
}

std::vector<std::string> MockCommand(const std::string& parameters) {
    // The system's python, where Debian installs python3-dbusmock.
    std::vector<std::string> argv{"/usr/bin/python3", "-m",         "dbusmock",
                                  "--system",         "--template", "logind"};
    if (!parameters.empty()) argv.insert(argv.end(), {"-p", parameters});
    return argv;
}

// A --system mock takes its bus from DBUS_SYSTEM_BUS_ADDRESS; both addresses name the
// private bus, and only in the child's environment.
std::vector<std::string> MockEnvironment(const PrivateBus& bus) {
    auto env = EnvironmentWithoutBuses();
    env.push_back("DBUS_SYSTEM_BUS_ADDRESS=" + bus.Address());
    env.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus.Address());
    return env;
}

}  // namespace

PrivateBus::PrivateBus() {
    std::string config = kBusConfig;
    config.replace(config.find("@SOCKET@"), 8, (Folder() / "bus").string());
    std::ofstream(Folder() / "bus.conf") << config;
    const auto file = Folder() / "address";
    daemon_.emplace(
        std::vector<std::string>{"dbus-daemon", "--config-file=" + (Folder() / "bus.conf").string(),
                                 "--nofork", "--print-address=1"},
        EnvironmentWithoutBuses(), file, Folder() / "bus.log");
    std::string text;
    PollUntil(
        [&] {
            text = ReadWholeFile(file);
            return text.find('\n') != std::string::npos || !daemon_->Running();
        },
        kStartLimit);
    if (text.find('\n') == std::string::npos || !daemon_->Running())
        throw std::runtime_error("dbus-daemon did not start: " +
                                 ReadWholeFile(Folder() / "bus.log"));
    address_ = text.substr(0, text.find('\n'));
}

InhibitorLock::~InhibitorLock() {
    if (fd_ >= 0) close(fd_);
}

void MockLogind::BusUnref::operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
void MockLogind::MessageUnref::operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }

template <class... Args>
MockLogind::Message MockLogind::Call(const char* interface, const char* method, const char* types,
                                     Args... args) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    const int r = sd_bus_call_method(bus_.get(), kLogind, kManagerPath, interface, method, &error,
                                     &reply, types, args...);
    Message owned(reply);
    const std::string detail = error.message != nullptr ? error.message : "";
    sd_bus_error_free(&error);
    Check(r, method, detail);
    return owned;
}

MockLogind::MockLogind(const PrivateBus& bus, const std::string& parameters)
    : mock_(MockCommand(parameters), MockEnvironment(bus), bus.Folder() / "mock.log",
            bus.Folder() / "mock.err") {
    sd_bus* raw = nullptr;
    const int r = sd_bus_new(&raw);
    bus_.reset(raw);
    Check(r, "sd_bus_new");
    Check(sd_bus_set_address(raw, bus.Address().c_str()), "sd_bus_set_address");
    Check(sd_bus_set_bus_client(raw, 1), "sd_bus_set_bus_client");
    Check(sd_bus_start(raw), "connecting to the private bus");

    const bool up = PollUntil(
        [&] {
            if (!mock_.Running()) return true;
            sd_bus_message* reply = nullptr;
            const int rc = sd_bus_call_method(raw, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                              "org.freedesktop.DBus", "NameHasOwner", nullptr,
                                              &reply, "s", kLogind);
            const Message owned(reply);
            int has = 0;
            return rc >= 0 && sd_bus_message_read(reply, "b", &has) >= 0 && has != 0;
        },
        kStartLimit);
    if (!up || !mock_.Running())
        throw std::runtime_error("the logind mock did not start: " +
                                 ReadWholeFile(bus.Folder() / "mock.err"));
}

MockLogind::~MockLogind() = default;

std::vector<std::string> MockLogind::Calls() {
    const Message reply = Call(kMock, "GetCalls", "");
    sd_bus_message* m = reply.get();
    std::vector<std::string> calls;
    Check(sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "(tsav)"), "reading calls");
    while (sd_bus_message_enter_container(m, SD_BUS_TYPE_STRUCT, "tsav") > 0) {
        std::uint64_t when = 0;
        const char* name = nullptr;
        Check(sd_bus_message_read(m, "ts", &when, &name), "reading a call");
        std::string call = std::string(name) + "(";
        Check(sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "v"), "reading arguments");
        char type = 0;
        const char* contents = nullptr;
        for (bool first = true; sd_bus_message_peek_type(m, &type, &contents) > 0; first = false) {
            Check(sd_bus_message_enter_container(m, SD_BUS_TYPE_VARIANT, contents), "argument");
            call += (first ? "" : ", ") + ArgumentText(m, contents);
            Check(sd_bus_message_exit_container(m), "argument");
        }
        Check(sd_bus_message_exit_container(m), "reading arguments");
        Check(sd_bus_message_exit_container(m), "reading a call");
        calls.push_back(call + ")");
    }
    return calls;
}

void MockLogind::ClearCalls() { Call(kMock, "ClearCalls", ""); }

void MockLogind::AddMethod(const std::string& name, const std::string& in, const std::string& out,
                           const std::string& code) {
    Call(kMock, "AddMethod", "sssss", kManager, name.c_str(), in.c_str(), out.c_str(),
         code.c_str());
}

void MockLogind::AddSession(const std::string& id, const std::string& seat, unsigned uid,
                            const std::string& user) {
    Call(kMock, "AddSession", "ssusb", id.c_str(), seat.c_str(), static_cast<std::uint32_t>(uid),
         user.c_str(), 1);
}

InhibitorLock MockLogind::Inhibit(const std::string& what, const std::string& who,
                                  const std::string& why, const std::string& mode) {
    const Message reply =
        Call(kManager, "Inhibit", "ssss", what.c_str(), who.c_str(), why.c_str(), mode.c_str());
    int fd = -1;
    Check(sd_bus_message_read(reply.get(), "h", &fd), "reading the inhibitor");
    // The message owns its descriptor; the lock keeps a copy of its own.
    const int kept = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    if (kept < 0) Check(-errno, "keeping the inhibitor");
    return InhibitorLock(kept);
}

void MockLogind::EmitPrepareForSleep(bool start) {
    Call(kMock, "EmitSignal", "sssav", kManager, "PrepareForSleep", "b", 1, "b", start ? 1 : 0);
}

}  // namespace vespar::linux_platform::test
