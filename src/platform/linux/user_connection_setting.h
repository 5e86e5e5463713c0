#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "sensors/connection_setting.h"

namespace vespar::linux_platform {

// The "Connection" key of section "[Setting]" in the per-user settings file
// $XDG_CONFIG_HOME/<app>/<app>.conf (~/.config when unset). Only read: the program never
// writes it.
class UserConnectionSetting : public ConnectionSetting {
  public:
    explicit UserConnectionSetting(std::string appName = "Vespar");
    int ReadConnectionSetting() override;

    // Where the settings file lies for the current environment, or nothing without a home.
    std::optional<std::filesystem::path> SettingsFile() const;

  private:
    std::string appName_;
};

}  // namespace vespar::linux_platform
