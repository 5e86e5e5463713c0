#pragma once

#include "system/group_membership.h"

namespace vespar {

// Command-line switch value of "-InhibitAdmin".
constexpr int kInhibitAdminSwitch = 4;

// True for a member of the administrators group, unless the program was started with
// "-InhibitAdmin"; false whenever the answer cannot be had. Asked afresh on every call.
bool IsAdmin(GroupMembership& membership, int cmdSwitch);

}  // namespace vespar
