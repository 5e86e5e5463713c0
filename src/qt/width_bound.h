#pragma once

#include <QFont>
#include <QString>
#include <array>

namespace vespar::qt {

// A cheap upper bound of the width a Latin-1 text takes in a font: each character's own
// advance plus one pixel for it, since kerning seldom widens a pair and never by that much.
// Measuring a text exactly shapes it, which costs many times more.
class WidthBound {
  public:
    // The bound of the widest line; infinite for a text it cannot judge (tabs, characters
    // beyond Latin-1).
    qreal Of(const QFont& font, const QString& text);

  private:
    QFont font_;
    std::array<qreal, 256> advance_{};  // negative until first needed
    bool ready_ = false;
};

}  // namespace vespar::qt
