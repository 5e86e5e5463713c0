#include "platform/windows/token_admin_groups.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vespar::windows_platform {
namespace {

struct HandleCloser {
    void operator()(void* handle) const { CloseHandle(handle); }
};
struct SidFreer {
    void operator()(void* sid) const { FreeSid(sid); }
};

// The account name of an identifier, or nothing when it has none.
std::optional<std::string> AccountName(PSID sid) {
    std::array<char, 256> name{};
    std::array<char, 256> domain{};
    DWORD nameLength = 255;
    DWORD domainLength = 255;
    SID_NAME_USE use{};
    if (LookupAccountSidA(nullptr, sid, name.data(), &nameLength, domain.data(), &domainLength,
                          &use) == 0)
        return std::nullopt;
    return std::string(name.data());
}

}  // namespace

std::optional<bool> TokenAdminGroups::InAdministratorsGroup() {
    HANDLE raw = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &raw) == 0) return std::nullopt;
    const std::unique_ptr<void, HandleCloser> token(raw);

    DWORD size = 0;
    if (GetTokenInformation(raw, TokenGroups, nullptr, 0, &size) != 0 || size == 0)
        return std::nullopt;
    // 8-byte elements keep the group record aligned for its pointers' first field.
    std::vector<ULONGLONG> buffer((size + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
    if (GetTokenInformation(raw, TokenGroups, buffer.data(), size, &size) == 0) return std::nullopt;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());

    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID adminSid = nullptr;
    if (AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                 0, 0, 0, 0, &adminSid) == 0)
        return std::nullopt;
    const std::unique_ptr<void, SidFreer> admins(adminSid);
    const auto reference = AccountName(adminSid);
    if (!reference) return std::nullopt;

    // Names, not identifiers, are compared; a group without a name never matches.
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (AccountName(groups->Groups[i].Sid) == reference) return true;
    }
    return false;
}

}  // namespace vespar::windows_platform
