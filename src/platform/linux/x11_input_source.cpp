#include "platform/linux/x11_input_source.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>

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
constexpr ButtonCode kHeldButtons[] = {{Button1Mask, 1}, {Button3Mask, 2}, {Button2Mask, 4}};

// The virtual-key code of an X button; 0 for the wheel (buttons 4 to 7), which is motion.
int ButtonKeyCode(int button) {
    switch (button) {
        case 1:
            return 1;
        case 3:
            return 2;
        case 2:
            return 4;
        case 8:
            return 5;
        case 9:
            return 6;
        default:
            return 0;
    }
}

// Xlib's I/O error handler is process-wide and its default exits the process. This one only
// reports and returns; each display's own exit handler then decides: ours marks the source
// unreadable, any other display keeps Xlib's default exit.
int ReportLostConnection(Display* display) {
    std::fprintf(stderr, "X connection to %s lost\n", DisplayString(display));
    return 0;
}

void IgnoreLostConnection(Display*, void*) {}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// A reply, or nothing when the server answered with an error (taken here, so that Xlib's
// error handler never sees it) or the connection broke.
template <typename Ask>
auto TakeReply(Ask ask) {
    xcb_generic_error_t* error = nullptr;
    auto* reply = ask(&error);
    std::free(error);
    return Reply<std::remove_pointer_t<decltype(reply)>>(reply);
}

}  // namespace

void X11InputSource::DisplayCloser::operator()(_XDisplay* display) const { XCloseDisplay(display); }

X11InputSource::X11InputSource(const std::string& displayName) {
    XSetIOErrorHandler(&ReportLostConnection);
    display_.reset(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str()));
    if (!display_) return;
    XSetIOErrorExitHandler(display_.get(), &X11InputSource::OnConnectionLost, this);
    root_ = DefaultRootWindow(display_.get());
    rawEvents_ = SelectRawEvents();
}

X11InputSource::~X11InputSource() {
    // Closing a broken connection may report the loss once more, after this object is gone.
    if (display_) XSetIOErrorExitHandler(display_.get(), &IgnoreLostConnection, nullptr);
}

// Raw events reach the root window even while another client holds a grab from version
// 2.1 on; before it, a grabbing program would hide the input.
bool X11InputSource::SelectRawEvents() {
    Display* display = display_.get();
    int event = 0, error = 0;
    if (!XQueryExtension(display, "XInputExtension", &inputOpcode_, &event, &error)) return false;
    int major = 2, minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success) return false;
    if (major < 2 || (major == 2 && minor < 1)) return false;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawMotion);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, root_, &mask, 1);
    XSync(display, False);
    return !lost_;
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

bool X11InputSource::Readable() { return rawEvents_ && Alive(); }

// Takes every raw event that has arrived, without waiting for more.
void X11InputSource::DrainRawEvents() {
    Display* display = display_.get();
    while (!lost_ && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != inputOpcode_) continue;
        if (!XGetEventData(display, &cookie)) continue;
        const int detail = static_cast<const XIRawEvent*>(cookie.data)->detail;
        if (cookie.evtype == XI_RawKeyPress) {
            if (detail >= kFirstKeycode && detail < kKeyCodes)
                pressed_[static_cast<std::size_t>(detail)] = true;
        } else if (cookie.evtype == XI_RawButtonPress) {
            const int code = ButtonKeyCode(detail);
            if (code != 0) {
                pressed_[static_cast<std::size_t>(code)] = true;
            } else {
                moved_ = true;
            }
        } else if (cookie.evtype == XI_RawMotion) {
            moved_ = true;
        }
        XFreeEventData(display, &cookie);
    }
}

void X11InputSource::Poll() {
    down_.fill(false);
    pressed_.fill(false);
    moved_ = false;
    positionRead_ = false;
    if (!Readable()) return;

    DrainRawEvents();
    // Both questions go out together: one round trip to the server a poll, not one each.
    xcb_connection_t* connection = XGetXCBConnection(display_.get());
    const xcb_query_keymap_cookie_t keymapAsked = xcb_query_keymap(connection);
    const xcb_query_pointer_cookie_t pointerAsked =
        xcb_query_pointer(connection, static_cast<xcb_window_t>(root_));
    const Reply<xcb_query_keymap_reply_t> keymap = TakeReply([&](xcb_generic_error_t** error) {
        return xcb_query_keymap_reply(connection, keymapAsked, error);
    });
    const Reply<xcb_query_pointer_reply_t> pointer = TakeReply([&](xcb_generic_error_t** error) {
        return xcb_query_pointer_reply(connection, pointerAsked, error);
    });
    if (xcb_connection_has_error(connection) != 0) lost_ = true;
    if (lost_ || !keymap || !pointer) {
        pressed_.fill(false);
        moved_ = false;
        return;
    }
    for (int code = kFirstKeycode; code < kKeyCodes; ++code) {
        down_[static_cast<std::size_t>(code)] = (keymap->keys[code / 8] >> (code % 8)) & 1U;
    }
    for (const auto& button : kHeldButtons) {
        if (pointer->mask & button.mask) down_[static_cast<std::size_t>(button.code)] = true;
    }
    x_ = pointer->root_x;
    y_ = pointer->root_y;
    positionRead_ = true;
}

bool X11InputSource::CursorPos(std::int32_t& x, std::int32_t& y) {
    if (!positionRead_) return false;
    x = x_;
    y = y_;
    return true;
}

std::int16_t X11InputSource::AsyncKeyState(int code) {
    if (code < 0 || code >= kKeyCodes) return 0;
    const auto i = static_cast<std::size_t>(code);
    std::int16_t state = down_[i] ? kDown : 0;
    if (pressed_[i]) state = static_cast<std::int16_t>(state | kPressedSincePoll);
    // A press is reported once, as the virtual-key state reports it.
    pressed_[i] = false;
    return state;
}

}  // namespace vespar::linux_platform
