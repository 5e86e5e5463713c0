#include "platform/windows/token_admin_groups.h"

#include <gtest/gtest.h>

namespace vespar::windows_platform {
namespace {

// The test user is an administrator here (under Wine always); a standard user's answer is
// the same loop with no matching name and is left to the fakes of the core's tests.
TEST(TokenAdminGroups, AnAdministratorIsFound) {
    TokenAdminGroups groups;
    EXPECT_EQ(groups.InAdministratorsGroup(), std::optional<bool>(true));
}

}  // namespace
}  // namespace vespar::windows_platform
