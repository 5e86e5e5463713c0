#include "platform/windows/named_mutex_guard.h"

#include <windows.h>

namespace vespar::windows_platform {

NamedMutexGuard::~NamedMutexGuard() {
    if (handle_ != nullptr) CloseHandle(handle_);
}

bool NamedMutexGuard::AlreadyRunning(const std::string& name) {
    if (handle_ != nullptr) return false;
    HANDLE handle = CreateMutexA(nullptr, TRUE, name.c_str());
    const DWORD error = GetLastError();
    if (handle != nullptr && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return true;
    }
    // A mutex that cannot be made at all guards nothing; the program runs unguarded rather
    // than not at all.
    handle_ = handle;
    return false;
}

}  // namespace vespar::windows_platform
