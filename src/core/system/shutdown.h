#pragma once

#include <cstdint>
#include <string>

#include "base/system_error.h"
#include "system/power_actions.h"

namespace vespar {

// The final system actions. Every failure raises a SystemError whose source is the
// executable's name followed by ".mShutDown".
class ShutdownActions {
  public:
    ShutdownActions(PowerActions& power, const std::string& executableName)
        : power_(power), source_(executableName + ".mShutDown") {}

    // Flags 0..31 only; raises before touching any privilege otherwise.
    bool ShutdownSystem(std::int32_t flags);
    // Enables the privilege to power the system off.
    bool EnableShutdownPrivilege();
    // Hibernates or stands by and returns when the system resumes. A refusal (the system
    // does not allow it, or the call fails) raises nothing: a computer that cannot sleep must
    // go on being watched. False then, with the reason in Refusal().
    bool HibernateSystem();
    bool StandbySystem();
    const std::string& Refusal() const { return refusal_; }
    // The system's message for a code, or empty text.
    std::string SystemErrorText(std::uint32_t code);

  private:
    [[noreturn]] void Raise(std::int32_t offset, const std::string& description);
    // Enables the privilege for the action last prepared on the port.
    bool EnablePrivilege();
    std::string LastErrorText();
    bool Sleep(PowerAction action, bool hibernate);

    PowerActions& power_;
    std::string source_;
    std::string refusal_;
};

}  // namespace vespar
