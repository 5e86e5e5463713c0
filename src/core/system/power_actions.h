#pragma once

#include <cstdint>
#include <string>

namespace vespar {

// Exit-windows flags.
constexpr std::int32_t kLogOffFlags = 0;
constexpr std::int32_t kShutdownFlags = 1;
constexpr std::int32_t kRebootFlags = 2;
constexpr std::int32_t kForceFlag = 4;
constexpr std::int32_t kPowerOffFlags = 8;

// The system action a privilege check and the call after it are for.
enum class PowerAction { LogOff, Shutdown, Reboot, PowerOff, Hibernate, Standby, Unknown };

// The action named by exit-windows flags, the force bit and the higher bits aside; Unknown
// when the flags combine several actions.
constexpr PowerAction ExitAction(std::uint32_t flags) {
    switch (flags & static_cast<std::uint32_t>(kShutdownFlags | kRebootFlags | kPowerOffFlags)) {
        case kLogOffFlags:
            return PowerAction::LogOff;
        case kShutdownFlags:
            return PowerAction::Shutdown;
        case kRebootFlags:
            return PowerAction::Reboot;
        case kPowerOffFlags:
            return PowerAction::PowerOff;
        default:
            return PowerAction::Unknown;
    }
}

// The platform calls behind the system actions. The token opened by OpenToken is
// the one AdjustPrivileges and CloseToken work on.
class PowerActions {
  public:
    virtual ~PowerActions() = default;

    // Names the action the next privilege steps and call are for: a platform whose
    // permission depends on the action (logind asks per action) checks that one.
    virtual void Prepare(PowerAction action) = 0;

    // Finds the locally unique identifier of the named privilege on this system.
    virtual bool LookupPrivilege(const std::string& name) = 0;
    // False when no handle for the current process can be had.
    virtual bool HaveCurrentProcess() = 0;
    virtual bool OpenToken(std::uint32_t access) = 0;
    // Enables the privilege found by the last lookup in the open token.
    virtual bool AdjustPrivileges() = 0;
    virtual void CloseToken() = 0;

    // Logs off or shuts down, reboots or powers off; true when the request was accepted.
    virtual bool ExitSession(std::uint32_t flags, std::uint32_t reason) = 0;
    // Returns when the system resumes.
    virtual bool Suspend(bool hibernate, bool forceCritical, bool disableWakeEvents) = 0;

    // The calling thread's last error code.
    virtual std::uint32_t LastErrorCode() = 0;
    // The system's message for an error code, as the system gives it; empty when it has none.
    virtual std::string MessageText(std::uint32_t code) = 0;
};

}  // namespace vespar
