#include "system/admin_test.h"

#include <gtest/gtest.h>

#include "fakes/fake_power.h"

namespace vespar {
namespace {

TEST(IsAdmin, FollowsGroupMembershipUnlessInhibited) {
    test::FakeGroupMembership groups;
    EXPECT_TRUE(IsAdmin(groups, 0));
    groups.answer = false;
    EXPECT_FALSE(IsAdmin(groups, 0));
    groups.answer.reset();  // the lookup failed
    EXPECT_FALSE(IsAdmin(groups, 0));
    EXPECT_EQ(groups.asked, 3);  // asked afresh every time

    groups.answer = true;
    EXPECT_FALSE(IsAdmin(groups, kInhibitAdminSwitch));
    EXPECT_TRUE(IsAdmin(groups, 1));  // other switches do not matter
}

}  // namespace
}  // namespace vespar
