#include "win32/win32_dialogs.h"

namespace vespar::win32 {

namespace {

constexpr UINT_PTR kCloseTimer = 1;

UINT Style(const MessageBox& box) {
    UINT style = MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND;
    switch (box.icon) {
        case Icon::Critical:
            style |= MB_ICONERROR;
            break;
        case Icon::Question:
            style |= MB_ICONQUESTION;
            break;
        case Icon::Exclamation:
            style |= MB_ICONWARNING;
            break;
        case Icon::Information:
            style |= MB_ICONINFORMATION;
            break;
        case Icon::None:
            break;
    }
    switch (box.buttons) {
        case Buttons::OkCancel:
            return style | MB_OKCANCEL;
        case Buttons::YesNoCancel:
            return style | MB_YESNOCANCEL;
        case Buttons::YesNo:
            return style | MB_YESNO;
        case Buttons::Ok:
            break;
    }
    return style | MB_OK;
}

}  // namespace

Win32Dialogs::Win32Dialogs()
    : timer_([this](UINT message, WPARAM wParam, LPARAM) {
          if (message == WM_TIMER && wParam == kCloseTimer) CloseTimedBox();
      }) {}

void Win32Dialogs::CloseTimedBox() {
    KillTimer(timer_.hwnd(), kCloseTimer);
    if (HWND box = FindWindowA(nullptr, timedTitle_.c_str()); box != nullptr) {
        timedOut_ = true;
        SendMessageA(box, WM_CLOSE, 0, 0);
    }
}

Answer Win32Dialogs::Show(const MessageBox& box) {
    const bool timed = box.timeoutSeconds > 0;
    if (timed) {
        timedTitle_ = box.title;
        timedOut_ = false;
        SetTimer(timer_.hwnd(), kCloseTimer, static_cast<UINT>(box.timeoutSeconds) * 1000, nullptr);
    }
    const int pressed = MessageBoxA(nullptr, box.text.c_str(), box.title.c_str(), Style(box));
    if (timed) {
        KillTimer(timer_.hwnd(), kCloseTimer);
        if (timedOut_) return Answer::Ok;
    }
    switch (pressed) {
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        case IDOK:
            return Answer::Ok;
        default:
            // Closed by its close button or Escape: the box's escape answer.
            return box.buttons == Buttons::Ok      ? Answer::Ok
                   : box.buttons == Buttons::YesNo ? Answer::No
                                                   : Answer::Cancel;
    }
}

}  // namespace vespar::win32
