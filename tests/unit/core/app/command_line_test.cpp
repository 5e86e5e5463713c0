#include "app/command_line.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vespar {
namespace {

TEST(CommandLine, SwitchAtTheStartAndAllowMultiAtTheEnd) {
    // Only 14 characters of the switch are compared; case matters.
    // clang-format off
    const std::tuple<const char*, int, bool> cases[] = {
        {"", 0, false}, {"-InhibitShutdown", 1, false}, {"-AddErrorMessage", 2, false},
        {"-StartShutdown", 3, false}, {"-InhibitAdmin", 4, false}, {"-ShortUpdateTime", 5, false},
        {"-StartShutdownNow", 3, false}, {"-inhibitshutdown", 0, false},
        {" -InhibitShutdown", 0, false}, {"-InhibitShutdow", 0, false}, {"-AllowMulti", 0, true},
        {"-AllowMulti -InhibitShutdown", 0, false}, {"-InhibitShutdown -AllowMulti", 1, true},
        {"-allowmulti", 0, false}, {"AllowMulti", 0, false}};
    // clang-format on
    for (const auto& [line, sw, multi] : cases) {
        EXPECT_EQ(ParseCmdSwitch(line), sw) << line;
        EXPECT_EQ(AllowsMultipleInstances(line), multi) << line;
    }
}

}  // namespace
}  // namespace vespar
