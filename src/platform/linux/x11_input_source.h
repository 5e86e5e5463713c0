#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "sensors/input_source.h"

struct _XDisplay;  // Xlib's Display, kept out of this header with its macros

namespace vespar::linux_platform {

// Keyboard and mouse from an X server over a connection of its own. Each poll drains the X
// input extension's raw events (key press, button press, motion), selected on the root
// window, so every press and move since the previous poll is seen whatever has the focus,
// whatever is held and whatever the screen saver does; then it asks for the keymap and for
// the pointer and its buttons, both in one round trip. X keycodes 8 to 255 are codes 8 to 255;
// the left, right and middle buttons are codes 1, 2 and 4, back and forward 5 and 6, as the
// virtual-key codes have them; the wheel is pointer motion. A server without raw events
// (the extension missing or older than 2.1) or a lost connection makes the source unreadable.
class X11InputSource : public InputSource {
  public:
    // An empty name means $DISPLAY.
    explicit X11InputSource(const std::string& displayName = "");
    ~X11InputSource() override;
    X11InputSource(const X11InputSource&) = delete;
    X11InputSource& operator=(const X11InputSource&) = delete;

    bool Readable() override;
    void Poll() override;
    bool CursorPos(std::int32_t& x, std::int32_t& y) override;
    bool MovedSincePoll() override { return moved_; }
    std::int16_t AsyncKeyState(int code) override;

  private:
    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };
    static void OnConnectionLost(_XDisplay* display, void* self);
    bool Alive();
    bool SelectRawEvents();
    void DrainRawEvents();

    std::unique_ptr<_XDisplay, DisplayCloser> display_;
    unsigned long root_ = 0;
    int inputOpcode_ = 0;
    bool rawEvents_ = false;
    bool lost_ = false;
    bool positionRead_ = false;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    bool moved_ = false;
    std::array<bool, 256> down_{};
    std::array<bool, 256> pressed_{};
};

}  // namespace vespar::linux_platform
