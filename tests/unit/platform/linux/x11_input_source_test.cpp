#include "platform/linux/x11_input_source.h"

#include <gtest/gtest.h>
// After gtest, whose templates use names that Xlib defines as macros.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "sensors/input_change.h"
#include "test_servers.h"
#include "unit/core/input_checks.h"

namespace vespar::linux_platform {
namespace {

using namespace std::chrono_literals;

// xdotool's requests reach the server on a connection of their own; a short pause lets the
// server deliver their raw events before the next look.
constexpr auto kQuiet = 100ms;
void Quiet() { std::this_thread::sleep_for(kQuiet); }

// The X keycode of a key symbol on the test display, read over a connection of the test's own.
int Keycode(const std::string& display, KeySym symbol) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return 0;
    const int code = XKeysymToKeycode(connection, symbol);
    XCloseDisplay(connection);
    return code;
}

struct X11InputSourceTest : ::testing::Test {
    // Without the screen-saver extension: nothing here may rest on its idle time.
    test::XvfbDisplay xvfb{{"-extension", "MIT-SCREEN-SAVER"}};
    X11InputSource source{xvfb.Name()};
    InputChangeDetector detector{source};

    void SetUp() override {
        ASSERT_TRUE(source.Readable());
        Quiet();
        detector.InDataReset();
        ASSERT_FALSE(detector.Unreadable());
    }
    void Xdotool(std::vector<std::string> args) {
        ASSERT_EQ(xvfb.Xdotool(std::move(args)), 0);
        Quiet();
    }
    std::pair<std::int32_t, std::int32_t> Cursor() {
        std::int32_t x = -1, y = -1;
        EXPECT_TRUE(source.CursorPos(x, y));
        return {x, y};
    }
};

TEST_F(X11InputSourceTest, NoInputReadsAsNoChangeAndAStoppedServerAsActivity) {
    EXPECT_FALSE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "0");
    // Codes outside the 256 are nothing.
    EXPECT_EQ(source.AsyncKeyState(-1), 0);
    EXPECT_EQ(source.AsyncKeyState(256), 0);

    // The process goes on, and the lost input counts as activity, never as idle.
    xvfb.Stop();
    test::ExpectUnreadableIsActivity(detector);
    std::int32_t x = -5, y = -5;
    EXPECT_FALSE(source.CursorPos(x, y));
    EXPECT_EQ(x, -5);
    EXPECT_FALSE(source.Readable());
}

TEST_F(X11InputSourceTest, EveryMoveIsSeenAsMovementOnly) {
    Xdotool({"mousemove", "100", "200"});
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_TRUE(detector.MouseMoved());
    EXPECT_FALSE(detector.KeysChanged());
    EXPECT_EQ(Cursor(), (std::pair<std::int32_t, std::int32_t>(100, 200)));
    EXPECT_FALSE(detector.InDataChanged());

    // Away and back between two looks: the position is the same, the motion was seen.
    Xdotool({"mousemove_relative", "--", "50", "30"});
    Xdotool({"mousemove_relative", "--", "-50", "-30"});
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_TRUE(detector.MouseMoved());
    EXPECT_EQ(Cursor(), (std::pair<std::int32_t, std::int32_t>(100, 200)));
    EXPECT_FALSE(detector.InDataChanged());
}

TEST_F(X11InputSourceTest, AHeldKeyOrButtonIsSeenOnce) {
    const int a = Keycode(xvfb.Name(), XK_a);
    ASSERT_GE(a, 8);
    Xdotool({"keydown", "a"});
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_TRUE(detector.KeysChanged());
    EXPECT_EQ(detector.KeysNow(), "0" + std::to_string(a));
    // Held past the auto-repeat delay: the repeats are no new presses.
    for (int check = 0; check < 3; ++check) {
        std::this_thread::sleep_for(400ms);
        EXPECT_FALSE(detector.InDataChanged()) << "check " << check;
        EXPECT_EQ(detector.KeysNow(), "0" + std::to_string(a));
    }
    // Releasing is no activity.
    Xdotool({"keyup", "a"});
    EXPECT_FALSE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "0");

    // Buttons are codes 1 (left), 2 (right) and 4 (middle).
    Xdotool({"mousedown", "3"});
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "02");
    EXPECT_FALSE(detector.MouseMoved());
    Xdotool({"mousedown", "1"});
    Xdotool({"mousedown", "2"});
    EXPECT_TRUE(detector.InDataChanged());
    EXPECT_EQ(detector.KeysNow(), "0124");
    EXPECT_FALSE(detector.InDataChanged());
}

