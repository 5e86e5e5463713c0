#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"

struct sd_bus;
struct sd_bus_message;

namespace vespar::linux_platform::test {

using vespar::test::ChildProcess;

// A D-Bus daemon of its own on a socket in a temporary folder: nothing on it but what the
// test puts there, no service activation, and no way through to this machine's buses.
class PrivateBus {
  public:
    // Throws when dbus-daemon is missing or does not come up.
    PrivateBus();
    const std::string& Address() const { return address_; }
    const std::filesystem::path& Folder() const { return folder_.path(); }

  private:
    vespar::test::ScratchFolder folder_{"vespar-bus-"};
    std::optional<ChildProcess> daemon_;
    std::string address_;
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
    struct MessageUnref {
        void operator()(sd_bus_message* m) const;
    };
    using Message = std::unique_ptr<sd_bus_message, MessageUnref>;
    // Calls a method of the mock's manager object and returns the reply; throws on failure.
    template <class... Args>
    Message Call(const char* interface, const char* method, const char* types, Args... args);

    ChildProcess mock_;
    std::unique_ptr<sd_bus, BusUnref> bus_;
};

}  // namespace vespar::linux_platform::test
