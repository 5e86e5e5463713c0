#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net_test_support.h"
#include "win32/net/winsock_datagram_socket.h"
#include "win32/net/winsock_host_resolver.h"

namespace vespar::win32::test {
namespace {

// A port of this process's own, so that parallel runs do not meet.
int TestPort() { return 20000 + static_cast<int>(GetCurrentProcessId() % 20000); }

TEST(WinsockDatagramSocket, ADatagramArrivesAsOneEventAndThePortIsExclusive) {
    MessageWindow window;
    CountingSink events;
    WinsockDatagramSocket receiver(window, events.sink());
    int port = TestPort();
    while (!receiver.Bind(port)) ++port;
    std::vector<Datagram> received;
    receiver.SetReceiver([&](const Datagram& d) { received.push_back(d); });

    WinsockDatagramSocket other(window, events.sink());
    EXPECT_FALSE(other.Bind(port));  // taken
    EXPECT_FALSE(other.Send("not-an-address", port, "x"));
    ASSERT_TRUE(other.Send("127.0.0.1", port, "<QZC000>"));
    ASSERT_TRUE(other.Send("127.0.0.1", port, std::string("a\0b", 3)));
    EXPECT_TRUE(received.empty());  // nothing arrives from inside a call
    ASSERT_TRUE(PumpUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received[0].sender, "127.0.0.1");
    EXPECT_EQ(received[0].data, "<QZC000>");
    EXPECT_EQ(received[1].data, std::string("a\0b", 3));
    EXPECT_EQ(events.events, 2);

    // Bound again elsewhere, the old port hears nothing and is free for others.
    ASSERT_TRUE(receiver.Bind(port + 1) || receiver.Bind(port + 2));
    EXPECT_TRUE(other.Bind(port));
}

TEST(WinsockHostResolver, AnswersComeLaterAsEvents) {
    MessageWindow window;
    CountingSink events;
    WinsockHostResolver resolver(window, events.sink());
    std::vector<std::vector<std::string>> answers;
    const auto keep = [&](const std::vector<std::string>& a) { answers.push_back(a); };
    resolver.Lookup("127.0.0.1", keep);
    resolver.Lookup("localhost", keep);
    EXPECT_TRUE(answers.empty());
    ASSERT_TRUE(PumpUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers[0], std::vector<std::string>{"127.0.0.1"});
    EXPECT_NE(std::find(answers[1].begin(), answers[1].end(), "127.0.0.1"), answers[1].end());
    EXPECT_EQ(events.events, 2);
}

}  // namespace
}  // namespace vespar::win32::test
