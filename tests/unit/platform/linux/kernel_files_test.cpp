// The readers of the kernel's text files, on crafted system roots and on this machine's own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "fakes/temp_program_folder.h"
#include "platform/linux/kernel_text.h"
#include "platform/linux/linux_version.h"
#include "platform/linux/proc_net_dev_table.h"
#include "platform/linux/proc_stat_times.h"
#include "sensors/interfaces.h"

namespace vespar::linux_platform {
namespace {

// Writes a file below a crafted system root, making its folders.
void Put(const vespar::test::TempProgramFolder& root, const std::string& relative,
         const std::string& text) {
    std::filesystem::create_directories((root.path() / relative).parent_path());
    root.WriteFile(root.path() / relative, text);
}

TEST(KernelText, ReadsTheWholeFileFromItsStartEachTimeAndFailsWithoutIt) {
    vespar::test::TempProgramFolder root;
    KernelTextFile file(root.path() / "file");
    std::string_view text;
    EXPECT_FALSE(file.Read(text));

    // Longer than any single read: a table of many interfaces or processors.
    std::string big;
    for (int i = 0; big.size() < 20000; ++i) big += "row " + std::to_string(i) + "\n";
    Put(root, "file", big);
    EXPECT_TRUE(file.Read(text) && text == big);
    // The file kept open gives its new, shorter text and nothing of the old.
    Put(root, "file", "cpu 1 2\n");
    EXPECT_TRUE(file.Read(text) && text == "cpu 1 2\n") << text;
}

TEST(KernelText, SplitsLinesAndBlankSeparatedFields) {
    std::string_view rest = "a\n\n  b \t c\r\nlast";
    std::vector<std::string> lines;
    for (std::string_view line; NextLine(rest, line);) lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "  b \t c\r", "last"}));

    std::string_view fields = " \t eth0:  12\v\f34\r\n";
    std::vector<std::string> taken;
    for (std::string_view f; !(f = NextField(fields)).empty();) taken.emplace_back(f);
    EXPECT_EQ(taken, (std::vector<std::string>{"eth0:", "12", "34"}));
    EXPECT_TRUE(fields.empty());
}

std::int64_t Units(std::int64_t ticks) { return ticks * 10'000'000 / sysconf(_SC_CLK_TCK); }

TEST(ProcStatTimes, MapsTheAggregateLineToIdleKernelAndUserAndFailsOnAnythingElse) {
    vespar::test::TempProgramFolder root;
    ProcStatTimes times(root.path());
    std::int64_t idle = -1, kernel = -1, user = -1;
    EXPECT_FALSE(times.Read(idle, kernel, user));  // no proc/stat at all

    const std::int64_t hz = sysconf(_SC_CLK_TCK);
    // Each text and its idle, kernel and user times in 100 ns units. The columns are user nice
    // system idle iowait irq softirq steal guest guest_nice, in ticks; kernel time includes
    // idle, guest is already in user, and cpu0 is not the whole machine.
    const std::tuple<std::string, std::int64_t, std::int64_t, std::int64_t> cases[] = {
        {"cpu  100 20 300 4000 50 6 7 8 9 10\ncpu0 1 1 1 1 1 1 1 1 1 1\nintr 12345\n",
         Units(4000 + 50), Units(300 + 6 + 7 + 4000 + 50), Units(100 + 20 + 8)},
        // Kernels before iowait and steal existed: the missing columns count as zero.
        {"cpu 1 2 3 4\n", Units(4), Units(3 + 4), Units(1 + 2)},
        // A tick count whose naive conversion would overflow 64 bits is still exact.
        {"cpu 0 0 0 " + std::to_string(hz << 36) + " 0 0 0 0\n",
         (std::int64_t{1} << 36) * 10'000'000, (std::int64_t{1} << 36) * 10'000'000, 0}};
    for (const auto& [stat, wantIdle, wantKernel, wantUser] : cases) {
        Put(root, "proc/stat", stat);
        ASSERT_TRUE(times.Read(idle, kernel, user)) << stat;
        EXPECT_EQ(std::tuple(idle, kernel, user), std::tuple(wantIdle, wantKernel, wantUser));
    }

    for (const char* text :
         {"cpu 1 2 x 4 5\n", "cpu 1 2 3\n", "cpu -1 2 3 4\n",
          "cpu 1 2 3 99999999999999999999999 5\n", "cpu0 1 2 3 4 5\n", "intr 1 2 3\n", "",
          "cpu 1 2 3 4abc\n",
          // counts whose sums or 100-ns units pass 64 bits
          "cpu 0 0 0 18446744073709551615 1\n", "cpu 0 0 0 9223372036854775807 0\n"}) {
        Put(root, "proc/stat", text);
        EXPECT_FALSE(times.Read(idle, kernel, user)) << text;
    }
}

