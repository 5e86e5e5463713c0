#pragma once

#include "sensors/input_source.h"

namespace vespar::windows_platform {

// The pointer position and the asynchronous key states of the whole desktop session.
class AsyncKeyInput : public InputSource {
  public:
    bool CursorPos(std::int32_t& x, std::int32_t& y) override;
    std::int16_t AsyncKeyState(int code) override;
};

}  // namespace vespar::windows_platform
