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
    // False when the position cannot be read; x and y are then left alone.
    virtual bool CursorPos(std::int32_t& x, std::int32_t& y) = 0;
    // Non-zero when the key is down or was pressed since the previous poll of it.
    virtual std::int16_t AsyncKeyState(int code) = 0;
};

}  // namespace vespar
