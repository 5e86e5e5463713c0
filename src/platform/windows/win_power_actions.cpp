#include "platform/windows/win_power_actions.h"

#include <windows.h>
// After windows.h, which it needs.
#include <powrprof.h>

#include <array>

namespace vespar::windows_platform {

PowerCalls PowerCalls::System() {
    return {
        [](std::uint32_t flags, std::uint32_t reason) { return ExitWindowsEx(flags, reason) != 0; },
        [](bool hibernate, bool forceCritical, bool disableWakeEvents) {
            return SetSuspendState(hibernate, forceCritical, disableWakeEvents) != 0;
        }};
}

WinPowerActions::~WinPowerActions() { CloseToken(); }

bool WinPowerActions::LookupPrivilege(const std::string& name) {
    LUID luid{};
    if (LookupPrivilegeValueA(nullptr, name.c_str(), &luid) == 0) return false;
    luidLow_ = luid.LowPart;
    luidHigh_ = luid.HighPart;
    return true;
}

bool WinPowerActions::HaveCurrentProcess() { return GetCurrentProcess() != nullptr; }

bool WinPowerActions::OpenToken(std::uint32_t access) {
    CloseToken();
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), access, &token) == 0) return false;
    token_ = token;
    return true;
}

bool WinPowerActions::AdjustPrivileges() {
    if (token_ == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid.LowPart = luidLow_;
    privileges.Privileges[0].Luid.HighPart = luidHigh_;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    return AdjustTokenPrivileges(token_, FALSE, &privileges, sizeof previous, &previous,
                                 &previousLength) != 0;
}

void WinPowerActions::CloseToken() {
    if (token_ != nullptr) CloseHandle(token_);
    token_ = nullptr;
}

bool WinPowerActions::ExitSession(std::uint32_t flags, std::uint32_t reason) {
    return calls_.exitWindows(flags, reason);
}

bool WinPowerActions::Suspend(bool hibernate, bool forceCritical, bool disableWakeEvents) {
    return calls_.suspend(hibernate, forceCritical, disableWakeEvents);
}

std::uint32_t WinPowerActions::LastErrorCode() { return GetLastError(); }

std::string WinPowerActions::MessageText(std::uint32_t code) {
    std::array<char, 256> buffer{};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buffer.data(), 255, nullptr);
    return std::string(buffer.data(), n);
}

}  // namespace vespar::windows_platform
