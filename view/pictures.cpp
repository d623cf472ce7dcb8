#include "pictures.h"

#include <QPainter>
#include <QPolygon>

namespace brindle {

QPixmap arrowPixmap(ArrowDirection direction)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    // About 10 x 11 pixels. The marker is placed 80 twips (5 pixels) before the
    // middle of its row or column, so the tip's middle sits 5 pixels in.
    if (direction == ArrowDirection::Left)
        p.drawPolygon(QPolygon({QPoint(0, 5), QPoint(10, 0), QPoint(10, 10)}));
    else
        p.drawPolygon(QPolygon({QPoint(5, 0), QPoint(10, 10), QPoint(0, 10)}));
    return pixmap;
}

QIcon gameIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(0, 255, 255));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor bands[] = {QColor(255, 0, 0), QColor(0, 255, 255), QColor(0, 0, 255), QColor(255, 0, 255)};
    // Each band runs from the lower left to the upper right.
    for (int k = 0; k < 16; ++k) {
        p.setPen(QPen(bands[k % 4], 4));
        const int d = k * 8 - 32;
        p.drawLine(QPoint(d, 32), QPoint(d + 32, 0));
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace brindle
