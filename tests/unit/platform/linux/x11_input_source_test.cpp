#include "platform/linux/x11_input_source.h"

#include <gtest/gtest.h>
// After gtest, whose templates use names that Xlib defines as macros.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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
    // A move, then away and back between two looks: the position is the same, the motion
    // was seen.
    const std::vector<std::vector<std::string>> moves[] = {
        {{"mousemove", "100", "200"}},
        {{"mousemove_relative", "--", "50", "30"}, {"mousemove_relative", "--", "-50", "-30"}}};
    for (const auto& move : moves) {
        for (const auto& args : move) Xdotool(args);
        EXPECT_TRUE(detector.InDataChanged());
        EXPECT_TRUE(detector.MouseMoved());
        EXPECT_FALSE(detector.KeysChanged());
        EXPECT_EQ(Cursor(), (std::pair<std::int32_t, std::int32_t>(100, 200)));
        EXPECT_FALSE(detector.InDataChanged());
    }
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

TEST(X11InputSource, AConnectionLostDuringARequestDoesNotEndTheProcess) {
    test::XvfbDisplay xvfb;
    X11InputSource source(xvfb.Name());
    InputChangeDetector detector(source);
    Quiet();
    detector.InDataReset();
    EXPECT_FALSE(detector.InDataChanged());

    // A server that stops answering and dies a second later: the socket still looks healthy
    // when the next request goes out, and the loss comes while Xlib waits for the reply,
    // where its default would exit the whole program.
    kill(xvfb.Pid(), SIGSTOP);
    const test::Child killer({"sh", "-c", "sleep 1; kill -KILL " + std::to_string(xvfb.Pid())},
                             "/dev/null", "/dev/null");
    test::ExpectUnreadableIsActivity(detector, 2);
    std::int32_t x = 0, y = 0;
    EXPECT_FALSE(source.CursorPos(x, y));
}

}  // namespace
}  // namespace vespar::linux_platform
