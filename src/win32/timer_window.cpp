#include "win32/timer_window.h"

#include <utility>

namespace vespar::win32 {

namespace {
constexpr const char* kClass = "VesparTimerWindow";
}

TimerWindow::TimerWindow(Handler handler) : handler_(std::move(handler)) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, kClass, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TimerWindow::Proc;
        wc.hInstance = instance;
        wc.lpszClassName = kClass;
        RegisterClassExA(&wc);
    }
    hwnd_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

TimerWindow::~TimerWindow() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK TimerWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TimerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr && self->hwnd_ == hwnd && self->handler_) {
        self->handler_(message, wParam, lParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace vespar::win32
