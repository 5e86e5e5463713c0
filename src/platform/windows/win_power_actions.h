#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "system/power_actions.h"

namespace vespar::windows_platform {

// The two calls that end the session or put the computer to sleep, replaceable so that the
// steps around them can be exercised on a machine that must stay on.
struct PowerCalls {
    std::function<bool(std::uint32_t flags, std::uint32_t reason)> exitWindows;
    std::function<bool(bool hibernate, bool forceCritical, bool disableWakeEvents)> suspend;

    // ExitWindowsEx and SetSuspendState.
    static PowerCalls System();
};

// The shutdown privilege in the process token, and the system calls of the actions.
class WinPowerActions : public PowerActions {
  public:
    explicit WinPowerActions(PowerCalls calls = PowerCalls::System()) : calls_(std::move(calls)) {}
    ~WinPowerActions() override;
    WinPowerActions(const WinPowerActions&) = delete;
    WinPowerActions& operator=(const WinPowerActions&) = delete;

    void Prepare(PowerAction) override {}  // one privilege covers every action
    bool LookupPrivilege(const std::string& name) override;
    bool HaveCurrentProcess() override;
    bool OpenToken(std::uint32_t access) override;
    bool AdjustPrivileges() override;
    void CloseToken() override;
    bool ExitSession(std::uint32_t flags, std::uint32_t reason) override;
    bool Suspend(bool hibernate, bool forceCritical, bool disableWakeEvents) override;
    std::uint32_t LastErrorCode() override;
    std::string MessageText(std::uint32_t code) override;

  private:
    PowerCalls calls_;
    std::uint32_t luidLow_ = 0;
    std::int32_t luidHigh_ = 0;
    void* token_ = nullptr;
};

}  // namespace vespar::windows_platform
