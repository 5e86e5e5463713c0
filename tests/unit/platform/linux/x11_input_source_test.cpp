#include "platform/linux/x11_input_source.h"

#include <gtest/gtest.h>
// After gtest, whose templates use names that Xlib defines as macros.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/linux/input_source_factory.h"
#include "sensors/input_change.h"
#include "test_servers.h"
#include "unit/core/input_checks.h"

namespace vespar::linux_platform {
namespace {

using namespace std::chrono_literals;

TEST(X11InputSource, SeesMovesPressesAndTapsAndTakesALostServerForActivity) {
    test::XvfbDisplay xvfb;
    X11InputSource source{xvfb.Name()};
    InputChangeDetector detector{source};
    // xdotool's requests reach the server on a connection of their own; a short pause lets
    // the server deliver their raw events before the next look.
    const auto xdotool = [&](const std::string& args) {
        EXPECT_EQ(std::system(("DISPLAY=" + xvfb.Name() + " xdotool " + args).c_str()), 0);
        std::this_thread::sleep_for(100ms);
    };
    // One check, as what it saw: a change, a move, keys (new ones), and the keys down.
    const auto look = [&] {
        const bool changed = detector.InDataChanged();
        return std::string(changed ? "changed" : "unchanged") +
               (detector.MouseMoved() ? " moved" : "") + (detector.KeysChanged() ? " keys" : "") +
               " " + detector.KeysNow();
    };
    ASSERT_TRUE(source.Readable());
    // The factory prefers it, but not in a Wayland session, where the X server sees only
    // input to X programs.
    InputSourceOptions options{xvfb.Name(), false, "unix:path=/nonexistent",
                               "unix:path=/nonexistent"};
    EXPECT_NE(dynamic_cast<X11InputSource*>(OpenInputSource(options).get()), nullptr);
    options.wayland = true;
    EXPECT_FALSE(OpenInputSource(options)->Readable());
    detector.InDataReset();
    EXPECT_EQ(look(), "unchanged 0");
    // Codes outside the 256 are nothing.
    EXPECT_EQ(source.AsyncKeyState(-1), 0);
    EXPECT_EQ(source.AsyncKeyState(256), 0);

    // A move, then away and back between two looks: the position is the same, the motion
    // was seen, and nothing else.
    for (const char* move :
         {"mousemove 100 200", "mousemove_relative -- 50 30 mousemove_relative -- -50 -30"}) {
        xdotool(move);
        EXPECT_EQ(look(), "changed moved 0") << move;
        std::int32_t x = -1, y = -1;
        EXPECT_TRUE(source.CursorPos(x, y) && x == 100 && y == 200) << x << "," << y;
        EXPECT_EQ(look(), "unchanged 0");
    }

    // A held key is seen once: held past the auto-repeat delay, the repeats are no new
    // presses, and releasing is no activity.
    Display* connection = XOpenDisplay(xvfb.Name().c_str());
    ASSERT_NE(connection, nullptr);
    const std::string a = std::to_string(XKeysymToKeycode(connection, XK_a));
    XCloseDisplay(connection);
    xdotool("keydown a");
    EXPECT_EQ(look(), "changed keys 0" + a);
    std::this_thread::sleep_for(1200ms);  // many repeats
    EXPECT_EQ(look(), "unchanged 0" + a);
    xdotool("keyup a");
    EXPECT_EQ(look(), "unchanged 0");

    // Buttons are codes 1 (left), 2 (right) and 4 (middle), and no motion.
    xdotool("mousedown 3");
    EXPECT_EQ(look(), "changed keys 02");
    xdotool("mousedown 1 mousedown 2");
    EXPECT_EQ(look(), "changed keys 0124");
    EXPECT_EQ(look(), "unchanged 0124");
    // What is held does not hide the keys tapped between looks.
    test::ExpectTapsAtEveryCheck(
        detector, [&] { xdotool("key b"); }, 3);
    EXPECT_EQ(detector.KeysNow().substr(0, 4), "0124");

    // A server that stops answering and dies a second later: the socket still looks healthy
    // when the next request goes out, and the loss comes while Xlib waits for the reply,
    // where its default would exit the whole program. The lost input counts as activity.
    kill(xvfb.Pid(), SIGSTOP);
    const test::Child killer({"sh", "-c", "sleep 1; kill -KILL " + std::to_string(xvfb.Pid())},
                             "/dev/null", "/dev/null");
    test::ExpectUnreadableIsActivity(detector);
    std::int32_t x = -5, y = -5;
    EXPECT_FALSE(source.CursorPos(x, y));
    EXPECT_EQ(x, -5);
    EXPECT_FALSE(source.Readable());
}

}  // namespace
}  // namespace vespar::linux_platform
