#include "platform/linux/proc_net_dev_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "fakes/temp_program_folder.h"
#include "sensors/interfaces.h"
#include "tree_writer.h"

namespace vespar::linux_platform {
namespace {

using test::Put;

const char* const kHeader =
    "Inter-|   Receive                                                |  Transmit\n"
    " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs "
    "drop fifo colls carrier compressed\n";

// The rows read, as "name address in out" each, with "-" for no address.
std::string Text(const std::optional<std::vector<InterfaceRow>>& rows) {
    if (!rows) return "(unreadable)";
    std::string text;
    for (const auto& r : *rows) {
        const std::string address = AdapterAddressText(r.physicalAddress);
        text += (text.empty() ? "" : "; ") + r.description + " " +
                (address.empty() ? "-" : address) + " " + std::to_string(r.inOctets) + " " +
                std::to_string(r.outOctets);
    }
    return text;
}

std::string Row(const std::string& name, const std::string& in, const std::string& out) {
    return "  " + name + ": " + in + " 10 0 0 0 0 0 0 " + out + " 20 0 0 0 0 0 0\n";
}

TEST(ProcNetDevTable, ReadsRowsWithAddressesAndLeavesOutLoopback) {
    vespar::test::TempProgramFolder root;
    const auto& r = root.path();
    Put(r, "proc/net/dev",
        std::string(kHeader) + Row("lo", "999999", "999999") +
            Row("eth0", "6000000000", "5000000001") +  // above 2^32
            Row("loop7", "111", "222") + Row("wlan0", "1234", "5678") +
            "  tun0:42 1 0 0 0 0 0 0 43 1 0 0 0 0 0 0\n");  // no blank after the colon
    Put(r, "sys/class/net/eth0/address", "00:0c:29:ab:cd:ef\n");
    Put(r, "sys/class/net/eth0/flags", "0x1003\n");
    Put(r, "sys/class/net/loop7/flags", "0x9\n");  // IFF_LOOPBACK under another name
    Put(r, "sys/class/net/wlan0/address", "zz:00:11:22:33:44\n");

    // A malformed address gives no bytes, and so does a missing address file.
    EXPECT_EQ(Text(ProcNetDevTable(r).Read()),
              "eth0 00-C-29-AB-CD-EF 6000000000 5000000001; wlan0 - 1234 5678; tun0 - 42 43");
}

TEST(ProcNetDevTable, PassesOverDamagedRowsAndFailsWithoutTheFile) {
    vespar::test::TempProgramFolder root;
    const auto& r = root.path();
    ProcNetDevTable table(r);
    EXPECT_EQ(Text(table.Read()), "(unreadable)");

    Put(r, "proc/net/dev",
        std::string(kHeader) + "garbage without colon\n" + "  eth0: 1 2 3\n" +  // too short
            Row("eth1", "12x", "5") + Row("eth2", "-5", "5") +
            Row("eth3", "99999999999999999999999", "5") + "  a b: 1 2 3 4 5 6 7 8 9\n" +
            Row("..", "7", "8") + Row("eth4", "100", "200"));
    Put(r, "sys/class/net/eth4/address", "aa:bb:cc:dd:ee:ff:00:11:22:33\n");  // 10 bytes
    // ".." is counted, but never used as a path; a row carries at most eight address bytes.
    EXPECT_EQ(Text(table.Read()), ".. - 7 8; eth4 AA-BB-CC-DD-EE-FF-00-11 100 200");
    // Only headers: a readable, empty table.
    Put(r, "proc/net/dev", kHeader);
    EXPECT_EQ(Text(table.Read()), "");
}

// sysfs is read for a name the table has not seen in its last reading, not every second.
TEST(ProcNetDevTable, DescribesAnInterfaceWhenItsNameAppears) {
    vespar::test::TempProgramFolder root;
    const auto& r = root.path();
    ProcNetDevTable table(r);
    const auto read = [&](const std::string& rows, const std::string& address) {
        Put(r, "proc/net/dev", kHeader + rows);
        Put(r, "sys/class/net/eth0/address", address);
        return Text(table.Read());
    };
    const std::string eth0 = Row("eth0", "1", "2");
    const std::string eth1 = Row("eth1", "3", "4");
    EXPECT_EQ(read(eth0, "00:00:00:00:00:01"), "eth0 00-00-00-00-00-1 1 2");
    // Same list: the address is not read again.
    EXPECT_EQ(read(eth0, "00:00:00:00:00:02"), "eth0 00-00-00-00-00-1 1 2");
    // A new name beside it is described; the known one is not.
    EXPECT_EQ(read(eth0 + eth1, "00:00:00:00:00:03"), "eth0 00-00-00-00-00-1 1 2; eth1 - 3 4");
    // Gone and back: described afresh.
    EXPECT_EQ(read(eth1, "00:00:00:00:00:04"), "eth1 - 3 4");
    EXPECT_EQ(read(eth0, "00:00:00:00:00:05"), "eth0 00-00-00-00-00-5 1 2");
}

TEST(ProcNetDevTable, ReadsTheRealTableWithoutLoopback) {
    const auto rows = ProcNetDevTable().Read();
    ASSERT_TRUE(rows.has_value());
    for (const auto& row : *rows) EXPECT_NE(row.description, "lo");
}

}  // namespace
}  // namespace vespar::linux_platform
