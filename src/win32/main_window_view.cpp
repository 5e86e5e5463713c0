#include "win32/main_window_view.h"

#include <algorithm>
#include <utility>

namespace vespar::win32 {

MainWindowView::MainWindowView(MainWindowScreen& main, MainWindowController& rules, EventSink sink,
                               const Theme& theme, const Pictures& pictures,
                               std::function<bool()> trayAvailable)
    // A small tool window: it can be minimised, never maximised or sized.
    : ScreenWindow(main, std::move(sink), theme,
                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
      main_(main),
      rules_(rules),
      trayAvailable_(std::move(trayAvailable)) {
    SetIcons(pictures.small(TrayIcon::Window), pictures.large(TrayIcon::Window));
    const int g = theme.gap();
    const int line = theme.lineHeight() + 2;
    const int textWidth = theme.charWidth() * 66;
    const int logoWidth = 160;
    const int logoHeight = 48;
    int y = g;
    for (const char* name : {main_window::kTitle, main_window::kCounter, main_window::kCPULoad,
                             main_window::kDLLoad}) {
        Place(NewLabel(name), g, y, textWidth, line);
        y += line;
    }
    HWND logo = NewLink(main_window::kLogo, SS_BITMAP);
    SetPicture(logo, pictures.logo());
    const int width = g + textWidth + g + logoWidth + g;
    Place(logo, width - g - logoWidth, g, logoWidth, logoHeight);

    y = std::max(y, g + logoHeight) + g;
    const int captionWidth = theme.charWidth() * 10;
    const int rowHeight = theme.controlHeight();
    Place(NewPlain("STATIC", "Network:", SS_LEFT | SS_CENTERIMAGE), g, y, captionWidth, rowHeight);
    Place(NewList(main_window::kNetCon), g + captionWidth, y, width - 2 * g - captionWidth,
          rowHeight);
    y += rowHeight + g;

    const char* buttons[] = {main_window::kTestS, main_window::kConfig, main_window::kUpdate,
                             main_window::kReset, main_window::kAbout,  main_window::kExit};
    const int between = g / 2;
    const int buttonWidth = (width - 2 * g - 5 * between) / 6;
    int x = g;
    for (const char* name : buttons) {
        Place(NewButton(name), x, y, buttonWidth, rowHeight);
        x += buttonWidth + between;
    }
    // Only takes the keyboard focus, out of the way in the corner.
    park_ = NewFocusBox(main_window::kPark);
    y += rowHeight + g;
    Place(park_, width - 1, y - 1, 1, 1);
    SetClientSize(width, y);
}

bool MainWindowView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (hook_ && hook_(message, wParam, lParam)) {
        result = 0;
        return true;
    }
    if (message == WM_SIZE && (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED)) {
        // Only a change the model does not know yet is the user's: our own minimising and
        // restoring land here too.
        const bool minimised = wParam == SIZE_MINIMIZED;
        if (minimised != main_.minimised) {
            Send([this, minimised] { rules_.WindowStateChanged(minimised); });
        }
    }
    return false;
}

void MainWindowView::ShowCloseItem(bool shown) {
    if (shown == closeItemShown_) return;
    closeItemShown_ = shown;
    if (shown) {
        // The system's own menu again, Close included.
        GetSystemMenu(hwnd(), TRUE);
    } else {
        HMENU menu = GetSystemMenu(hwnd(), FALSE);
        const int count = GetMenuItemCount(menu);
        // Close and the separator above it, by position; the other items stay.
        if (count >= 2 && GetMenuItemID(menu, count - 1) == SC_CLOSE) {
            RemoveMenu(menu, static_cast<UINT>(count - 1), MF_BYPOSITION);
            RemoveMenu(menu, static_cast<UINT>(count - 2), MF_BYPOSITION);
        }
    }
    DrawMenuBar(hwnd());
}

void MainWindowView::ApplyWindowState() {
    ShowCloseItem(main_.closeItemShown());
    ApplyCaptionAndLevel();
    const bool shown = IsWindowVisible(hwnd()) != FALSE;
    const bool iconic = IsIconic(hwnd()) != FALSE;
    if (main_.minimised) {
        if (trayAvailable_()) {
            if (shown) ShowWindow(hwnd(), SW_HIDE);
        } else if (!iconic || !shown) {
            ShowWindow(hwnd(), SW_SHOWMINNOACTIVE);
        }
    } else if (main_.visible) {
        // Raised above the others for a warning, it must not take the focus from the user.
        if (iconic || !shown) ShowWindow(hwnd(), main_.topmost ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);
    } else if (shown) {
        ShowWindow(hwnd(), SW_HIDE);
    }
    CarryOutRequests();
}

bool MainWindowView::ShownByModel() const { return main_.OnScreen(trayAvailable_()); }

void MainWindowView::CarryOutRequests() {
    if (main_.centreRequested) {
        main_.centreRequested = false;
        RECT frame = {};
        GetWindowRect(hwnd(), &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        SetWindowPos(hwnd(), nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2,
                     GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (main_.foregroundRequested) {
        main_.foregroundRequested = false;
        if (IsWindowVisible(hwnd())) SetForegroundWindow(hwnd());
    }
    if (main_.focusParkRequested) {
        main_.focusParkRequested = false;
        SetFocus(park_);
    }
}

}  // namespace vespar::win32
