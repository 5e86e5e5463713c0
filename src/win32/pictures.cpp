#include "win32/pictures.h"

#include <cstdint>
#include <initializer_list>

namespace vespar::win32 {

namespace {

constexpr TrayIcon kAll[] = {TrayIcon::Window, TrayIcon::Activity, TrayIcon::Activate,
                             TrayIcon::Shutdown};
// Pixels left in this colour become transparent.
constexpr COLORREF kKey = RGB(255, 0, 255);

COLORREF Fill(TrayIcon which) {
    switch (which) {
        case TrayIcon::Activity:
            return RGB(0, 150, 60);
        case TrayIcon::Activate:
            return RGB(240, 160, 0);
        case TrayIcon::Shutdown:
            return RGB(210, 30, 30);
        case TrayIcon::Window:
            break;
    }
    return RGB(30, 90, 200);
}

COLORREF Darker(COLORREF c) {
    return RGB(GetRValue(c) * 2 / 3, GetGValue(c) * 2 / 3, GetBValue(c) * 2 / 3);
}

// A 32-bit top-down bitmap whose pixels the caller can reach.
HBITMAP NewDib(HDC dc, int width, int height, std::uint32_t** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

// Scales a coordinate of the 100 x 100 design canvas to a picture of size pixels.
int S(int v, int size) { return v * size / 100; }

// The round badge with its mark, at (x, y) on dc.
void DrawBadge(HDC dc, TrayIcon which, int x, int y, int size) {
    const int stroke = size >= 24 ? size / 9 : 2;
    const auto at = [&](int v) { return S(v, size); };
    HPEN rim = CreatePen(PS_SOLID, size >= 24 ? 2 : 1, Darker(Fill(which)));
    HBRUSH fill = CreateSolidBrush(Fill(which));
    HGDIOBJ oldPen = SelectObject(dc, rim);
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    Ellipse(dc, x, y, x + size, y + size);

    LOGBRUSH white = {BS_SOLID, RGB(255, 255, 255), 0};
    HPEN mark = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, stroke,
                             &white, 0, nullptr);
    SelectObject(dc, mark);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    switch (which) {
        case TrayIcon::Activity: {
            const POINT pulse[] = {{x + at(18), y + at(52)}, {x + at(36), y + at(52)},
                                   {x + at(46), y + at(26)}, {x + at(58), y + at(76)},
                                   {x + at(66), y + at(52)}, {x + at(82), y + at(52)}};
            Polyline(dc, pulse, 6);
            break;
        }
        case TrayIcon::Activate:
            Ellipse(dc, x + at(24), y + at(24), x + at(76), y + at(76));
            MoveToEx(dc, x + at(50), y + at(50), nullptr);
            LineTo(dc, x + at(50), y + at(34));
            MoveToEx(dc, x + at(50), y + at(50), nullptr);
            LineTo(dc, x + at(62), y + at(57));
            break;
        case TrayIcon::Shutdown:
        case TrayIcon::Window:
            if (which == TrayIcon::Shutdown) {
                HPEN ring = CreatePen(PS_SOLID, size >= 24 ? 2 : 1, RGB(255, 255, 255));
                HGDIOBJ previous = SelectObject(dc, ring);
                Ellipse(dc, x + at(9), y + at(9), x + at(91), y + at(91));
                SelectObject(dc, previous);
                DeleteObject(ring);
            }
            // The power sign: a ring open at the top with a bar through the gap.
            Arc(dc, x + at(27), y + at(30), x + at(73), y + at(76), x + at(38), y + at(30),
                x + at(62), y + at(30));
            MoveToEx(dc, x + at(50), y + at(22), nullptr);
            LineTo(dc, x + at(50), y + at(50));
            break;
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(mark);
    DeleteObject(rim);
    DeleteObject(fill);
}

HICON MakeIcon(TrayIcon which, int size) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    std::uint32_t* bits = nullptr;
    HBITMAP colour = NewDib(screen, size, size, &bits);
    HGDIOBJ old = SelectObject(dc, colour);
    HBRUSH key = CreateSolidBrush(kKey);
    const RECT all = {0, 0, size, size};
    FillRect(dc, &all, key);
    DeleteObject(key);
    DrawBadge(dc, which, 0, 0, size);
    GdiFlush();
    // GDI leaves the alpha byte alone: every pixel but the key colour becomes opaque.
    for (int i = 0; i < size * size; ++i) {
        const std::uint32_t rgb = bits[i] & 0x00FFFFFFu;
        bits[i] = rgb == 0x00FF00FFu ? 0u : rgb | 0xFF000000u;
    }
    SelectObject(dc, old);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info = {TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return icon;
}

HBITMAP MakeLogo(int height) {
    const int width = height * 10 / 3;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    std::uint32_t* bits = nullptr;
    HBITMAP logo = NewDib(screen, width, height, &bits);
    HGDIOBJ old = SelectObject(dc, logo);
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    DrawBadge(dc, TrayIcon::Window, 0, 0, height);
    HFONT font = CreateFontA(-(height * 26 / 48), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Segoe UI");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(30, 90, 200));
    RECT text = {height + height / 6, 0, width, height};
    DrawTextA(dc, "Vespar", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return logo;
}

}  // namespace

Pictures::Pictures() {
    const int smallSize = GetSystemMetrics(SM_CXSMICON);
    const int largeSize = GetSystemMetrics(SM_CXICON);
    for (TrayIcon which : kAll) {
        small_[which] = MakeIcon(which, smallSize > 0 ? smallSize : 16);
        large_[which] = MakeIcon(which, largeSize > 0 ? largeSize : 32);
    }
    logo_ = MakeLogo(48);
    smallLogo_ = MakeLogo(32);
}

Pictures::~Pictures() {
    for (auto* icons : {&small_, &large_}) {
        for (auto& entry : *icons) DestroyIcon(entry.second);
    }
    DeleteObject(logo_);
    DeleteObject(smallLogo_);
}

}  // namespace vespar::win32
