#include "win32/screen_window.h"

#include <commctrl.h>

#include <initializer_list>
#include <utility>

namespace vespar::win32 {

namespace {

constexpr const char* kClass = "VesparScreen";
constexpr int kFirstId = 100;

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void RegisterScreenClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, kClass, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassExA(&wc);
}

}  // namespace

COLORREF ToColorRef(const Color& c) {
    switch (c.kind) {
        case Color::Kind::ButtonFace:
            return GetSysColor(COLOR_BTNFACE);
        case Color::Kind::ButtonText:
            return GetSysColor(COLOR_BTNTEXT);
        case Color::Kind::WindowBackground:
            return GetSysColor(COLOR_WINDOW);
        case Color::Kind::Rgb:
            break;
    }
    return RGB(c.r, c.g, c.b);
}

ScreenWindow::ScreenWindow(ScreenModel& model, EventSink sink, const Theme& theme, DWORD style)
    : model_(model), sink_(std::move(sink)), theme_(theme) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterScreenClass(instance, &ScreenWindow::Proc);
    hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kClass, "", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            200, 100, nullptr, nullptr, instance, this);
    tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                0, 0, 0, 0, hwnd_, nullptr, instance, nullptr);
    if (tooltips_ != nullptr) SendMessageA(tooltips_, TTM_SETMAXTIPWIDTH, 0, 400);
}

ScreenWindow::~ScreenWindow() {
    // Messages raised while the window goes are no longer the model's events.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    for (auto& entry : brushes_) DeleteObject(entry.second);
}

HWND ScreenWindow::Add(const std::string& name, Kind kind, const char* className, DWORD style) {
    const int id = kFirstId + static_cast<int>(items_.size());
    HWND control = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                   hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(theme_.normal()), FALSE);
    items_.push_back({name, kind, control, theme_.normal(), {}});
    if (tooltips_ != nullptr && kind != Kind::Other) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<char*>("");
        SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return control;
}

HWND ScreenWindow::NewLabel(const std::string& name, DWORD style) {
    return Add(name, Kind::Label, "STATIC", SS_NOPREFIX | style);
}

HWND ScreenWindow::NewLink(const std::string& name, DWORD style) {
    return Add(name, Kind::Link, "STATIC", SS_NOPREFIX | SS_NOTIFY | style);
}

HWND ScreenWindow::NewButton(const std::string& name) {
    return Add(name, Kind::Button, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON);
}

