#include "system/shutdown.h"

namespace vespar {
namespace {

constexpr char kShutdownPrivilege[] = "SeShutdownPrivilege";
constexpr std::uint32_t kTokenAdjustAndQuery = 0x28;
constexpr std::uint32_t kReasonAllOnes = 0xFFFFFFFFu;

}  // namespace

void ShutdownActions::Raise(std::int32_t offset, const std::string& description) {
    throw SystemError(ObjectErrorNumber(offset), source_, description);
}

std::string ShutdownActions::SystemErrorText(std::uint32_t code) {
    return power_.MessageText(code);
}

std::string ShutdownActions::LastErrorText() { return SystemErrorText(power_.LastErrorCode()); }

bool ShutdownActions::EnableShutdownPrivilege() {
    power_.Prepare(PowerAction::PowerOff);
    return EnablePrivilege();
}

bool ShutdownActions::EnablePrivilege() {
    if (!power_.LookupPrivilege(kShutdownPrivilege)) {
        Raise(kNoShutdownPrivilegeValue,
              "Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. [" +
                  LastErrorText() + "]");
    }
    if (!power_.HaveCurrentProcess()) {
        Raise(kNoCurrentProcess, "Can't enable shutdown: Can't determine the current process. [" +
                                     LastErrorText() + "]");
    }
    const std::string noPrivileges =
        "Can't enable shutdown: You do not have the privileges to shutdown this system. [";
    if (!power_.OpenToken(kTokenAdjustAndQuery)) {
        Raise(kNoShutdownPrivileges, noPrivileges + LastErrorText() + "]");
    }
    if (!power_.AdjustPrivileges()) {
        const std::string text = LastErrorText();
        // Close the token on this path too; the error ends the program, not the handle's use.
        power_.CloseToken();
        Raise(kNoShutdownPrivileges, noPrivileges + text + "]");
    }
    power_.CloseToken();
    return true;
}

bool ShutdownActions::ShutdownSystem(std::int32_t flags) {
    if (flags < 0 || flags > 31) {
        Raise(kInvalidShutdownFlags,
              "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
    }
    power_.Prepare(ExitAction(static_cast<std::uint32_t>(flags)));
    EnablePrivilege();
    if (!power_.ExitSession(static_cast<std::uint32_t>(flags), kReasonAllOnes)) {
        Raise(kShutdownFailed, "ShutdownSystem failed: " + LastErrorText());
    }
    return true;
}

bool ShutdownActions::Sleep(PowerAction action, bool hibernate) {
    refusal_.clear();
    power_.Prepare(action);
    try {
        EnablePrivilege();
    } catch (const SystemError& error) {
        refusal_ = error.Description();
        return false;
    }
    if (!power_.Suspend(hibernate, true, false)) {
        refusal_ = std::string(hibernate ? "Hibernate" : "Standby") + " failed: " + LastErrorText();
        return false;
    }
    return true;
}

bool ShutdownActions::HibernateSystem() { return Sleep(PowerAction::Hibernate, true); }

bool ShutdownActions::StandbySystem() { return Sleep(PowerAction::Standby, false); }

}  // namespace vespar
