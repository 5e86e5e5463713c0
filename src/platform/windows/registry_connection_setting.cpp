#include "platform/windows/registry_connection_setting.h"

#include <windows.h>

#include <array>
#include <cstring>

#include "base/numbers.h"

namespace vespar::windows_platform {

int RegistryConnectionSetting::ReadConnectionSetting() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    std::array<unsigned char, 256> data{};
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size() - 1);  // room for a missing terminator
    const LONG result = RegQueryValueExA(key, "Connection", nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return 0;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return static_cast<int>(value);
    }
    if (type != REG_SZ) return 0;
    // A value out of range is as good as none.
    return ToInt32(NumberAtStart(reinterpret_cast<const char*>(data.data()))).value_or(0);
}

}  // namespace vespar::windows_platform
