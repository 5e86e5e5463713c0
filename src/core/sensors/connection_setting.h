#pragma once

namespace vespar {

// The per-user "Connection" setting: the list position of the preferred network interface.
class ConnectionSetting {
  public:
    virtual ~ConnectionSetting() = default;
    // 0 when the setting is absent.
    virtual int ReadConnectionSetting() = 0;
};

}  // namespace vespar
