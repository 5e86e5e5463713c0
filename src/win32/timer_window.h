#pragma once

#include <functional>

#include "win32/windows_api.h"

namespace vespar::win32 {

// A message-only window: a target for timers and the front-end's own deferred messages
// that is never shown. Every message it gets goes to the handler.
class TimerWindow {
  public:
    using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    explicit TimerWindow(Handler handler);
    ~TimerWindow();
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Handler handler_;
    HWND hwnd_ = nullptr;
};

}  // namespace vespar::win32
