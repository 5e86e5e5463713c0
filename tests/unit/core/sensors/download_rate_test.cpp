#include "sensors/download_rate.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <utility>

#include "fakes/fake_clock.h"
#include "fakes/fake_sensors.h"

namespace vespar {
namespace {

TEST(Interfaces, AddressTextAndCollection) {
    EXPECT_EQ(AdapterAddressText({0xFF, 0x10, 0x0F}), "FF-10-F");
    EXPECT_EQ(AdapterAddressText({1, 2, 3, 4, 5, 6, 7, 8, 9}), "1-2-3-4-5-6-7-8");

    test::FakeInterfaceTable table;
    table.rows = {{"eth0", {0x00, 0x0C, 0x29, 0xAB}, 100, 10}, {"lo", {}, 50, 5}};
    CIpHelper helper(table);
    EXPECT_EQ(helper.ReceivedOctets(), 0);  // nothing until the table is read
    const CInterfaces& list = helper.Interfaces();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1).InterfaceDescription(), "eth0");
    EXPECT_EQ(list.Item(1).AdapterAddress(), "00-C-29-AB");
    EXPECT_EQ(list.Item(2).AdapterAddress(), "");
    EXPECT_THROW(list.Item(0), std::out_of_range);
    EXPECT_THROW(list.Item(3), std::out_of_range);
    EXPECT_EQ(helper.ReceivedOctets(), 150);
    EXPECT_EQ(helper.SentOctets(), 15);

    // Counters past 32 bits add up exactly; one past 63 bits is skipped.
    table.rows = {{"a", {}, 3'000'000'000, 0}, {"b", {}, 5'000'000'000, 0}, {"c", {}, ~0ull, 0}};
    helper.Interfaces();
    EXPECT_EQ(helper.ReceivedOctets(), 8'000'000'000);

    table.ok = false;
    EXPECT_EQ(helper.Interfaces().Count(), 0);
    EXPECT_EQ(helper.ReceivedOctets(), 0);
}

struct DownloadRateTest : ::testing::Test {
    test::FakeClock clock;
    test::FakeInterfaceTable table;
    test::FakeConnectionSetting setting;
    DownloadMeter meter{clock, table, setting};

    void SetReceived(std::uint64_t bytes) { table.rows = {{"eth0", {}, bytes, 0}}; }
    // One tick a second later.
    std::int32_t Tick() {
        clock.AdvanceMs(1000);
        return meter.DownloadRate();
    }
    const std::vector<std::string>& Items() const { return meter.Interfaces().items; }
};

TEST_F(DownloadRateTest, RateIsKilobytesBetweenReadings) {
    EXPECT_EQ(Tick(), 0);  // not activated yet
    SetReceived(10'240'000);
    meter.DLoadInit();
    SetReceived(10'752'000);
    EXPECT_EQ(Tick(), 0);  // first reading since start
    const int reads = table.reads;
    clock.AdvanceMs(400);
    EXPECT_EQ(meter.DownloadRate(), 0);  // the same second: nothing read
    EXPECT_EQ(table.reads, reads);
    EXPECT_EQ(Tick(), 500);  // the pending reading is still there
    EXPECT_EQ(Tick(), 0);    // no traffic
    SetReceived(11'776'000);
    meter.DLoadInit();  // the new reader already sees the larger sum; the previous one stays
    EXPECT_EQ(Tick(), 1000);

    // Each reading counts at the tick after the one that read it.
    const std::pair<std::uint64_t, std::int32_t> steps[] = {
        {11'777'536, 2},                                         // 1.5 to even
        {11'780'096, 2},                                         // 2.5 to even
        {11'264'000, -504},                                      // counters went down
        {7'294'967'000, 7'112'991},                              // across 2^31 and 2^32
        {1ull << 62, std::numeric_limits<std::int32_t>::max()},  // limited, not wrapped
        {2'048'000, std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& [received, rate] : steps) {
        SetReceived(received);
        Tick();
        EXPECT_EQ(Tick(), rate) << received;
    }
    // An unreadable table empties the list and reads as a sum of zero.
    table.ok = false;
    EXPECT_EQ(Tick(), 0);  // the last good pair
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(meter.Interfaces().selection, -1);
    EXPECT_EQ(Tick(), -2000);  // minus the previous sum
    EXPECT_EQ(Tick(), 0);      // previous sum is now 0
}

TEST_F(DownloadRateTest, NetConFollowsTheInterfaces) {
    table.rows = {{"eth0", {}, 1'024, 0}, {"wlan0", {}, 0, 0}};
    setting.value = 1;
    meter.DLoadInit();
    meter.DLoadInit();  // re-activation rebuilds rather than appends
    EXPECT_EQ(Items(), (std::vector<std::string>{"eth0 ", "wlan0 "}));
    EXPECT_EQ(meter.Interfaces().selection, 1);

    const int generation = meter.ListGeneration();
    Tick();  // same count: the list (and the user's pick on screen) is left alone
    EXPECT_EQ(meter.ListGeneration(), generation);

    table.rows.push_back({"usb0", {}, 0, 0});
    setting.value = 3;  // beyond the list: the first item
    Tick();
    EXPECT_EQ(Items(), (std::vector<std::string>{"eth0 ", "wlan0 ", "usb0 "}));
    EXPECT_EQ(meter.Interfaces().selection, 0);
}

}  // namespace
}  // namespace vespar
