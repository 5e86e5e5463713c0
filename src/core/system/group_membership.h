#pragma once

#include <optional>

namespace vespar {

// Whether the user running the program belongs to the local administrators group; nothing
// when any step of finding out fails.
class GroupMembership {
  public:
    virtual ~GroupMembership() = default;
    virtual std::optional<bool> InAdministratorsGroup() = 0;
};

}  // namespace vespar
