#include "platform/linux/x11_input_source.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <poll.h>

#include <chrono>
#include <cstdio>

namespace vespar::linux_platform {
namespace {

constexpr int kKeyCodes = 256;
constexpr int kFirstKeycode = 8;  // X keycodes below 8 do not exist
constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kPressedSincePoll = 1;

struct ButtonCode {
    unsigned int mask;
    int code;
};
constexpr ButtonCode kButtons[] = {{Button1Mask, 1}, {Button3Mask, 2}, {Button2Mask, 4}};

// Xlib's I/O error handler is process-wide and its default exits the process. This one only
// reports and returns; each display's own exit handler then decides: ours marks the source
// unreadable, any other display keeps Xlib's default exit.
int ReportLostConnection(Display* display) {
    std::fprintf(stderr, "X connection to %s lost\n", DisplayString(display));
    return 0;
}

void IgnoreLostConnection(Display*, void*) {}

}  // namespace

void X11InputSource::DisplayCloser::operator()(_XDisplay* display) const { XCloseDisplay(display); }

X11InputSource::X11InputSource(const std::string& displayName) {
    XSetIOErrorHandler(&ReportLostConnection);
    display_.reset(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str()));
    if (!display_) return;
    XSetIOErrorExitHandler(display_.get(), &X11InputSource::OnConnectionLost, this);
    root_ = DefaultRootWindow(display_.get());
    int eventBase = 0, errorBase = 0;
    screenSaver_ = XScreenSaverQueryExtension(display_.get(), &eventBase, &errorBase) != 0;
}

X11InputSource::~X11InputSource() {
    // Closing a broken connection may report the loss once more, after this object is gone.
    if (display_) XSetIOErrorExitHandler(display_.get(), &IgnoreLostConnection, nullptr);
}

void X11InputSource::OnConnectionLost(_XDisplay*, void* self) {
    static_cast<X11InputSource*>(self)->lost_ = true;
}

// A server that went away shows as a hang-up on the socket; noticing it here spares Xlib a
// failing request. A loss in the middle of a request still arrives through the exit handler.
bool X11InputSource::Alive() {
    if (!display_ || lost_) return false;
    pollfd socket{ConnectionNumber(display_.get()), POLLRDHUP, 0};
    if (poll(&socket, 1, 0) < 0) return true;
    if (socket.revents & (POLLERR | POLLHUP | POLLRDHUP | POLLNVAL)) lost_ = true;
    return !lost_;
}

bool X11InputSource::Readable() { return Alive(); }

bool X11InputSource::CursorPos(std::int32_t& x, std::int32_t& y) {
    if (!Alive()) return false;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    XQueryPointer(display_.get(), root_, &root, &child, &rootX, &rootY, &winX, &winY, &mask);
    if (lost_) return false;
    x = rootX;
    y = rootY;
    return true;
}

void X11InputSource::Sweep() {
    down_.fill(false);
    tapCode_ = 0;
    if (!Alive()) return;

    char keys[32] = {};
    XQueryKeymap(display_.get(), keys);
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    XQueryPointer(display_.get(), root_, &root, &child, &rootX, &rootY, &winX, &winY, &mask);
    XScreenSaverInfo info{};
    const bool idleRead = screenSaver_ && XScreenSaverQueryInfo(display_.get(), root_, &info) != 0;
    const auto now = IdleTimeTaps::Clock::now();
    if (lost_) {
        taps_.Forget();
        return;
    }

    bool anyDown = false;
    for (int code = kFirstKeycode; code < kKeyCodes; ++code) {
        const bool down = (static_cast<unsigned char>(keys[code / 8]) >> (code % 8)) & 1U;
        down_[static_cast<std::size_t>(code)] = down;
        anyDown = anyDown || down;
    }
    for (const auto& button : kButtons) {
        if (mask & button.mask) {
            down_[static_cast<std::size_t>(button.code)] = true;
            anyDown = true;
        }
    }

    const std::int64_t pointerSum = static_cast<std::int64_t>(rootX) + rootY;
    const bool moved = pointerSumBefore_ && *pointerSumBefore_ != pointerSum;
    if (idleRead) {
        tapCode_ = taps_.Sweep(std::chrono::milliseconds(info.idle), now,
                               anyDown || anyDownBefore_ || moved);
    } else {
        taps_.Forget();
    }
    anyDownBefore_ = anyDown;
    pointerSumBefore_ = pointerSum;
}

std::int16_t X11InputSource::AsyncKeyState(int code) {
    if (code < 0 || code >= kKeyCodes) return 0;
    if (code <= lastCode_) Sweep();
    lastCode_ = code;
    if (down_[static_cast<std::size_t>(code)]) return kDown;
    return tapCode_ != 0 && code == tapCode_ ? kPressedSincePoll : 0;
}

}  // namespace vespar::linux_platform
