#pragma once

#include <string>

#include "sensors/connection_setting.h"

namespace vespar::windows_platform {

// The per-user "Connection" value of the program's settings, section "Setting":
// HKEY_CURRENT_USER\Software\<app>\Setting, as text or as a number. Only read: the program
// never writes it.
class RegistryConnectionSetting : public ConnectionSetting {
  public:
    explicit RegistryConnectionSetting(std::string appName = "Vespar")
        : key_("Software\\" + appName + "\\Setting") {}
    int ReadConnectionSetting() override;

  private:
    std::string key_;
};

}  // namespace vespar::windows_platform
