#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace vespar::test {

// Asks ready() every few milliseconds until it agrees or the time is up; its last answer.
template <class Ready>
bool PollUntil(Ready ready, std::chrono::steady_clock::duration limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return ready();
}

inline std::string ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// This process's environment without the entries that start with any of the prefixes.
inline std::vector<std::string> EnvironmentWithout(
    std::initializer_list<std::string_view> prefixes) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        bool keep = true;
        for (const auto prefix : prefixes) keep = keep && entry.rfind(prefix, 0) != 0;
        if (keep) env.emplace_back(entry);
    }
    return env;
}

// A child process with its input from /dev/null, ended with SIGTERM (then SIGKILL) when this
// goes.
class ChildProcess {
  public:
    // Starts `argv` with exactly the environment `env`, stdout and stderr going to the two
    // files. Throws when the program cannot be started.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::filesystem::path& out, const std::filesystem::path& err) {
        std::vector<char*> args, envp;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        args.push_back(nullptr);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        const int rc = posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            pid_ = -1;
            throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
        }
    }
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Running() {
        if (pid_ <= 0) return false;
        if (waitpid(pid_, &status_, WNOHANG) == 0) return true;
        pid_ = -1;
        return false;
    }
    // Waits for the end; the exit status, or -1 when the process did not exit normally.
    int Wait() {
        if (pid_ > 0 && waitpid(pid_, &status_, 0) == pid_) pid_ = -1;
        return pid_ <= 0 && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }
    void Stop() {
        if (!Running()) return;
        kill(pid_, SIGTERM);
        if (!PollUntil([&] { return !Running(); }, std::chrono::seconds(10))) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }

  private:
    pid_t pid_ = -1;
    int status_ = 0;
};

// A folder of its own below the temporary directory, removed with everything in it when
// this goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& prefix) {
        std::string folder =
            (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
        if (mkdtemp(folder.data()) == nullptr)
            throw std::runtime_error(std::string("no temporary folder: ") + std::strerror(errno));
        path_ = folder;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace vespar::test
