#include "platform/windows/interface_table_reader.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <numeric>
#include <string>

namespace vespar::windows_platform {
namespace {

std::uint64_t Received(const std::vector<InterfaceRow>& rows) {
    return std::accumulate(
        rows.begin(), rows.end(), std::uint64_t{0},
        [](std::uint64_t sum, const InterfaceRow& r) { return sum + r.inOctets; });
}

// Sends bytes to a socket of our own on the loopback interface.
void SendOverLoopback(std::size_t total) {
    WSADATA wsa{};
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    const SOCKET receiver = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    int length = sizeof address;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string chunk(8192, 'x');
    for (std::size_t sent = 0; sent < total; sent += chunk.size()) {
        sendto(sender, chunk.data(), static_cast<int>(chunk.size()), 0,
               reinterpret_cast<sockaddr*>(&address), sizeof address);
        char buffer[8192];
        recv(receiver, buffer, sizeof buffer, 0);
    }
    closesocket(sender);
    closesocket(receiver);
    WSACleanup();
}

TEST(InterfaceTableReader, BothTablesListTheSameInterfacesAndCountReceivedBytes) {
    InterfaceTableReader reader;
    const auto before = reader.Read();
    ASSERT_TRUE(before.has_value());
    ASSERT_FALSE(before->empty());
    const auto old = reader.ReadOldTable();
    ASSERT_TRUE(old.has_value());
    ASSERT_EQ(old->size(), before->size());
    for (std::size_t i = 0; i < old->size(); ++i) {
        EXPECT_EQ((*old)[i].description, (*before)[i].description);
        EXPECT_FALSE((*before)[i].description.empty());
        EXPECT_LE((*before)[i].physicalAddress.size(), 8u);
    }

    SendOverLoopback(512 * 1024);
    const auto after = reader.Read();
    ASSERT_TRUE(after.has_value());
    EXPECT_GE(Received(*after) - Received(*before), 512u * 1024u);
}

}  // namespace
}  // namespace vespar::windows_platform
