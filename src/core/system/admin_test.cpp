#include "system/admin_test.h"

namespace vespar {

bool IsAdmin(GroupMembership& membership, int cmdSwitch) {
    if (cmdSwitch == kInhibitAdminSwitch) return false;
    return membership.InAdministratorsGroup().value_or(false);
}

}  // namespace vespar
