#include "logind_mock.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace vespar::linux_platform::test {
namespace {

using Clock = std::chrono::steady_clock;
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

struct BusError {
    sd_bus_error e{nullptr, nullptr, 0};
    BusError() = default;
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;
    ~BusError() { sd_bus_error_free(&e); }
};

struct MessageUnref {
    void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

void Check(int r, const std::string& what, const BusError* error = nullptr) {
    if (r >= 0) return;
    std::string text = what + " failed: " + std::strerror(-r);
    if (error != nullptr && error->e.message != nullptr)
        text += std::string(" (") + error->e.message + ")";
    throw std::runtime_error(text);
}

template <class T>
std::string NumberText(sd_bus_message* m, char type) {
    T value{};
    Check(sd_bus_message_read_basic(m, type, &value), "reading a number");
    return std::to_string(value);
}

// The text of the variant's contents the message stands in.
std::string ArgumentText(sd_bus_message* m, const char* contents) {
    switch (contents[0]) {
        case 'b': {
            int value = 0;
            Check(sd_bus_message_read_basic(m, 'b', &value), "reading a boolean");
            return value != 0 ? "true" : "false";
        }
        case 'y':
            return NumberText<std::uint8_t>(m, 'y');
        case 'n':
            return NumberText<std::int16_t>(m, 'n');
        case 'q':
            return NumberText<std::uint16_t>(m, 'q');
        case 'i':
            return NumberText<std::int32_t>(m, 'i');
        case 'u':
            return NumberText<std::uint32_t>(m, 'u');
        case 'x':
            return NumberText<std::int64_t>(m, 'x');
        case 't':
            return NumberText<std::uint64_t>(m, 't');
        case 's':
        case 'o':
        case 'g': {
            const char* text = nullptr;
            Check(sd_bus_message_read_basic(m, contents[0], &text), "reading a text");
            return text;
        }
        default:
            Check(sd_bus_message_skip(m, contents), "skipping an argument");
            return "?";
    }
}

// This process's environment without any bus address, so that a child reaches no bus but
// the one it is given.
std::vector<std::string> EnvironmentWithoutBuses() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        if (entry.rfind("DBUS_", 0) != 0) env.emplace_back(entry);
    }
    return env;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

template <class Ready>
bool PollUntil(Ready ready, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ready();
}

// The python that has python-dbusmock: the system's own first, as Debian installs it there.
std::string PythonWithDbusmock() {
    for (const char* python : {"/usr/bin/python3", "python3"}) {
        try {
            ChildProcess probe({python, "-c", "import dbusmock"}, EnvironmentWithoutBuses(),
                               "/dev/null", "/dev/null");
            if (PollUntil([&] { return !probe.Running(); }, kStartLimit) && probe.ExitedWell()) {
                return python;
            }
        } catch (const std::runtime_error&) {
            // No such python: try the next.
        }
    }
    throw std::runtime_error("python3-dbusmock is missing: no python3 can import dbusmock");
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, const std::filesystem::path& out,
                           const std::filesystem::path& err) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int rc = posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
    }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_), status_(other.status_) {
    other.pid_ = -1;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Stop();
        pid_ = other.pid_;
        status_ = other.status_;
        other.pid_ = -1;
    }
    return *this;
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    status_ = status;
    pid_ = -1;
    return false;
}

bool ChildProcess::ExitedWell() const {
    return pid_ <= 0 && WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
}

void ChildProcess::Stop() {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    if (!PollUntil([&] { return !Running(); }, std::chrono::seconds(5))) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
        pid_ = -1;
    }
}

PrivateBus::PrivateBus() {
    std::string folder = (std::filesystem::temp_directory_path() / "vespar-bus-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        throw std::runtime_error(std::string("no temporary folder: ") + std::strerror(errno));
    }
    folder_ = folder;
    try {
        std::string config = kBusConfig;
        config.replace(config.find("@SOCKET@"), 8, (folder_ / "bus").string());
        std::ofstream(folder_ / "bus.conf") << config;
        daemon_ = ChildProcess({"dbus-daemon", "--config-file=" + (folder_ / "bus.conf").string(),
                                "--nofork", "--print-address=1"},
                               EnvironmentWithoutBuses(), folder_ / "address", folder_ / "bus.log");
        const auto file = folder_ / "address";
        if (!PollUntil(
                [&] {
                    return ReadFile(file).find('\n') != std::string::npos || !daemon_.Running();
                },
                kStartLimit) ||
            !daemon_.Running()) {
            throw std::runtime_error("dbus-daemon did not start: " + ReadFile(folder_ / "bus.log"));
        }
        const std::string text = ReadFile(file);
        address_ = text.substr(0, text.find('\n'));
    } catch (...) {
        daemon_.Stop();
        std::filesystem::remove_all(folder_);
        throw;
    }
}

PrivateBus::~PrivateBus() {
    daemon_.Stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

InhibitorLock::~InhibitorLock() {
    if (fd_ >= 0) close(fd_);
}

void MockLogind::BusUnref::operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }

