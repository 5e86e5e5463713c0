#pragma once

// Servers of the tests' own: an X server and a D-Bus daemon on addresses nobody else uses,
// and python-dbusmock services on that bus. Nothing here reaches this machine's buses.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vespar::test {

// Asks ready() every few milliseconds until it agrees or `limit` is up; its last answer.
template <class Ready>
bool PollUntil(Ready ready, std::chrono::steady_clock::duration limit = std::chrono::seconds(30)) {
    for (const auto end = std::chrono::steady_clock::now() + limit; !ready();) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline std::string ReadText(const std::filesystem::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

// A folder of its own below the temporary directory, gone with everything in it.
struct Scratch {
    Scratch() {
        std::string name = (std::filesystem::temp_directory_path() / "vespar-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path = name;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

// A program started with stdout to `out` and stderr to `err`; the "NAME=value" entries of
// `env` replace this process's. Ended with SIGTERM when this goes.
class Child {
  public:
    Child(const std::vector<std::string>& argv, const std::filesystem::path& out,
          const std::filesystem::path& err, std::vector<std::string> env = {}) {
        const std::size_t own = env.size();
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry(*e);
            bool replaced = false;
            for (std::size_t i = 0; i < own; ++i)
                replaced = replaced || entry.rfind(env[i].substr(0, env[i].find('=') + 1), 0) == 0;
            if (!replaced) env.push_back(entry);
        }
        std::vector<char*> args, envp;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        args.push_back(nullptr);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT, 0644);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT, 0644);
        const int rc = posix_spawnp(&pid_, args[0], &files, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&files);
        if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
    }
    ~Child() { Stop(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running() { return pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == 0; }
    // The exit status, or -1 when the program did not exit normally.
    int Wait() {
        if (pid_ > 0 && waitpid(pid_, &status_, 0) == pid_) pid_ = -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }
    void Stop() {
        if (!Running()) return;
        kill(pid_, SIGTERM);
        kill(pid_, SIGCONT);  // a stopped program takes its SIGTERM only once it runs
        Wait();
    }

  private:
    pid_t pid_ = -1;
    int status_ = 0;
};

// A private X server on a display number it picks itself.
class XvfbDisplay {
  public:
    // `extraArgs` go to the server, as {"-extension", "MIT-SCREEN-SAVER"} to run without one.
    explicit XvfbDisplay(std::vector<std::string> extraArgs = {}) {
        // -noreset: by default the server resets when its last client leaves, dropping the
        // connections that arrive meanwhile.
        extraArgs.insert(extraArgs.begin(), {"Xvfb", "-displayfd", "1", "-nolisten", "tcp",
                                             "-noreset", "-screen", "0", "1280x1024x24"});
        const auto file = scratch_.path / "display";
        server_.emplace(extraArgs, file, "/dev/null");
        std::string number;
        PollUntil([&] {
            number = ReadText(file);
            return number.find('\n') != std::string::npos || !server_->Running();
        });
        if (number.find('\n') == std::string::npos) throw std::runtime_error("Xvfb did not start");
        name_ = ":" + number.substr(0, number.find('\n'));
    }
    const std::string& Name() const { return name_; }
    // Ends the server now, as a crash or a logout would.
    void Stop() { server_.reset(); }
    // Runs xdotool against this display only; its exit status.
    int Xdotool(std::vector<std::string> args) const {
        args.insert(args.begin(), "xdotool");
        return Child(args, "/dev/null", "/dev/null", {"DISPLAY=" + name_}).Wait();
    }

  private:
    Scratch scratch_;
    std::optional<Child> server_;
    std::string name_;
};

// A D-Bus daemon on a socket in a folder of its own: only what the test puts there, and no
// service activation.
class PrivateBus {
  public:
    PrivateBus() {
        std::ofstream(scratch_.path / "bus.conf")
            << "<busconfig><listen>unix:path=" << (scratch_.path / "bus").string()
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow user=\"*\"/>"
               "<allow own=\"*\"/><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
               "</policy></busconfig>\n";
        daemon_.emplace(std::vector<std::string>{"dbus-daemon", "--nofork", "--print-address=1",
                                                 "--config-file=" + Path("bus.conf").string()},
                        Path("address"), Path("bus.err"));
        PollUntil([&] {
            address_ = ReadText(Path("address"));
            return address_.find('\n') != std::string::npos || !daemon_->Running();
        });
        if (address_.find('\n') == std::string::npos)
            throw std::runtime_error("dbus-daemon did not start: " + ReadText(Path("bus.err")));
        address_.resize(address_.find('\n'));
    }
    const std::string& Address() const { return address_; }
    std::filesystem::path Path(const std::string& name) const { return scratch_.path / name; }

  private:
    Scratch scratch_;
    std::optional<Child> daemon_;
    std::string address_;
};

// python-dbusmock serving `name` on the private bus: `args` name a template ("-t", "logind")
// or the path and interface of one object. Every call it takes goes to a log.
class Dbusmock {
  public:
    Dbusmock(const PrivateBus& bus, const std::string& name, std::vector<std::string> args)
        : name_(name), log_(bus.Path(name + ".log")) {
        if (args.front() != "-t") args.insert(args.begin(), name);
        args.insert(args.begin(),
                    {"/usr/bin/python3", "-m", "dbusmock", "--system", "-l", log_.string()});
        mock_.emplace(args, "/dev/null", bus.Path(name + ".err"),
                      std::vector<std::string>{"DBUS_SYSTEM_BUS_ADDRESS=" + bus.Address()});
        sd_bus* raw = nullptr;
        sd_bus_new(&raw);
        control_.reset(raw);
        if (sd_bus_set_address(raw, bus.Address().c_str()) < 0 ||
            sd_bus_set_bus_client(raw, 1) < 0 || sd_bus_start(raw) < 0)
            throw std::runtime_error("cannot reach the private bus");
        const bool up = PollUntil([&] {
            int has = 0;
            return !mock_->Running() ||
                   (sd_bus_call_method(raw, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "NameHasOwner", nullptr, Reply(),
                                       "s", name_.c_str()) >= 0 &&
                    sd_bus_message_read(reply_, "b", &has) >= 0 && has != 0);
        });
        if (!up || !mock_->Running())
            throw std::runtime_error("dbusmock did not start: " +
                                     ReadText(bus.Path(name + ".err")));
    }

    ~Dbusmock() { sd_bus_message_unref(reply_); }
    Dbusmock(const Dbusmock&) = delete;
    Dbusmock& operator=(const Dbusmock&) = delete;

    // Calls a method of the mock; throws with the mock's error on failure.
    template <class... Args>
    void Call(const std::string& path, const char* interface, const char* method, const char* types,
              Args... args) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        const int r = sd_bus_call_method(control_.get(), name_.c_str(), path.c_str(), interface,
                                         method, &error, Reply(), types, args...);
        const std::string text = error.message != nullptr ? error.message : "";
        sd_bus_error_free(&error);
        if (r < 0) throw std::runtime_error(std::string(method) + " failed: " + text);
    }
    // Adds or replaces a method of the object at `path`; `code` is its Python body.
    void AddMethod(const std::string& path, const char* interface, const char* method,
                   const char* in, const char* out, const std::string& code) {
        Call(path, "org.freedesktop.DBus.Mock", "AddMethod", "sssss", interface, method, in, out,
             code.c_str());
    }
    // The method calls logged since the last look, "Method arg ..." each, joined by "; ".
    std::string Calls() {
        const std::string log = ReadText(log_);
        std::string calls;
        for (auto end = log.find('\n', seen_); end != std::string::npos;
             seen_ = end + 1, end = log.find('\n', seen_)) {
            const std::string line = log.substr(seen_, end - seen_);
            const std::string call = line.substr(line.find(' ') + 1);
            // Property reads and signals ("Get /path ...") and failures are no calls.
            const auto space = call.find(' ');
            if ((space != std::string::npos && call.compare(space, 2, " /") == 0) ||
                call.find(" raised: ") != std::string::npos)
                continue;
            calls += (calls.empty() ? "" : "; ") + call;
        }
        return calls;
    }
    // A hung service: it takes calls but never answers them.
    void Pause() { kill(mock_->Pid(), SIGSTOP); }

  private:
    struct BusUnref {
        void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
    };
    // Where the next reply goes, the previous one let go.
    sd_bus_message** Reply() {
        reply_ = sd_bus_message_unref(reply_);
        return &reply_;
    }

    std::string name_;
    std::filesystem::path log_;
    std::optional<Child> mock_;
    std::unique_ptr<sd_bus, BusUnref> control_;
    sd_bus_message* reply_ = nullptr;
    std::size_t seen_ = 0;
};

}  // namespace vespar::test
