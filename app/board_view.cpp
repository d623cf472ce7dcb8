#include "board_view.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/board_accessible.h"

namespace brindle {

namespace {

QRgb toRgb(Colour c) { return toQColor(c).rgb(); }

} // namespace

QColor toQColor(Colour c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int toPixels(double twips)
{
    return static_cast<int>(std::floor(twips / TwipsPerPixel + 0.5));
}

BoardView::BoardView(QWidget* parent) : QWidget(parent)
{
    setObjectName("board");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    installBoardAccessibility();
}

void BoardView::clear()
{
    image_.fill(toRgb(BackColour));
    present(rect());
}

void BoardView::fill(QRect pixels, QRgb colour)
{
    const QRect r = pixels.intersected(image_.rect());
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + r.left(), line + r.right() + 1, colour);
    }
    present(r);
}

void BoardView::line(double x1, double y1, double x2, double y2)
{
    const QPoint a(toPixels(x1), toPixels(y1));
    const QPoint b(toPixels(x2), toPixels(y2));
    // Before the first resize there is nothing to draw on; the layout pass
    // draws everything again once there is.
    if (image_.isNull())
        return;
    // A cosmetic pen: one pixel wide at any size, both end points drawn.
    QPainter painter(&image_);
    painter.setPen(QPen(QColor(toRgb(Black)), 0));
    painter.drawLine(a, b);
    painter.end();
    present(QRect(a, b).normalized());
}

void BoardView::fillBox(double x1, double y1, double x2, double y2, Colour colour)
{
    fill(QRect(QPoint(toPixels(x1), toPixels(y1)), QPoint(toPixels(x2), toPixels(y2))).normalized(),
         toRgb(colour));
}

void BoardView::present(QRect pixels)
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
    image_.fill(toRgb(BackColour));
    if (onResized)
        onResized();
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown)
        onMouseDown(static_cast<float>(event->position().x() * TwipsPerPixel),
                    static_cast<float>(event->position().y() * TwipsPerPixel));
}

void BoardView::keyPressEvent(QKeyEvent* event)
{
    using Key = Game::BoardKey;
    std::optional<Key> key;
    switch (event->key()) {
    case Qt::Key_Left: key = Key::Left; break;
    case Qt::Key_Right: key = Key::Right; break;
    case Qt::Key_Up: key = Key::Up; break;
    case Qt::Key_Down: key = Key::Down; break;
    case Qt::Key_Home: key = Key::Home; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: key = Key::Play; break;
    default: break;
    }
    // With a modifier the key is someone else's.
    if (key && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && onKey)
        return onKey(*key);
    QWidget::keyPressEvent(event);
}

void BoardView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (onFocus)
        onFocus();
}

void BoardView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (onFocus)
        onFocus();
}

} // namespace brindle
