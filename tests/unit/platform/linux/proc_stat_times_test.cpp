#include "platform/linux/proc_stat_times.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>

#include "fakes/temp_program_folder.h"
#include "tree_writer.h"

namespace vespar::linux_platform {
namespace {

using test::Put;

std::int64_t Units(std::int64_t ticks) { return ticks * 10'000'000 / sysconf(_SC_CLK_TCK); }

TEST(ProcStatTimes, MapsTheAggregateLineToIdleKernelAndUser) {
    vespar::test::TempProgramFolder root;
    ProcStatTimes times(root.path());
    std::int64_t idle = -1, kernel = -1, user = -1;

    // user nice system idle iowait irq softirq steal guest guest_nice; cpu0 must be ignored.
    Put(root.path(), "proc/stat",
        "cpu  100 20 300 4000 50 6 7 8 9 10\n"
        "cpu0 1 1 1 1 1 1 1 1 1 1\n"
        "intr 12345\n");
    ASSERT_TRUE(times.Read(idle, kernel, user));
    EXPECT_EQ(idle, Units(4000 + 50));
    EXPECT_EQ(kernel, Units(300 + 6 + 7 + 4000 + 50));  // kernel includes idle
    EXPECT_EQ(user, Units(100 + 20 + 8));               // guest is already in user

    // Kernels before iowait and steal existed: the missing columns count as zero.
    Put(root.path(), "proc/stat", "cpu 1 2 3 4\n");
    ASSERT_TRUE(times.Read(idle, kernel, user));
    EXPECT_EQ(idle, Units(4));
    EXPECT_EQ(kernel, Units(3 + 4));
    EXPECT_EQ(user, Units(1 + 2));

    // A tick count whose naive conversion would overflow 64 bits is still exact.
    const std::int64_t hz = sysconf(_SC_CLK_TCK);
    const std::int64_t many = hz << 36;
    Put(root.path(), "proc/stat", "cpu 0 0 0 " + std::to_string(many) + " 0 0 0 0\n");
    ASSERT_TRUE(times.Read(idle, kernel, user));
    EXPECT_EQ(idle, (std::int64_t{1} << 36) * 10'000'000);
    EXPECT_EQ(kernel, idle);
    EXPECT_EQ(user, 0);
}

TEST(ProcStatTimes, UnreadableOrMalformedStatIsAFailure) {
    vespar::test::TempProgramFolder root;
    ProcStatTimes times(root.path());
    std::int64_t idle = 0, kernel = 0, user = 0;

    EXPECT_FALSE(times.Read(idle, kernel, user));  // no proc/stat at all

    for (const char* text :
         {"cpu 1 2 x 4 5\n", "cpu 1 2 3\n", "cpu -1 2 3 4\n",
          "cpu 1 2 3 99999999999999999999999 5\n", "cpu0 1 2 3 4 5\n", "intr 1 2 3\n", "",
          "cpu 1 2 3 4abc\n",
          // counts whose sums or 100-ns units pass 64 bits
          "cpu 0 0 0 18446744073709551615 1\n", "cpu 0 0 0 9223372036854775807 0\n"}) {
        Put(root.path(), "proc/stat", text);
        EXPECT_FALSE(times.Read(idle, kernel, user)) << text;
    }
}

TEST(ProcStatTimes, ReadsTheRealSystemTimes) {
    std::int64_t idle = 0, kernel = 0, user = 0;
    ASSERT_TRUE(ProcStatTimes().Read(idle, kernel, user));
    EXPECT_GT(user, 0);
    EXPECT_GT(kernel, idle);
}

}  // namespace
}  // namespace vespar::linux_platform
