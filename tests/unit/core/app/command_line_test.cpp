#include "app/command_line.h"

#include <gtest/gtest.h>

#include <utility>

namespace vespar {
namespace {

TEST(CommandLine, SwitchMustStandAtTheStartExactly) {
    // Only 14 characters are compared; case matters.
    const std::pair<const char*, int> cases[] = {{"", 0},
                                                 {"-InhibitShutdown", 1},
                                                 {"-AddErrorMessage", 2},
                                                 {"-StartShutdown", 3},
                                                 {"-InhibitAdmin", 4},
                                                 {"-ShortUpdateTime", 5},
                                                 {"-StartShutdownNow", 3},
                                                 {"-inhibitshutdown", 0},
                                                 {" -InhibitShutdown", 0},
                                                 {"-AllowMulti -InhibitShutdown", 0},
                                                 {"-InhibitShutdow", 0},
                                                 {"-InhibitShutdown -AllowMulti", 1}};
    for (const auto& [line, sw] : cases) EXPECT_EQ(ParseCmdSwitch(line), sw) << line;
}

TEST(CommandLine, AllowMultiOnlyAtTheEnd) {
    EXPECT_TRUE(AllowsMultipleInstances("-AllowMulti"));
    EXPECT_TRUE(AllowsMultipleInstances("-InhibitShutdown -AllowMulti"));
    for (const char* line : {"-AllowMulti -InhibitShutdown", "-allowmulti", "AllowMulti", ""})
        EXPECT_FALSE(AllowsMultipleInstances(line)) << line;
}

}  // namespace
}  // namespace vespar
