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
    // The icon the desktop shows, in all its sizes.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/org.brindle.Brindle-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace brindle
