#include "app/command_line.h"

#include <gtest/gtest.h>

namespace vespar {
namespace {

TEST(CommandLine, SwitchMustStandAtTheStartExactly) {
    EXPECT_EQ(ParseCmdSwitch(""), 0);
    EXPECT_EQ(ParseCmdSwitch("-InhibitShutdown"), 1);
    EXPECT_EQ(ParseCmdSwitch("-AddErrorMessage"), 2);
    EXPECT_EQ(ParseCmdSwitch("-StartShutdown"), 3);
    EXPECT_EQ(ParseCmdSwitch("-InhibitAdmin"), 4);
    EXPECT_EQ(ParseCmdSwitch("-ShortUpdateTime"), 5);
    EXPECT_EQ(ParseCmdSwitch("-StartShutdownNow"), 3);  // only 14 characters compared
    EXPECT_EQ(ParseCmdSwitch("-inhibitshutdown"), 0);   // case matters
    EXPECT_EQ(ParseCmdSwitch(" -InhibitShutdown"), 0);
    EXPECT_EQ(ParseCmdSwitch("-AllowMulti -InhibitShutdown"), 0);
    EXPECT_EQ(ParseCmdSwitch("-InhibitShutdow"), 0);
}

TEST(CommandLine, AllowMultiOnlyAtTheEnd) {
    EXPECT_TRUE(AllowsMultipleInstances("-AllowMulti"));
    EXPECT_TRUE(AllowsMultipleInstances("-InhibitShutdown -AllowMulti"));
    EXPECT_EQ(ParseCmdSwitch("-InhibitShutdown -AllowMulti"), 1);
    EXPECT_FALSE(AllowsMultipleInstances("-AllowMulti -InhibitShutdown"));
    EXPECT_FALSE(AllowsMultipleInstances("-allowmulti"));
    EXPECT_FALSE(AllowsMultipleInstances("AllowMulti"));
    EXPECT_FALSE(AllowsMultipleInstances(""));
}

}  // namespace
}  // namespace vespar