HWND ScreenWindow::NewList(const std::string& name) {
    return Add(name, Kind::List, "COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
}

HWND ScreenWindow::NewTextBox(const std::string& name) {
    return Add(name, Kind::TextBox, "EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
}

HWND ScreenWindow::NewReadOnlyBox(const std::string& name, bool multiline) {
    const DWORD lines = multiline ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    return Add(name, Kind::TextBox, "EDIT", WS_TABSTOP | WS_BORDER | ES_READONLY | lines);
}

HWND ScreenWindow::NewCheckBox(const std::string& name) {
    return Add(name, Kind::CheckBox, "BUTTON", WS_TABSTOP | BS_CHECKBOX);
}

HWND ScreenWindow::NewFocusBox(const std::string& name) {
    return Add(name, Kind::Other, "EDIT", WS_TABSTOP | ES_AUTOHSCROLL);
}

HWND ScreenWindow::NewPlain(const char* className, const std::string& text, DWORD style) {
    HWND control = Add("", Kind::Other, className, style);
    SetWindowTextA(control, text.c_str());
    return control;
}

void ScreenWindow::Place(HWND control, int x, int y, int width, int height) const {
    char className[16] = {};
    GetClassNameA(control, className, sizeof className);
    // A drop-down list's height includes its open list.
    if (lstrcmpiA(className, "COMBOBOX") == 0) height += theme_.lineHeight() * 8;
    MoveWindow(control, x, y, width, height, FALSE);
}

void ScreenWindow::SetClientSize(int width, int height) const {
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ScreenWindow::SetBaseFont(HWND control, HFONT font) {
    for (Item& item : items_) {
        if (item.hwnd == control) item.font = font;
    }
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void ScreenWindow::SetPicture(HWND control, HBITMAP picture) {
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void ScreenWindow::SetPicture(HWND control, HICON picture) {
    SendMessageA(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
}

void ScreenWindow::SetIcons(HICON small, HICON large) const {
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
}

HWND ScreenWindow::control(const std::string& name) const {
    for (const Item& item : items_) {
        if (item.name == name) return item.hwnd;
    }
    return nullptr;
}

LRESULT CALLBACK ScreenWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ScreenWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->hwnd_ != hwnd)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT ScreenWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_COMMAND: {
            // Enter, as the dialog keys report it: it presses the focused button.
            if (LOWORD(wParam) == IDOK && lParam == 0) {
                for (Item& item : items_) {
                    if (item.kind == Kind::Button && item.hwnd == GetFocus()) {
                        Command(item, BN_CLICKED);
                    }
                }
                return 0;
            }
            const int index = LOWORD(wParam) - kFirstId;
            if (lParam != 0 && index >= 0 && index < static_cast<int>(items_.size()) &&
                items_[static_cast<std::size_t>(index)].hwnd == reinterpret_cast<HWND>(lParam)) {
                Command(items_[static_cast<std::size_t>(index)], HIWORD(wParam));
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (LRESULT brush =
                    LabelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                return brush;
            }
            break;
        case WM_SETCURSOR:
            for (const Item& item : items_) {
                if (item.kind == Kind::Link && item.hwnd == reinterpret_cast<HWND>(wParam)) {
                    SetCursor(LoadCursor(nullptr, IDC_HAND));
                    return TRUE;
                }
            }
            break;
        case WM_CLOSE:
            // The model decides whether the window may close (it ends the program when it does).
            sink_([this] { model_.Click(ScreenModel::kCloseEvent); });
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
                return 0;
            }
            // The keyboard focus comes back to where it was, as in a dialog.
            if (lastFocus_ != nullptr && IsWindowVisible(lastFocus_) &&
                IsWindowEnabled(lastFocus_)) {
                SetFocus(lastFocus_);
            } else if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) {
                SetFocus(first);
            }
            // Activation is a model event too (the main window re-applies its rules there).
            sink_([this] { model_.Click(ScreenModel::kActivateEvent); });
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool ScreenWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void ScreenWindow::Command(Item& item, WORD code) {
    const std::string name = item.name;
    switch (item.kind) {
        case Kind::Button:
            if (code == BN_CLICKED) sink_([this, name] { model_.Click(name); });
            return;
        case Kind::Link:
            if (code == STN_CLICKED) sink_([this, name] { model_.Click(name); });
            return;
        case Kind::CheckBox:
            if (code == BN_CLICKED) {
                const int value = SendMessageA(item.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
                item.drawn.Forget();  // the model may say no
                sink_([this, name, value] {
                    model_.control(name).value = value;
                    model_.Click(name);
                });
            }
            return;
        case Kind::List:
            if (code == CBN_SELCHANGE) {
                const int index = static_cast<int>(SendMessageA(item.hwnd, CB_GETCURSEL, 0, 0));
                item.drawn.Forget();  // the model may say no
                sink_([this, name, index] {
                    model_.control(name).selection = index;
                    model_.Click(name);
                });
            }
            return;
        case Kind::TextBox:
            if (code == EN_CHANGE && !setting_) {
                item.drawn.Forget();  // the control no longer shows the model
                sink_([this, name, text = WindowText(item.hwnd)] {
                    model_.control(name).caption = text;
                });
            }
            return;
        case Kind::Label:
        case Kind::Other:
            return;
    }
}

LRESULT ScreenWindow::LabelColours(HDC dc, HWND label) {
    for (const Item& item : items_) {
        if (item.hwnd != label || (item.kind != Kind::Label && item.kind != Kind::Link)) continue;
        const std::optional<Control>& shown = item.drawn.shown();
        if (!shown) return 0;
        SetTextColor(dc, ToColorRef(shown->foreColor));
        const COLORREF back = ToColorRef(shown->backColor);
        SetBkColor(dc, back);
        return reinterpret_cast<LRESULT>(Brush(back));
    }
    return 0;
}

HBRUSH ScreenWindow::Brush(COLORREF colour) {
    auto [it, added] = brushes_.try_emplace(colour, nullptr);
    if (added) it->second = CreateSolidBrush(colour);
    return it->second;
}

void ScreenWindow::Refresh() {
    if ((IsWindowVisible(hwnd_) || ShownByModel()) && drawn_.Due(model_)) {
        for (Item& item : items_) RefreshItem(item);
    }
    ApplyWindowState();
}

void ScreenWindow::RefreshItem(Item& item) {
    if (item.kind == Kind::Other) return;
    const auto change = item.drawn.Redraw(model_, item.name);
    if (!change) return;
    const Control& c = change->now;
    HWND w = item.hwnd;
    setting_ = true;
    switch (item.kind) {
        case Kind::Label:
        case Kind::Link: {
            // A picture keeps its picture; only a caption replaces it.
            const LONG_PTR type = GetWindowLongPtrA(w, GWL_STYLE) & SS_TYPEMASK;
            const bool picture = type == SS_BITMAP || type == SS_ICON;
            if (change->Differs(&Control::caption) && !picture)
                SetWindowTextA(w, c.caption.c_str());
            if (change->Differs(&Control::bold)) {
                const HFONT font = c.bold ? theme_.bold() : item.font;
                SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            }
            // A new text repaints the label by itself; colours and weight need a repaint.
            if (change->Differs(&Control::foreColor) || change->Differs(&Control::backColor) ||
                change->Differs(&Control::bold)) {
                InvalidateRect(w, nullptr, TRUE);
            }
            break;
        }
        case Kind::Button:
            if (change->Differs(&Control::caption)) SetWindowTextA(w, c.caption.c_str());
            break;
        case Kind::List:
            if (change->Differs(&Control::items)) {
                SendMessageA(w, CB_RESETCONTENT, 0, 0);
                for (const std::string& entry : c.items) {
                    SendMessageA(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
                }
            }
            SendMessageA(w, CB_SETCURSEL, static_cast<WPARAM>(c.selection), 0);
            break;
        case Kind::TextBox:
            // Rewriting an unchanged text would move the cursor under the user's hands.
            if (WindowText(w) != c.caption) SetWindowTextA(w, c.caption.c_str());
            break;
        case Kind::CheckBox:
            SendMessageA(w, BM_SETCHECK, c.value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case Kind::Other:
            break;
    }
    setting_ = false;
    if (change->Differs(&Control::tooltip) && tooltips_ != nullptr) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(w);
        tool.lpszText = const_cast<char*>(c.tooltip.c_str());
        SendMessageA(tooltips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (change->Differs(&Control::enabled) || change->Differs(&Control::visible)) {
        // A control that loses the focus by being closed hands it on, so the keyboard still
        // reaches the window.
        if ((!c.enabled || !c.visible) && GetFocus() == w) {
            SendMessageA(hwnd_, WM_NEXTDLGCTL, 0, FALSE);
        }
        EnableWindow(w, c.enabled ? TRUE : FALSE);
        ShowWindow(w, c.visible ? SW_SHOWNA : SW_HIDE);
    }
}

void ScreenWindow::ApplyCaptionAndLevel() {
    if (!captionSet_ || caption_ != model_.caption) {
        caption_ = model_.caption;
        captionSet_ = true;
        SetWindowTextA(hwnd_, caption_.c_str());
    }
    if (topmost_ != model_.topmost) {
        topmost_ = model_.topmost;
        SetWindowPos(hwnd_, model_.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ScreenWindow::ShowByModel() {
    if (model_.visible && !IsWindowVisible(hwnd_)) {
        // The user opened it: it becomes the active window.
        ShowWindow(hwnd_, SW_SHOW);
    } else if (!model_.visible && IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void ScreenWindow::ApplyWindowState() {
    ApplyCaptionAndLevel();
    ShowByModel();
}

}  // namespace vespar::win32
