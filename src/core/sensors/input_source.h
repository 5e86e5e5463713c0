#pragma once

#include <cstdint>

namespace vespar {

// The pointer position and the asynchronous state of the 256 virtual-key codes.
class InputSource {
  public:
    virtual ~InputSource() = default;
    // False while nothing can be read at all (no display, a lost connection, no idle service).
    // Such a source must never read as idle: that would switch off a computer in use.
    virtual bool Readable() { return true; }
    // Starts one look: a source that reads everything at once does it here, so that the
    // position and the keys asked for next come from one reading.
    virtual void Poll() {}
    // False when the position cannot be read; x and y are then left alone.
    virtual bool CursorPos(std::int32_t& x, std::int32_t& y) = 0;
    // The pointer moved since the previous look, also when it came back to where it was.
    virtual bool MovedSincePoll() { return false; }
    // 0x8000 set while the key is down, bit 0 set when it was pressed since the previous
    // poll of it; 0 otherwise.
    virtual std::int16_t AsyncKeyState(int code) = 0;
};

}  // namespace vespar
