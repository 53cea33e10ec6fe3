#include "platform/widgets/AppIcon.h"

#include <QPainter>

namespace kelvor {

QPixmap appIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // Frame columns.
    p.fillRect(QRectF(3, 2, 3, 28), QColor(70, 80, 95));
    p.fillRect(QRectF(26, 2, 3, 28), QColor(70, 80, 95));
    // Upper and lower platens.
    p.fillRect(QRectF(3, 2, 26, 4), QColor(40, 50, 65));
    p.fillRect(QRectF(8, 10, 16, 3), QColor(150, 160, 175));
    p.fillRect(QRectF(3, 26, 26, 4), QColor(40, 50, 65));
    p.fillRect(QRectF(8, 23, 16, 3), QColor(150, 160, 175));
    // The specimen, a carton being squeezed.
    p.setPen(QPen(QColor(120, 80, 30), 1));
    p.setBrush(QColor(214, 170, 100));
    p.drawRect(QRectF(10.5, 13.5, 11, 9));
    // Load arrow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawPolygon(QPolygonF({QPointF(13, 6), QPointF(19, 6), QPointF(16, 10)}));
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(appIconPixmap(size));
    }
    return icon;
}

} // namespace kelvor