TEST_F(X11InputSourceTest, TapsBetweenLooksAreSeenAtEveryCheckWhateverIsHeld) {
    // A held Shift does not hide the keys tapped meanwhile.
    const int shift = Keycode(xvfb.Name(), XK_Shift_L);
    Xdotool({"keydown", "shift"});
    EXPECT_TRUE(detector.InDataChanged());
    test::ExpectTapsAtEveryCheck(
        detector,
        [&] {
            Xdotool({"key", "b"});
        },
        3);
    EXPECT_EQ(detector.KeysNow().substr(0, 1 + std::to_string(shift).size()),
              "0" + std::to_string(shift));
}

TEST_F(X11InputSourceTest, AProgramResettingTheScreenSaverIsNoInput) {
    Display* other = XOpenDisplay(xvfb.Name().c_str());
    ASSERT_NE(other, nullptr);
    for (int check = 0; check < 3; ++check) {
        XResetScreenSaver(other);
        XSync(other, False);
        Quiet();
        EXPECT_FALSE(detector.InDataChanged()) << "check " << check;
    }
    XCloseDisplay(other);
}

// Forwards one X client over loopback TCP (display 127.0.0.1:N is port 6000 + N) to the
// server's local socket; once cut, it drops the connection at the client's next request, so
// that the client loses its server while it waits for the reply.
class CuttableXProxy {
  public:
    explicit CuttableXProxy(const std::string& server) {
        for (int number = 200; number < 2000 && display_.empty(); ++number) {
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<std::uint16_t>(6000 + number));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
                display_ = "127.0.0.1:" + std::to_string(number);
        }
        listen(listener_, 1);
        thread_ = std::thread([this, server] { Run("/tmp/.X11-unix/X" + server.substr(1)); });
    }
    ~CuttableXProxy() {
        stop_ = true;
        thread_.join();
        close(listener_);
    }
    const std::string& DisplayName() const { return display_; }
    void CutAtNextRequest() { cut_ = true; }

  private:
    void Run(const std::string& socketPath) {
        pollfd listening{listener_, POLLIN, 0};
        while (!stop_ && poll(&listening, 1, 20) == 0) {
        }
        if (stop_) return;
        const int client = accept(listener_, nullptr, nullptr);
        const int server = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
        bool open = connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        char buffer[65536];
        while (open && !stop_) {
            pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (poll(fds, 2, 20) <= 0) continue;
            for (int from = 0; from < 2 && open; ++from) {
                if (fds[from].revents == 0) continue;
                const ssize_t n = read(fds[from].fd, buffer, sizeof buffer);
                // Once cut, a request is dropped unanswered.
                open = n > 0 && !(from == 0 && cut_) && write(fds[1 - from].fd, buffer, n) == n;
            }
        }
        close(client);
        close(server);
    }

    int listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::string display_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> cut_{false};
    std::thread thread_;
};

TEST(X11InputSource, AConnectionLostDuringARequestDoesNotEndTheProcess) {
    test::XvfbDisplay xvfb;
    CuttableXProxy proxy(xvfb.Name());
    ASSERT_FALSE(proxy.DisplayName().empty());
    X11InputSource source(proxy.DisplayName());
    ASSERT_TRUE(source.Readable());
    InputChangeDetector detector(source);
    Quiet();
    detector.InDataReset();
    EXPECT_FALSE(detector.InDataChanged());

    // The socket still looks healthy when the next request goes out; the loss comes while
    // Xlib waits for the reply, where its default would exit the whole program.
    proxy.CutAtNextRequest();
    test::ExpectUnreadableIsActivity(detector, 2);
    std::int32_t x = 0, y = 0;
    EXPECT_FALSE(source.CursorPos(x, y));
}

}  // namespace
}  // namespace vespar::linux_platform
