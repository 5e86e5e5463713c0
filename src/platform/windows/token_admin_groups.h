#pragma once

#include "system/group_membership.h"

namespace vespar::windows_platform {

// Whether a group of the process token carries the account name of the built-in
// Administrators group (its name is localised, so it is looked up, not written down). The
// whole group list is read, however long.
class TokenAdminGroups : public GroupMembership {
  public:
    std::optional<bool> InAdministratorsGroup() override;
};

}  // namespace vespar::windows_platform
