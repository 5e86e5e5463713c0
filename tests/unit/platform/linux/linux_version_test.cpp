#include "platform/linux/linux_version.h"

#include <gtest/gtest.h>

namespace vespar::linux_platform {
namespace {

TEST(LinuxVersion, ReportsTheKernelReleaseOutsideTheNtFamily) {
    LinuxVersion source;
    const auto version = source.Read();
    ASSERT_TRUE(version.has_value());
    EXPECT_NE(version->platformId, 2);  // never taken for Windows 2000
    EXPECT_GE(version->major, 2);       // every kernel with /proc/stat times is 2.x or later
    EXPECT_GE(version->minor, 0);
}

}  // namespace
}  // namespace vespar::linux_platform
