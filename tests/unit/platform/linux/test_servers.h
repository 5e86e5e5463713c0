#pragma once

// Servers of the tests' own: an X server and a D-Bus daemon on addresses nobody else uses,
// and python-dbusmock services on that bus. Nothing here reaches this machine's buses.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fakes/temp_program_folder.h"

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

// A program started with stdout to `out` and stderr to `err` ({"env", "NAME=value", ...}
// for an environment of its own), ended with SIGTERM when this goes.
class Child {
  public:
    Child(const std::vector<std::string>& argv, const std::filesystem::path& out,
          const std::filesystem::path& err) {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        const int rc = posix_spawnp(&pid_, args[0], &files, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
    }
    ~Child() {
        if (!Running()) return;
        kill(pid_, SIGTERM);
        kill(pid_, SIGCONT);  // a stopped program takes its SIGTERM only once it runs
        Wait();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running() { return pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == 0; }
    // The exit status, or -1 when the program did not exit normally.
    int Wait() {
        if (pid_ > 0 && waitpid(pid_, &status_, 0) == pid_) pid_ = -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

  private:
    pid_t pid_ = -1;
    int status_ = 0;
};

// A server of the tests' own in a scratch folder, ready once it wrote its address as the
// first line of "out".
class Server {
  public:
    const std::string& Address() const { return address_; }
    pid_t Pid() const { return child_->Pid(); }
    std::filesystem::path Path(const std::string& name) const { return scratch_.path() / name; }

  protected:
    void Start(const std::string& prefix, const std::vector<std::string>& argv) {
        child_.emplace(argv, Path("out"), Path("err"));
        std::string text;
        PollUntil([&] {
            return (text = TempProgramFolder::ReadFile(Path("out"))).find('\n') != text.npos ||
                   !child_->Running();
        });
        if (text.find('\n') == text.npos)
            throw std::runtime_error(argv[0] + ": " + TempProgramFolder::ReadFile(Path("err")));
        address_ = prefix + text.substr(0, text.find('\n'));
    }

  private:
    TempProgramFolder scratch_;
    std::optional<Child> child_;
    std::string address_;
};

// A private X server on a display number it picks itself, without the screen-saver
// extension: nothing may rest on its idle time.
struct XvfbDisplay : Server {
    // -noreset: by default the server resets when its last client leaves, dropping the
    // connections that arrive meanwhile.
    XvfbDisplay() {
        Start(":", {"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset", "-extension",
                    "MIT-SCREEN-SAVER"});
    }
    const std::string& Name() const { return Address(); }
};

// A D-Bus daemon on a socket in a folder of its own: only what the test puts there, and no
// service activation.
struct PrivateBus : Server {
    PrivateBus() {
        std::ofstream(Path("bus.conf"))
            << "<busconfig><listen>unix:path=" << Path("bus").string()
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow user=\"*\"/>"
               "<allow own=\"*\"/><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
               "</policy></busconfig>\n";
        Start("", {"dbus-daemon", "--nofork", "--print-address=1",
                   "--config-file=" + Path("bus.conf").string()});
    }
};

// python-dbusmock serving `name` on the private bus: `args` name a template ("-t", "logind")
// or the path and interface of one object. Every call it takes goes to a log.
class Dbusmock {
  public:
    Dbusmock(const PrivateBus& bus, const std::string& name, std::vector<std::string> args)
        : bus_(bus), name_(name) {
        if (args.front() != "-t") args.insert(args.begin(), name);
        args.insert(args.begin(),
                    {"env", "DBUS_SYSTEM_BUS_ADDRESS=" + bus.Address(), "/usr/bin/python3", "-m",
                     "dbusmock", "--system", "-l", File("log").string()});
        mock_.emplace(args, "/dev/null", File("err"));
        // Nothing is started on demand there: the name answers once the mock holds it.
        PollUntil([&] {
            return !mock_->Running() || Busctl({"/", "org.freedesktop.DBus.Peer", "Ping"}) == 0;
        });
        if (!mock_->Running())
            throw std::runtime_error("dbusmock did not start: " +
                                     TempProgramFolder::ReadFile(File("err")));
    }

    // Calls a method of the mock with busctl's arguments (the signature, then the values);
    // throws with the mock's error on failure. The mock's own interface
    // org.freedesktop.DBus.Mock adds objects and methods (AddMethod: interface, name, in and
    // out signatures, Python body).
    void Call(const std::string& path, const std::string& interface, const std::string& method,
              std::vector<std::string> args) {
        args.insert(args.begin(), {path, interface, method});
        if (Busctl(args) != 0)
            throw std::runtime_error(method +
                                     " failed: " + TempProgramFolder::ReadFile(File("busctl")));
    }
    // The method calls logged since the last look, "Method arg ..." each, joined by "; ".
    std::string Calls() {
        const std::string log = TempProgramFolder::ReadFile(File("log"));
        std::string calls;
        for (auto end = log.find('\n', seen_); end != std::string::npos;
             seen_ = end + 1, end = log.find('\n', seen_)) {
            // "time Method args": property reads and signals ("Get /path ...") and failures are
            // no calls.
            const std::string line = log.substr(seen_, end - seen_);
            if (std::regex_search(line, std::regex(R"(^\S+ \S+ /| raised: )"))) continue;
            calls += (calls.empty() ? "" : "; ") + line.substr(line.find(' ') + 1);
        }
        return calls;
    }
    // A hung service: it takes calls but never answers them.
    void Pause() { kill(mock_->Pid(), SIGSTOP); }

  private:
    // The mock's own files beside the bus: its call log, its errors, busctl's errors.
    std::filesystem::path File(const std::string& kind) const {
        return bus_.Path(name_ + "." + kind);
    }
    int Busctl(std::vector<std::string> args) const {
        args.insert(args.begin(), {"busctl", "--address=" + bus_.Address(), "call", name_});
        return Child(args, "/dev/null", File("busctl")).Wait();
    }

    const PrivateBus& bus_;
    std::string name_;
    std::optional<Child> mock_;
    std::size_t seen_ = 0;
};

}  // namespace vespar::test
