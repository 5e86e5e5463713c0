#include "platform/windows/async_key_input.h"

#include <windows.h>

namespace vespar::windows_platform {

bool AsyncKeyInput::CursorPos(std::int32_t& x, std::int32_t& y) {
    POINT point{};
    // Fails while the desktop is not the input desktop (a locked screen, a secure prompt).
    if (GetCursorPos(&point) == 0) return false;
    x = point.x;
    y = point.y;
    return true;
}

std::int16_t AsyncKeyInput::AsyncKeyState(int code) {
    return static_cast<std::int16_t>(GetAsyncKeyState(code));
}

}  // namespace vespar::windows_platform
