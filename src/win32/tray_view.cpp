#include "win32/tray_view.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cstring>
#include <utility>
#include <vector>

namespace vespar::win32 {

namespace {

constexpr UINT kIconId = 1;
// The icon reports its mouse messages as the window's mouse-move message.
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;
// Posted to the main window: open the popup once the event that asked for it is done.
constexpr UINT kOpenPopup = WM_APP + 1;
// The record's first version: 88 bytes with 4-byte handles, 104 with 8-byte ones.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88));

// A real mouse move carries the pointer's position in client coordinates, which is where the
// message's own position lies; the icon's message carries a mouse message instead.
bool FromIcon(HWND window, WPARAM wParam, LPARAM lParam) {
    if (wParam != kIconId) return false;
    const DWORD at = GetMessagePos();
    POINT p = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ScreenToClient(window, &p);
    return p.x != GET_X_LPARAM(lParam) || p.y != GET_Y_LPARAM(lParam);
}

}  // namespace

TrayView::TrayView(MainWindowScreen& main, const Runtime& rt, MainWindowController& rules,
                   EventSink sink, const Pictures& pictures, HWND window)
    : main_(main),
      rt_(rt),
      rules_(rules),
      sink_(std::move(sink)),
      pictures_(pictures),
      window_(window),
      menuOwner_(CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr)),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated")) {}

TrayView::~TrayView() {
    Remove();
    if (menuOwner_ != nullptr) DestroyWindow(menuOwner_);
}

bool TrayView::Notify(DWORD command) {
    // The first version of the record: window, icon id, flags, callback, icon and tip.
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = pictures_.small(shown_);
    // The tip ends with its NUL and the rest of the field is blanks.
    std::memset(data.szTip, ' ', 64);
    const std::size_t length = tip_.size() < 63 ? tip_.size() : 63;
    std::memcpy(data.szTip, tip_.data(), length);
    data.szTip[length] = '\0';
    return Shell_NotifyIconA(command, &data) != FALSE;
}

void TrayView::Refresh() {
    const bool changed = main_.trayIcon != shown_ || main_.trayTip != tip_;
    shown_ = main_.trayIcon;
    tip_ = main_.trayTip;
    if (rt_.trayIconShown && !added_) {
        added_ = Notify(NIM_ADD);
        available_ = added_;
    } else if (!rt_.trayIconShown && added_) {
        Remove();
    } else if (added_ && changed) {
        Notify(NIM_MODIFY);
    }
    if (main_.popupRequested) {
        main_.popupRequested = false;
        PostMessageA(window_, kOpenPopup, 0, 0);
    }
}

void TrayView::Remove() {
    if (!added_) return;
    Notify(NIM_DELETE);
    added_ = false;
}

bool TrayView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCallbackMessage && FromIcon(window_, wParam, lParam)) {
        const int mouse = LOWORD(lParam);
        if (mouse == kTrayLeftDoubleClick || mouse == kTrayRightButtonDown) {
            sink_([this, mouse] { rules_.TrayMouse(mouse); });
        }
        return true;
    }
    if (message == kOpenPopup) {
        OpenPopup();
        return true;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // A restarted task bar has forgotten the icon.
        added_ = false;
        sink_([] {});
        return true;
    }
    return false;
}

void TrayView::OpenPopup() {
    const std::vector<std::string> items = MainWindowScreen::PopupItems();
    HMENU menu = CreatePopupMenu();
    bool separatorDue = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Control& c = std::as_const(main_).control(items[i]);  // a read, no change
        if (!c.visible) continue;
        if (MainWindowScreen::IsSeparator(items[i])) {
            separatorDue = GetMenuItemCount(menu) > 0;
            continue;
        }
        if (separatorDue) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        separatorDue = false;
        AppendMenuA(menu, MF_STRING | (c.enabled ? MF_ENABLED : MF_GRAYED), i + 1,
                    c.caption.c_str());
    }
    POINT at = {};
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if its owner is in the foreground.
    HWND owner = menuOwner_ != nullptr ? menuOwner_ : window_;
    SetForegroundWindow(owner);
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                      at.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen > 0 && static_cast<std::size_t>(chosen) <= items.size()) {
        const std::string name = items[static_cast<std::size_t>(chosen) - 1];
        sink_([this, name] { main_.Click(name); });
    }
}

}  // namespace vespar::win32
