#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/idle_time_taps.h"
#include "sensors/input_source.h"

struct _XDisplay;  // Xlib's Display, kept out of this header with its macros

namespace vespar::linux_platform {

// Keyboard and mouse from an X server over a connection of its own: the pointer from
// XQueryPointer on the root window; the keys from XQueryKeymap, X keycodes 8 to 255 being
// codes 8 to 255; the left, right and middle buttons as codes 1, 2 and 4, as the virtual-key
// codes have them; taps between polls from the screen-saver idle time. The state is read once
// per sweep, a run of ascending codes: code 0, or a code not above the one asked before,
// starts the next sweep. A lost connection makes the source unreadable for good.
class X11InputSource : public InputSource {
  public:
    // An empty name means $DISPLAY.
    explicit X11InputSource(const std::string& displayName = "");
    ~X11InputSource() override;
    X11InputSource(const X11InputSource&) = delete;
    X11InputSource& operator=(const X11InputSource&) = delete;

    bool Readable() override;
    bool CursorPos(std::int32_t& x, std::int32_t& y) override;
    std::int16_t AsyncKeyState(int code) override;

    // The screen-saver extension is there, so taps between polls are seen.
    bool SeesTaps() const { return screenSaver_; }

  private:
    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };
    static void OnConnectionLost(_XDisplay* display, void* self);
    bool Alive();
    void Sweep();

    std::unique_ptr<_XDisplay, DisplayCloser> display_;
    unsigned long root_ = 0;
    bool lost_ = false;
    bool screenSaver_ = false;
    std::array<bool, 256> down_{};
    int tapCode_ = 0;
    int lastCode_ = 255;  // the first code asked starts a sweep
    bool anyDownBefore_ = false;
    std::optional<std::int64_t> pointerSumBefore_;
    IdleTimeTaps taps_;
};

}  // namespace vespar::linux_platform
