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
    const std::int64_t hz = sysconf(_SC_CLK_TCK);
    // user nice system idle iowait irq softirq steal guest guest_nice, in ticks; kernel time
    // includes idle, guest is already in user, and cpu0 is not the whole machine.
    const struct {
        std::string stat;
        std::int64_t idle, kernel, user;  // 100 ns units
    } cases[] = {{"cpu  100 20 300 4000 50 6 7 8 9 10\ncpu0 1 1 1 1 1 1 1 1 1 1\nintr 12345\n",
                  Units(4000 + 50), Units(300 + 6 + 7 + 4000 + 50), Units(100 + 20 + 8)},
                 // Kernels before iowait and steal existed: the missing columns count as zero.
                 {"cpu 1 2 3 4\n", Units(4), Units(3 + 4), Units(1 + 2)},
                 // A tick count whose naive conversion would overflow 64 bits is still exact.
                 {"cpu 0 0 0 " + std::to_string(hz << 36) + " 0 0 0 0\n",
                  (std::int64_t{1} << 36) * 10'000'000, (std::int64_t{1} << 36) * 10'000'000, 0}};
    for (const auto& c : cases) {
        Put(root.path(), "proc/stat", c.stat);
        std::int64_t idle = -1, kernel = -1, user = -1;
        ASSERT_TRUE(times.Read(idle, kernel, user)) << c.stat;
        EXPECT_EQ(idle, c.idle);
        EXPECT_EQ(kernel, c.kernel);
        EXPECT_EQ(user, c.user);
    }
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
