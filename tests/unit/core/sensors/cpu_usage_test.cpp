#include "sensors/cpu_usage.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

#include "fakes/fake_sensors.h"

namespace vespar {
namespace {

struct CpuUsageTest : ::testing::Test {
    test::FakeSystemTimes times;
    test::FakeNativeCounters native;
    test::FakeVersionSource version;
    CpuUsageSampler sampler{times, native, version};
};

TEST_F(CpuUsageTest, VersionSelectsTheNativeMethodOnlyForNt50) {
    for (const auto v : {PlatformVersion{2, 5, 1}, PlatformVersion{2, 6, 1},
                         PlatformVersion{2, 10, 0}, PlatformVersion{1, 5, 0}}) {
        version.version = v;
        EXPECT_EQ(sampler.GetVersion(), 2) << v.platformId << " " << v.major << "." << v.minor;
    }
    version.version.reset();
    EXPECT_EQ(sampler.GetVersion(), 2);
    version.version = PlatformVersion{2, 5, 0};
    EXPECT_EQ(sampler.GetVersion(), 1);
}

TEST_F(CpuUsageTest, SystemTimesTruncateTheLoad) {
    times.idle = 5'000'000'000;
    times.kernel = 8'000'000'000;
    times.user = 3'000'000'000;
    sampler.Initialise64();
    // Only the 1-microsecond allowance: busy and total are equal.
    EXPECT_EQ(sampler.Query64(), 100);

    times.Advance(9'000'000, 10'000'000, 0);
    EXPECT_EQ(sampler.Query64(), 10);  // 100 * 1,000,010 / 10,000,010 = 10.00009...

    times.Advance(1'000, 10'000'000, 0);
    EXPECT_EQ(sampler.Query64(), 99);  // 99.98..., never rounded up

    times.Advance(5'000'000, 4'000'000, 6'000'000);
    EXPECT_EQ(sampler.Query64(), 50);
}

TEST_F(CpuUsageTest, FailedSystemTimesReadCountsAsFailureNotIdle) {
    // A failed first reference: the first query measures from zero, total 10,010, busy 7,010.
    times.Advance(3'000, 4'000, 6'000);
    times.ok = false;
    sampler.Initialise64();
    times.ok = true;
    EXPECT_EQ(sampler.Query64(), 70);

    times.Advance(9'000'000, 10'000'000, 0);
    times.ok = false;
    EXPECT_EQ(sampler.Query64(), -1);
    // The references stayed, so the next reading covers the whole interval.
    times.ok = true;
    times.Advance(0, 0, 10'000'000);
    EXPECT_EQ(sampler.Query64(), 55);  // 100 * 11,000,010 / 20,000,010
}

TEST_F(CpuUsageTest, CountersThatJumpGiveFailedReadingsNeverAWrappedLoad) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    // From 0/0/0: more idle than time (a negative load), idle running backwards (65536 % that
    // 16 bits would wrap to 0), and steps that overflow 64 bits.
    const std::array<std::int64_t, 3> steps[] = {{20'000'000, 10'000'000, 0},
                                                 {-6'553'500, 90, 0},
                                                 {0, kMax, 0},
                                                 {0, 10, kMax},
                                                 {-kMax, 10, 0}};
    for (const auto& [idle, kernel, user] : steps) {
        times.idle = times.kernel = times.user = 0;
        sampler.Initialise64();
        times.Advance(idle, kernel, user);
        EXPECT_EQ(sampler.Query64(), -1) << idle << " " << kernel << " " << user;
    }
    sampler.Initialize();
    native.timeOfDay = 10'000'000;
    native.idleTime = 30'000'000;  // idle three times the elapsed time
    EXPECT_EQ(sampler.Query(), -1);
    native.timeOfDay = kMax;
    native.idleTime = -kMax;
    EXPECT_EQ(sampler.Query(), -1);
}

TEST_F(CpuUsageTest, NativeMethodRoundsToNearestPercentAndAFailedRecordIsNoLoad) {
    native.timeOfDay = 1'000'000'000;
    native.idleTime = 2'000'000'000;
    sampler.Initialize();
    // A failed initialisation takes nothing.
    native.timeOfDay = 1'500'000'000;
    native.idleTime.reset();
    sampler.Initialize();
    // The processor count, time of day and idle time read; the load; the records asked for.
    const std::tuple<std::optional<int>, std::optional<std::int64_t>, std::optional<std::int64_t>,
                     std::int32_t, std::string>
        steps[] = {
            {2, 1'010'000'000, 2'015'000'000, 25, "btp"},  // r = 1.5, v = 25.5
            {1, 1'020'000'000, 2'024'950'000, 1, "btp"},   // r = 0.995, v = 1.0: a half rounds up
            // No time passed: no division, idle counted in ms (zero here).
            {1, 1'020'000'000, 2'024'950'000, 100, "btp"},
            // 256 processors: v = 50.99996..., which four decimals make 51, not floored to 50.
            {256, 1'030'000'000, 3'292'151'000, 51, "btp"},
            // A failed record stops the reading; the references stay.
            {std::nullopt, 1'040'000'000, 3'297'151'000, -1, "b"},
            {1, 1'040'000'000, std::nullopt, -1, "btp"},
            {1, 1'040'000'000, 3'297'151'000, 50, "btp"},  // idle 5,000,000 of 10,000,000
            {0, 1'050'000'000, 3'302'151'000, -1, "btp"},
            {1, std::nullopt, 3'302'151'000, -1, "bt"},
        };
    for (const auto& [processors, timeOfDay, idleTime, load, calls] : steps) {
        std::tie(native.processors, native.timeOfDay, native.idleTime) =
            std::tie(processors, timeOfDay, idleTime);
        native.calls.clear();
        EXPECT_EQ(sampler.Query(), load) << timeOfDay.value_or(-1) << " " << idleTime.value_or(-1);
        EXPECT_EQ(std::string(native.calls.begin(), native.calls.end()), calls);
    }
}

}  // namespace
}  // namespace vespar
