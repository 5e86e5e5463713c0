#include "qt/tray_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace vespar::qt {

namespace {

QColor Fill(TrayIcon which) {
    switch (which) {
        case TrayIcon::Activity:
            return QColor(0, 150, 60);
        case TrayIcon::Activate:
            return QColor(240, 160, 0);
        case TrayIcon::Shutdown:
            return QColor(210, 30, 30);
        case TrayIcon::Window:
            break;
    }
    return QColor(30, 90, 200);
}

// The mark is drawn on a 100 x 100 canvas and scaled to the pixmap.
void DrawMark(QPainter& p, TrayIcon which) {
    QPen pen(Qt::white, 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (which) {
        case TrayIcon::Activity: {
            QPainterPath pulse;
            pulse.moveTo(18, 52);
            pulse.lineTo(36, 52);
            pulse.lineTo(46, 26);
            pulse.lineTo(58, 76);
            pulse.lineTo(66, 52);
            pulse.lineTo(82, 52);
            p.drawPath(pulse);
            return;
        }
        case TrayIcon::Activate:
            p.drawEllipse(QRectF(24, 24, 52, 52));
            p.drawLine(QPointF(50, 50), QPointF(50, 33));
            p.drawLine(QPointF(50, 50), QPointF(63, 57));
            return;
        case TrayIcon::Shutdown:
            p.setPen(QPen(Qt::white, 5));
            p.drawEllipse(QRectF(9, 9, 82, 82));
            p.setPen(pen);
            [[fallthrough]];
        case TrayIcon::Window:
            // The power sign: a ring open at the top with a bar through the gap.
            p.drawArc(QRectF(27, 30, 46, 46), 60 * 16, -300 * 16);
            p.drawLine(QPointF(50, 22), QPointF(50, 50));
            return;
    }
}

QPixmap Draw(TrayIcon which, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    p.setPen(QPen(Fill(which).darker(150), 3));
    p.setBrush(Fill(which));
    p.drawEllipse(QRectF(2, 2, 96, 96));
    DrawMark(p, which);
    return pixmap;
}

}  // namespace

QIcon TrayIconPicture(TrayIcon which) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(Draw(which, size));
    return icon;
}

QPixmap LogoPicture() {
    QPixmap pixmap(160, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(0, 0, Draw(TrayIcon::Window, 48));
    QFont font = p.font();
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 90, 200));
    p.drawText(QRect(56, 0, 104, 48), Qt::AlignVCenter | Qt::AlignLeft, "Vespar");
    return pixmap;
}

}  // namespace vespar::qt