MockLogind::MockLogind(const PrivateBus& bus, const std::string& parameters) {
    std::vector<std::string> argv{PythonWithDbusmock(), "-m",         "dbusmock",
                                  "--system",           "--template", "logind"};
    if (!parameters.empty()) {
        argv.push_back("-p");
        argv.push_back(parameters);
    }
    // A --system mock takes its bus from DBUS_SYSTEM_BUS_ADDRESS; both addresses name the
    // private bus, and only in the child's environment.
    auto env = EnvironmentWithoutBuses();
    env.push_back("DBUS_SYSTEM_BUS_ADDRESS=" + bus.Address());
    env.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus.Address());
    mock_ = ChildProcess(argv, env, bus.Folder() / "mock.log", bus.Folder() / "mock.err");

    sd_bus* raw = nullptr;
    int r = sd_bus_new(&raw);
    bus_.reset(raw);
    Check(r, "sd_bus_new");
    Check(sd_bus_set_address(raw, bus.Address().c_str()), "sd_bus_set_address");
    Check(sd_bus_set_bus_client(raw, 1), "sd_bus_set_bus_client");
    Check(sd_bus_start(raw), "connecting to the private bus");

    const bool up = PollUntil(
        [&] {
            if (!mock_.Running()) return true;
            BusError error;
            sd_bus_message* reply = nullptr;
            const int rc = sd_bus_call_method(raw, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                              "org.freedesktop.DBus", "NameHasOwner", &error.e,
                                              &reply, "s", kLogind);
            const Message owned(reply);
            int has = 0;
            return rc >= 0 && sd_bus_message_read(reply, "b", &has) >= 0 && has != 0;
        },
        kStartLimit);
    if (!up || !mock_.Running()) {
        throw std::runtime_error("the logind mock did not start: " +
                                 ReadFile(bus.Folder() / "mock.err"));
    }
}

MockLogind::~MockLogind() = default;

std::vector<std::string> MockLogind::Calls() {
    BusError error;
    sd_bus_message* raw = nullptr;
    Check(sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kMock, "GetCalls", &error.e, &raw,
                             ""),
          "GetCalls", &error);
    const Message reply(raw);
    std::vector<std::string> calls;
    Check(sd_bus_message_enter_container(raw, SD_BUS_TYPE_ARRAY, "(tsav)"), "reading calls");
    while (sd_bus_message_enter_container(raw, SD_BUS_TYPE_STRUCT, "tsav") > 0) {
        std::uint64_t when = 0;
        const char* name = nullptr;
        Check(sd_bus_message_read(raw, "ts", &when, &name), "reading a call");
        std::string call = std::string(name) + "(";
        Check(sd_bus_message_enter_container(raw, SD_BUS_TYPE_ARRAY, "v"), "reading arguments");
        bool first = true;
        char type = 0;
        const char* contents = nullptr;
        while (sd_bus_message_peek_type(raw, &type, &contents) > 0) {
            Check(sd_bus_message_enter_container(raw, SD_BUS_TYPE_VARIANT, contents), "argument");
            if (!first) call += ", ";
            first = false;
            call += ArgumentText(raw, contents);
            Check(sd_bus_message_exit_container(raw), "argument");
        }
        Check(sd_bus_message_exit_container(raw), "reading arguments");
        Check(sd_bus_message_exit_container(raw), "reading a call");
        calls.push_back(call + ")");
    }
    return calls;
}

void MockLogind::ClearCalls() {
    BusError error;
    Check(sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kMock, "ClearCalls", &error.e,
                             nullptr, ""),
          "ClearCalls", &error);
}

void MockLogind::AddMethod(const std::string& name, const std::string& in, const std::string& out,
                           const std::string& code) {
    BusError error;
    Check(
        sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kMock, "AddMethod", &error.e, nullptr,
                           "sssss", kManager, name.c_str(), in.c_str(), out.c_str(), code.c_str()),
        "AddMethod " + name, &error);
}

void MockLogind::AddSession(const std::string& id, const std::string& seat, unsigned uid,
                            const std::string& user) {
    BusError error;
    Check(sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kMock, "AddSession", &error.e,
                             nullptr, "ssusb", id.c_str(), seat.c_str(),
                             static_cast<std::uint32_t>(uid), user.c_str(), 1),
          "AddSession", &error);
}

InhibitorLock MockLogind::Inhibit(const std::string& what, const std::string& who,
                                  const std::string& why, const std::string& mode) {
    BusError error;
    sd_bus_message* raw = nullptr;
    Check(sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, "Inhibit", &error.e, &raw,
                             "ssss", what.c_str(), who.c_str(), why.c_str(), mode.c_str()),
          "Inhibit", &error);
    const Message reply(raw);
    int fd = -1;
    Check(sd_bus_message_read(raw, "h", &fd), "reading the inhibitor");
    // The message owns its descriptor; the lock keeps a copy of its own.
    const int kept = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    if (kept < 0) Check(-errno, "keeping the inhibitor");
    return InhibitorLock(kept);
}

void MockLogind::EmitPrepareForSleep(bool start) {
    BusError error;
    Check(sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kMock, "EmitSignal", &error.e,
                             nullptr, "sssav", kManager, "PrepareForSleep", "b", 1, "b",
                             start ? 1 : 0),
          "EmitSignal", &error);
}

}  // namespace vespar::linux_platform::test
