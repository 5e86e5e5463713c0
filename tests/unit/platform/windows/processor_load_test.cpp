#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "platform/windows/nt_native_counters.h"
#include "platform/windows/system_times_source.h"
#include "platform/windows/windows_version.h"
#include "sensors/cpu_usage.h"

namespace vespar::windows_platform {
namespace {

// Keeps this thread busy for a while, so that the counters have something to count.
void Spin(std::chrono::milliseconds length) {
    const auto end = std::chrono::steady_clock::now() + length;
    volatile unsigned long sink = 0;
    while (std::chrono::steady_clock::now() < end) sink = sink + 1;
}

// The real counters over a busy while, and the sampler's two methods on them, which give a
// load from 0 to 100 only when the counters' units agree. The version read is an NT one,
// which selects the system times.
TEST(ProcessorLoad, TheRealCountersMoveForwardAndGiveALoadFrom0To100) {
    SystemTimesSource times;
    NtNativeCounters native;
    WindowsVersion version;
    const auto read = version.Read();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->platformId, VER_PLATFORM_WIN32_NT);
    EXPECT_GE(read->major, 6);
    const auto processors = native.ProcessorCount();
    ASSERT_TRUE(processors.has_value());
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    EXPECT_EQ(*processors, static_cast<int>(info.dwNumberOfProcessors));

    std::int64_t idle1 = 0, kernel1 = 0, user1 = 0;
    ASSERT_TRUE(times.Read(idle1, kernel1, user1));
    const auto time1 = native.TimeOfDay();
    const auto idleProcess1 = native.IdleProcessTime();
    ASSERT_TRUE(time1 && idleProcess1);
    // The time of day is the system time as a file time.
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto fileTime = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    EXPECT_NEAR(static_cast<double>(*time1), static_cast<double>(fileTime), 50'000'000.0);

    CpuUsageSampler sampler(times, native, version);
    sampler.Initialize();
    sampler.Initialise64();
    for (int i = 0; i < 3; ++i) {
        Spin(std::chrono::milliseconds(150));
        for (const std::int32_t load : {sampler.Query(), sampler.Query64()}) {
            EXPECT_GE(load, 0);
            EXPECT_LE(load, 100);
        }
    }

    // Kernel time holds idle time.
    std::int64_t idle2 = 0, kernel2 = 0, user2 = 0;
    ASSERT_TRUE(times.Read(idle2, kernel2, user2));
    EXPECT_GE(idle2, idle1);
    EXPECT_GE(kernel2, kernel1);
    EXPECT_GE(user2, user1);
    EXPECT_GT((kernel2 - kernel1) + (user2 - user1), 0);
    EXPECT_LE(idle2, kernel2);
    EXPECT_GT(*native.TimeOfDay(), *time1);
    EXPECT_GE(*native.IdleProcessTime(), *idleProcess1);
}

}  // namespace
}  // namespace vespar::windows_platform