const char* const kHeader =
    "Inter-|   Receive                                                |  Transmit\n"
    " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs "
    "drop fifo colls carrier compressed\n";

std::string Row(const std::string& name, const std::string& in, const std::string& out) {
    return "  " + name + ": " + in + " 10 0 0 0 0 0 0 " + out + " 20 0 0 0 0 0 0\n";
}

TEST(ProcNetDevTable, ReadsRowsWithTheirAddressesAndDescribesANameWhenItAppears) {
    vespar::test::TempProgramFolder root;
    ProcNetDevTable table(root.path());
    // The rows read, as "name address in out" each, with "-" for no address.
    const auto read = [&](const std::string& rows) {
        Put(root, "proc/net/dev", kHeader + rows);
        const auto got = table.Read();
        std::string text;
        for (const auto& row : got.value()) {
            // The text shows eight bytes at most, whatever the row holds.
            EXPECT_LE(row.physicalAddress.size(), 8u) << row.description;
            const std::string address = AdapterAddressText(row.physicalAddress);
            text += (text.empty() ? "" : "; ") + row.description + " " +
                    (address.empty() ? "-" : address) + " " + std::to_string(row.inOctets) + " " +
                    std::to_string(row.outOctets);
        }
        return text;
    };
    EXPECT_FALSE(table.Read().has_value());
    // Only headers: a readable, empty table.
    EXPECT_EQ(read(""), "");

    // Loopback is left out, by name or by its flag; a malformed address gives no bytes, and
    // so does a missing address file; a row carries at most eight address bytes.
    Put(root, "sys/class/net/eth0/address", "00:0c:29:ab:cd:ef \r\n");
    Put(root, "sys/class/net/eth0/flags", "0x1003\n");
    Put(root, "sys/class/net/loop7/flags", "0x9\n");  // IFF_LOOPBACK under another name
    Put(root, "sys/class/net/wlan0/address", "zz:00:11:22:33:44\n");
    Put(root, "sys/class/net/eth4/address", "aa:bb:cc:dd:ee:ff:00:11:22:33\n");  // 10 bytes
    EXPECT_EQ(read(Row("lo", "999999", "999999") +
                   Row("eth0", "6000000000", "5000000001") +  // above 2^32
                   Row("loop7", "111", "222") + Row("wlan0", "1234", "5678") +
                   "  tun0:42 1 0 0 0 0 0 0 43 1 0 0 0 0 0 0\n" +  // no blank after the colon
                   Row("eth4", "100", "200")),
              "eth0 00-C-29-AB-CD-EF 6000000000 5000000001; wlan0 - 1234 5678; tun0 - 42 43; "
              "eth4 AA-BB-CC-DD-EE-FF-00-11 100 200");

    // Damaged rows are passed over; ".." is counted, but never used as a path.
    EXPECT_EQ(read("garbage without colon\n  eth0: 1 2 3\n" + Row("eth1", "12x", "5") +
                   Row("eth2", "-5", "5") + Row("eth3", "99999999999999999999999", "5") +
                   "  a b: 1 2 3 4 5 6 7 8 9\n" + Row("..", "7", "8")),
              ".. - 7 8");

    // sysfs is read for a name the table has not seen in its last reading, not every second.
    const std::string eth0 = Row("eth0", "1", "2");
    const std::string eth1 = Row("eth1", "3", "4");
    const std::pair<std::string, std::string> steps[] = {
        {eth0, "eth0 00-00-00-00-00-1 1 2"},
        {eth0, "eth0 00-00-00-00-00-1 1 2"},  // same list: the address is not read again
        {eth0 + eth1, "eth0 00-00-00-00-00-1 1 2; eth1 - 3 4"},  // only the new name
        {eth1, "eth1 - 3 4"},
        {eth0, "eth0 00-00-00-00-00-5 1 2"}};  // gone and back: described afresh
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        Put(root, "sys/class/net/eth0/address", "00:00:00:00:00:0" + std::to_string(i + 1));
        EXPECT_EQ(read(steps[i].first), steps[i].second) << i;
    }
}

TEST(KernelFiles, TheRealSystemIsRead) {
    std::int64_t idle = 0, kernel = 0, user = 0;
    ASSERT_TRUE(ProcStatTimes().Read(idle, kernel, user));
    EXPECT_GT(user, 0);
    EXPECT_GT(kernel, idle);

    const auto rows = ProcNetDevTable().Read();
    ASSERT_TRUE(rows.has_value());
    for (const auto& row : *rows) EXPECT_NE(row.description, "lo");

    const auto version = LinuxVersion().Read();
    ASSERT_TRUE(version.has_value());
    EXPECT_NE(version->platformId, 2);  // never taken for Windows 2000
    EXPECT_GE(version->major, 2);       // every kernel with /proc/stat times is 2.x or later
}

}  // namespace
}  // namespace vespar::linux_platform
