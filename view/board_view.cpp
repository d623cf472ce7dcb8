#include "board_view.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

namespace brindle {

namespace {

QRgb ToRgb(Colour c) { return ToQColor(c).rgb(); }

} // namespace

QColor ToQColor(Colour c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int ToPixels(double twips)
{
    return static_cast<int>(std::floor(twips / TwipsPerPixel + 0.5));
}

BoardView::BoardView(QWidget* parent) : QWidget(parent)
{
    setObjectName("board");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardView::Cls()
{
    image_.fill(ToRgb(BackColour));
    Present(rect());
}

void BoardView::Fill(QRect pixels, QRgb colour)
{
    const QRect r = pixels.intersected(image_.rect());
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + r.left(), line + r.right() + 1, colour);
    }
    Present(r);
}

void BoardView::Line(double x1, double y1, double x2, double y2)
{
    const QPoint a(ToPixels(x1), ToPixels(y1));
    const QPoint b(ToPixels(x2), ToPixels(y2));
    const QRgb ink = ToRgb(Black);
    // The grid has only straight lines; both end points are drawn.
    if (a.x() == b.x() || a.y() == b.y()) {
        Fill(QRect(a, b).normalized(), ink);
        return;
    }
    QPainter painter(&image_);
    painter.setPen(QPen(QColor(ink), 0));
    painter.drawLine(a, b);
    painter.end();
    Present(QRect(a, b).normalized());
}

void BoardView::FillBox(double x1, double y1, double x2, double y2, Colour colour)
{
    Fill(QRect(QPoint(ToPixels(x1), ToPixels(y1)), QPoint(ToPixels(x2), ToPixels(y2))).normalized(),
         ToRgb(colour));
}

void BoardView::Present(QRect pixels)
{
    if (persistent_)
        update(pixels);
    else
        repaint(pixels);
}

void BoardView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
}

void BoardView::resizeEvent(QResizeEvent*)
{
    // Everything is drawn again at the new size by the layout pass.
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(ToRgb(BackColour));
    if (onResized)
        onResized();
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(static_cast<float>(event->position().x() * TwipsPerPixel),
                    static_cast<float>(event->position().y() * TwipsPerPixel));
}

} // namespace brindle
