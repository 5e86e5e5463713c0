#pragma once

#include <string>

#include "system/group_membership.h"

namespace vespar::linux_platform {

// The groups whose members may administer the system: "sudo" (Debian, Ubuntu), "wheel"
// (Fedora, Arch), "admin" (older Ubuntu). Exact, case-sensitive names.
bool IsAdministratorsGroupName(const std::string& name);

// Root, or a process whose group list (effective and supplementary groups, as granted at
// login) holds one of the administrators groups; nothing when the list cannot be had.
class AdminGroups : public GroupMembership {
  public:
    std::optional<bool> InAdministratorsGroup() override;
};

}  // namespace vespar::linux_platform
