#include "qt/width_bound.h"

#include <QFontMetricsF>
#include <algorithm>
#include <limits>

namespace vespar::qt {

qreal WidthBound::Of(const QFont& font, const QString& text) {
    if (!ready_ || font != font_) {
        font_ = font;
        advance_.fill(-1);
        ready_ = true;
    }
    constexpr qreal kKerningAllowance = 1;
    qreal widest = 0;
    qreal line = 0;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\n') {
            widest = std::max(widest, line);
            line = 0;
            continue;
        }
        if (code == u'\t' || code >= advance_.size()) return std::numeric_limits<qreal>::infinity();
        qreal& advance = advance_[code];
        if (advance < 0) advance = QFontMetricsF(font_).horizontalAdvance(c);
        line += advance + kKerningAllowance;
    }
    return std::max(widest, line);
}

}  // namespace vespar::qt
