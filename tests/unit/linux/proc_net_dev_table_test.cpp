#include "platform/linux/proc_net_dev_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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

    ProcNetDevTable table(r);
    const auto rows = table.Read();
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 3u);

    EXPECT_EQ((*rows)[0].description, "eth0");
    EXPECT_EQ((*rows)[0].inOctets, 6000000000u);
    EXPECT_EQ((*rows)[0].outOctets, 5000000001u);
    EXPECT_EQ((*rows)[0].physicalAddress,
              (std::vector<std::uint8_t>{0x00, 0x0c, 0x29, 0xab, 0xcd, 0xef}));
    EXPECT_EQ(AdapterAddressText((*rows)[0].physicalAddress), "00-C-29-AB-CD-EF");

    EXPECT_EQ((*rows)[1].description, "wlan0");
    EXPECT_EQ((*rows)[1].inOctets, 1234u);
    EXPECT_EQ((*rows)[1].outOctets, 5678u);
    EXPECT_TRUE((*rows)[1].physicalAddress.empty());  // malformed address: no bytes

    EXPECT_EQ((*rows)[2].description, "tun0");
    EXPECT_EQ((*rows)[2].inOctets, 42u);
    EXPECT_EQ((*rows)[2].outOctets, 43u);
    EXPECT_TRUE((*rows)[2].physicalAddress.empty());  // no address file

    // The 64-bit counters reach the download sums whole.
    CIpHelper helper(table);
    EXPECT_EQ(helper.Interfaces().Count(), 3);
    EXPECT_EQ(helper.ReceivedOctets(), 6000000000 + 1234 + 42);
}

TEST(ProcNetDevTable, PassesOverDamagedRowsAndFailsWithoutTheFile) {
    vespar::test::TempProgramFolder root;
    const auto& r = root.path();
    ProcNetDevTable table(r);
    EXPECT_FALSE(table.Read().has_value());

    Put(r, "proc/net/dev",
        std::string(kHeader) + "garbage without colon\n" + "  eth0: 1 2 3\n" +  // too short
            Row("eth1", "12x", "5") + Row("eth2", "-5", "5") +
            Row("eth3", "99999999999999999999999", "5") + "  a b: 1 2 3 4 5 6 7 8 9\n" +
            Row("..", "7", "8") + Row("eth4", "100", "200"));
    Put(r, "sys/class/net/eth4/address", "aa:bb:cc:dd:ee:ff:00:11:22:33\n");  // 10 bytes
    const auto rows = table.Read();
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ((*rows)[0].description, "..");  // counted, but never used as a path
    EXPECT_TRUE((*rows)[0].physicalAddress.empty());
    EXPECT_EQ((*rows)[1].description, "eth4");
    EXPECT_EQ((*rows)[1].inOctets, 100u);
    EXPECT_EQ((*rows)[1].physicalAddress.size(), 8u);  // the row carries at most eight

    // Only headers: a readable, empty table.
    Put(r, "proc/net/dev", kHeader);
    const auto none = table.Read();
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());

    for (const char* address : {"aa:bb:", "aa::bb", "aabb", "a:b:c:g"}) {
        Put(r, "proc/net/dev", std::string(kHeader) + Row("eth4", "1", "2"));
        Put(r, "sys/class/net/eth4/address", address);
        const auto one = table.Read();
        ASSERT_TRUE(one.has_value());
        ASSERT_EQ(one->size(), 1u);
        EXPECT_TRUE((*one)[0].physicalAddress.empty()) << address;
    }
}

TEST(ProcNetDevTable, RealCountersDoNotGoBackwards) {
    ProcNetDevTable table;
    const auto first = table.Read();
    ASSERT_TRUE(first.has_value());
    for (const auto& row : *first) EXPECT_NE(row.description, "lo");
    const auto second = table.Read();
    ASSERT_TRUE(second.has_value());
    std::map<std::string, InterfaceRow> before;
    for (const auto& row : *first) before[row.description] = row;
    for (const auto& row : *second) {
        const auto it = before.find(row.description);
        if (it == before.end()) continue;  // an interface that just appeared
        EXPECT_GE(row.inOctets, it->second.inOctets) << row.description;
        EXPECT_GE(row.outOctets, it->second.outOctets) << row.description;
    }
}

}  // namespace
}  // namespace vespar::linux_platform
