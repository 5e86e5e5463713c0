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
    // True once the request has been made, whether or not the system obeyed.
    bool HibernateSystem();
    bool StandbySystem();
    // The system's message for a code, or empty text.
    std::string SystemErrorText(std::uint32_t code);

  private:
    [[noreturn]] void Raise(std::int32_t offset, const std::string& description);
    // Enables the privilege for the action last prepared on the port.
    bool EnablePrivilege();
    std::string LastErrorText();

    PowerActions& power_;
    std::string source_;
};

}  // namespace vespar
