#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace vespar::qt {

// A label that reports a left click, for the logo and the web-site link.
class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ClickableLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        QLabel::mouseReleaseEvent(event);
    }
};

}  // namespace vespar::qt
