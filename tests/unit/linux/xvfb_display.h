#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vespar::test {

// Starts a program with its arguments; environment is the whole environment of the child.
inline pid_t Spawn(const std::vector<std::string>& args, char* const* environment,
                   posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environment);
    if (error != 0)
        throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(error));
    return pid;
}

// A private X server on a display number it picks itself, gone with this object.
class XvfbDisplay {
  public:
    XvfbDisplay() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        // The child gets the write end as descriptor 3, without close-on-exec.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        try {
            // -noreset: by default the server resets when its last client leaves and drops
            // the connections that arrive meanwhile.
            pid_ = Spawn({"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-noreset", "-screen", "0",
                          "1280x1024x24"},
                         environ, &actions);
        } catch (...) {
            posix_spawn_file_actions_destroy(&actions);
            close(fds[0]);
            close(fds[1]);
            throw;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string number = ReadLine(fds[0]);
        close(fds[0]);
        if (number.empty()) {
            Stop();
            throw std::runtime_error("Xvfb did not report its display");
        }
        name_ = ":" + number;
    }
    ~XvfbDisplay() { Stop(); }
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    const std::string& Name() const { return name_; }

    // Ends the server now, as a crash or a logout would.
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (waitpid(pid_, nullptr, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
    }

    // Runs xdotool against this display only and returns its exit status (-1 on a signal).
    int Xdotool(std::vector<std::string> args) const {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry) {
            if (std::strncmp(*entry, "DISPLAY=", 8) != 0) environment.emplace_back(*entry);
        }
        environment.push_back("DISPLAY=" + name_);
        std::vector<char*> envp;
        for (auto& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        args.insert(args.begin(), "xdotool");
        const pid_t pid = Spawn(args, envp.data());
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }

  private:
    // The server writes its display number and a newline once it accepts connections.
    static std::string ReadLine(int fd) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd in{fd, POLLIN, 0};
            if (poll(&in, 1, 100) <= 0) continue;
            char c = 0;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return "";
    }

    pid_t pid_ = -1;
    std::string name_;
};

}  // namespace vespar::test
