#include "platform/windows/shell_url_opener.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>

namespace vespar::windows_platform {

int ShellUrlOpener::Open(const std::string& url) {
    HINSTANCE result = ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Not a handle: a number, 32 or above for success.
    return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}

}  // namespace vespar::windows_platform
