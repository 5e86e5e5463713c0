#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "system/group_membership.h"
#include "system/power_actions.h"

namespace vespar::test {

// Platform power calls that never touch this machine: every call is recorded in `calls`,
// each step succeeds unless the test says otherwise.
struct FakePowerActions : PowerActions {
    bool lookupOk = true, processOk = true, tokenOk = true, adjustOk = true, exitOk = true;
    bool suspendOk = true;
    std::uint32_t lastError = 5;
    std::vector<std::string> calls;

    void Prepare(PowerAction action) override {
        static constexpr const char* kNames[] = {"LogOff",    "Shutdown", "Reboot", "PowerOff",
                                                 "Hibernate", "Standby",  "Unknown"};
        calls.push_back(std::string("Prepare ") + kNames[static_cast<int>(action)]);
    }
    bool LookupPrivilege(const std::string& name) override {
        return Call("LookupPrivilege " + name, lookupOk);
    }
    bool HaveCurrentProcess() override { return Call("CurrentProcess", processOk); }
    bool OpenToken(std::uint32_t access) override {
        return Call("OpenToken " + std::to_string(access), tokenOk);
    }
    bool AdjustPrivileges() override { return Call("AdjustPrivileges", adjustOk); }
    void CloseToken() override { calls.push_back("CloseToken"); }
    bool ExitSession(std::uint32_t flags, std::uint32_t reason) override {
        return Call("ExitSession " + std::to_string(flags) + " " + std::to_string(reason), exitOk);
    }
    bool Suspend(bool hibernate, bool forceCritical, bool disableWakeEvents) override {
        return Call("Suspend " + std::to_string(hibernate) + std::to_string(forceCritical) +
                        std::to_string(disableWakeEvents),
                    suspendOk);
    }
    std::uint32_t LastErrorCode() override { return Call("LastErrorCode", lastError); }
    std::string MessageText(std::uint32_t code) override {
        return Call("MessageText " + std::to_string(code), std::string("Access is denied.\r\n"));
    }

  private:
    template <typename T>
    T Call(std::string call, T answer) {
        calls.push_back(std::move(call));
        return answer;
    }
};

struct FakeGroupMembership : GroupMembership {
    std::optional<bool> answer = true;
    int asked = 0;
    std::optional<bool> InAdministratorsGroup() override {
        ++asked;
        return answer;
    }
};

}  // namespace vespar::test
