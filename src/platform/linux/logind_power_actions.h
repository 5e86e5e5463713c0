#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "system/power_actions.h"

struct sd_bus;

namespace vespar::linux_platform {

// How long a sleep request waits for the system to go to sleep, and once asleep for it to
// come back (monotonic time, which stands still while the system sleeps).
struct SleepWait {
    std::chrono::milliseconds toSleep{30000};
    std::chrono::milliseconds toResume{300000};
};

// The system actions through logind (org.freedesktop.login1) on D-Bus.
//
// The privilege steps become: the lookup connects to the bus and reaches logind; opening the
// token asks logind's Can* call for the prepared action, and an answer other than "yes" or
// "challenge" refuses it. Exit flags 1, 2 and 8 halt, reboot and power off; 0 ends this
// program's own session. Not forced, a block inhibitor on the action refuses it; forced,
// inhibitors are skipped where logind lets this user skip them. Errors keep the errno and
// the D-Bus error text for MessageText.
class LogindPowerActions : public PowerActions {
  public:
    // The system bus: the real program.
    LogindPowerActions();
    // The bus at a D-Bus address such as "unix:path=/tmp/x/bus".
    explicit LogindPowerActions(std::string busAddress, SleepWait wait = {});
    ~LogindPowerActions() override;
    LogindPowerActions(const LogindPowerActions&) = delete;
    LogindPowerActions& operator=(const LogindPowerActions&) = delete;

    void Prepare(PowerAction action) override;
    bool LookupPrivilege(const std::string& name) override;
    bool HaveCurrentProcess() override;
    bool OpenToken(std::uint32_t access) override;
    bool AdjustPrivileges() override;
    void CloseToken() override;
    bool ExitSession(std::uint32_t flags, std::uint32_t reason) override;
    bool Suspend(bool hibernate, bool forceCritical, bool disableWakeEvents) override;
    std::uint32_t LastErrorCode() override;
    std::string MessageText(std::uint32_t code) override;

  private:
    struct BusUnref {
        void operator()(sd_bus* bus) const;
    };
    struct Error {
        int code = 0;
        std::string text;  // the D-Bus error's message; empty for a plain errno
    };

    bool Connect();
    bool EnsureConnected();
    bool Fail(int code, std::string text = {});
    bool NotBlocked(PowerAction action);
    bool CallAction(PowerAction action, bool forced);
    std::optional<std::string> OwnSession();

    std::optional<std::string> address_;
    SleepWait wait_;
    std::unique_ptr<sd_bus, BusUnref> bus_;
    PowerAction prepared_ = PowerAction::PowerOff;
    Error last_;
};

}  // namespace vespar::linux_platform
