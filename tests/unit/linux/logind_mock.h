#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct sd_bus;

namespace vespar::linux_platform::test {

// A child process, ended with SIGTERM (then SIGKILL) when this goes.
class ChildProcess {
  public:
    ChildProcess() = default;
    // Starts `argv` with the given environment, stdout and stderr going to the two files.
    // Throws when the program cannot be started.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::filesystem::path& out, const std::filesystem::path& err);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess();

    bool Running();
    // True once the process has ended with status 0.
    bool ExitedWell() const;
    void Stop();

  private:
    pid_t pid_ = -1;
    int status_ = 0;
};

// A D-Bus daemon of its own on a socket in a temporary folder: nothing on it but what the
// test puts there, no service activation, and no way through to this machine's buses.
class PrivateBus {
  public:
    // Throws when dbus-daemon is missing or does not come up.
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const std::string& Address() const { return address_; }
    const std::filesystem::path& Folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
    std::string address_;
    ChildProcess daemon_;
};

// An open inhibitor lock; the lock goes when this goes.
class InhibitorLock {
  public:
    explicit InhibitorLock(int fd) : fd_(fd) {}
    InhibitorLock(InhibitorLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    InhibitorLock(const InhibitorLock&) = delete;
    InhibitorLock& operator=(const InhibitorLock&) = delete;
    ~InhibitorLock();

  private:
    int fd_;
};

// python-dbusmock's logind template serving org.freedesktop.login1 on a private bus, and a
// connection of the test's own to drive it and read the calls it received.
class MockLogind {
  public:
    // `parameters` is the template's JSON parameter dictionary, empty for none. Throws when
    // python3-dbusmock is missing or the mock does not come up.
    explicit MockLogind(const PrivateBus& bus, const std::string& parameters = "");
    ~MockLogind();
    MockLogind(const MockLogind&) = delete;
    MockLogind& operator=(const MockLogind&) = delete;

    // The calls received since the last ClearCalls, as "Name(arg, ...)": booleans as
    // true/false, numbers in decimal, texts and object paths as they are.
    std::vector<std::string> Calls();
    void ClearCalls();
    // Adds or replaces a method of the manager; `code` is the mock's Python method body.
    void AddMethod(const std::string& name, const std::string& in, const std::string& out,
                   const std::string& code);
    void AddSession(const std::string& id, const std::string& seat, unsigned uid,
                    const std::string& user);
    InhibitorLock Inhibit(const std::string& what, const std::string& who, const std::string& why,
                          const std::string& mode);
    // Sends the manager's PrepareForSleep signal.
    void EmitPrepareForSleep(bool start);

  private:
    struct BusUnref {
        void operator()(sd_bus* bus) const;
    };

    ChildProcess mock_;
    std::unique_ptr<sd_bus, BusUnref> bus_;
};

}  // namespace vespar::linux_platform::test
