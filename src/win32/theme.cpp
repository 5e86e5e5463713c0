#include "win32/theme.h"

#include <initializer_list>

namespace vespar::win32 {

Theme::Theme() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    LOGFONTA font = {};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    }
    normal_ = CreateFontIndirectA(&font);
    LOGFONTA variant = font;
    variant.lfWeight = FW_BOLD;
    bold_ = CreateFontIndirectA(&variant);
    variant = font;
    variant.lfHeight = font.lfHeight * 3 / 2;
    big_ = CreateFontIndirectA(&variant);
    variant = font;
    variant.lfUnderline = TRUE;
    link_ = CreateFontIndirectA(&variant);

    if (HDC dc = GetDC(nullptr)) {
        const HGDIOBJ old = SelectObject(dc, normal_);
        TEXTMETRICA tm = {};
        if (GetTextMetricsA(dc, &tm)) {
            charWidth_ = tm.tmAveCharWidth;
            textHeight_ = tm.tmHeight;
        }
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
}

Theme::~Theme() {
    for (HFONT f : {normal_, bold_, big_, link_}) {
        if (f != nullptr) DeleteObject(f);
    }
}

}  // namespace vespar::win32
