#include "app/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace lexorant {

namespace {

QPixmap Draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    // Thermometer: tube and bulb.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(11, 4, 6, 18), 3, 3);
    p.drawEllipse(QRectF(8, 18, 12, 12));
    p.setBrush(QColor(0xd9, 0x3b, 0x2b));
    p.drawRect(QRectF(13, 10, 2, 12));
    p.drawEllipse(QRectF(10.5, 20.5, 7, 7));
    // Scale marks.
    p.setPen(QPen(Qt::white, 1.5));
    for (int y = 7; y <= 19; y += 4)
        p.drawLine(QPointF(20, y), QPointF(25, y));
    return pixmap;
}

} // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Draw(size));
    return icon;
}

} // namespace lexorant
