#include <gtest/gtest.h>

#include <algorithm>

#include "program_fixture.h"

namespace vespar::test {
namespace {

// The configuration load asks the version which load measurement to use: the native
// counters on NT 5.0 only, the system times everywhere else. The shipped configuration
// watches the processor load after a 2-second start delay.
TEST_F(ProgramTest, TheLoadedVersionChoosesTheLoadMeasurement) {
    const struct {
        PlatformVersion version;
        int method;
    } cases[] = {{{2, 5, 0}, 1}, {{2, 5, 1}, 2}, {{2, 10, 0}, 2}};
    for (const auto& c : cases) {
        sys.version.version = c.version;
        sys.nativeCounters.calls.clear();
        program.ReloadConfiguration();
        EXPECT_EQ(program.runtime().winVersion, c.method);
        // The native references are taken at every load, whatever the version.
        EXPECT_EQ(sys.nativeCounters.calls, (std::vector<char>{'t', 'p'}));
    }
    sys.version.version = PlatformVersion{2, 5, 0};
    Start("");
    time.Advance(6000);
    const auto& calls = sys.nativeCounters.calls;
    EXPECT_NE(std::find(calls.begin(), calls.end(), 'b'), calls.end());  // Query reads the count
}

}  // namespace
}  // namespace vespar::test
