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
    paintOverlay(painter);
}

void BoardView::setOverlay(const BoardOverlay& overlay)
{
    if (overlay == overlay_)
        return;
    overlay_ = overlay;
    update();
}

void BoardView::paintOverlay(QPainter& painter) const
{
    if (game_ == nullptr)
        return;
    const auto cellRect = [this](const std::array<int32_t, 2>& cell, double inset) {
        const double w = game_->CellWidth / TwipsPerPixel, h = game_->CellHeight / TwipsPerPixel;
        return QRectF((cell[1] + 1) * w, (cell[0] + 1) * h, w, h).adjusted(w * inset, h * inset, -w * inset, -h * inset);
    };
    painter.setRenderHint(QPainter::Antialiasing);
    const auto number = [&painter](const QRectF& r, int n, const QColor& colour) {
        QFont font = painter.font();
        font.setPixelSize(std::max(7, static_cast<int>(r.height() * 0.8)));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(r, Qt::AlignCenter, QString::number(n));
    };
    // The best line: stones of the side to play, see-through, in their order.
    for (size_t i = 0; i < overlay_.line.size(); ++i) {
        const bool red = (i % 2 == 0) == overlay_.lineRed;
        QColor fill = red ? QColor(220, 0, 0) : QColor(0, 0, 220);
        fill.setAlpha(110);
        const QRectF r = cellRect(overlay_.line[i], 0.1);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(r);
        number(r, static_cast<int>(i + 1), Qt::white);
    }
    // The candidates: dark numbers in a pale ring, on empty cells.
    for (size_t i = 0; i < overlay_.candidates.size() && overlay_.line.empty(); ++i) {
        const QRectF r = cellRect(overlay_.candidates[i], 0.12);
        painter.setPen(QPen(QColor(90, 60, 0), 1.5));
        painter.setBrush(QColor(255, 235, 160, 200));
        painter.drawEllipse(r);
        number(r, static_cast<int>(i + 1), QColor(90, 60, 0));
    }
    if (!overlay_.note.empty()) {
        const double h = game_->CellHeight / TwipsPerPixel;
        QFont font = painter.font();
        font.setPixelSize(std::max(9, static_cast<int>(h * 0.7)));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(game_->CellWidth / TwipsPerPixel, 0, width(), h), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(overlay_.note));
    }
    // The hint: a gold diamond round the cell, unlike a piece, the cursor's
    // square rings or a won line, and open so that a number inside shows.
    if (overlay_.hint) {
        const QRectF r = cellRect(overlay_.hintCell, -0.15);
        const QPolygonF diamond({QPointF(r.center().x(), r.top()), QPointF(r.right(), r.center().y()),
                                 QPointF(r.center().x(), r.bottom()), QPointF(r.left(), r.center().y())});
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 170, 0), 3));
        painter.drawPolygon(diamond);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPolygon(diamond);
    }
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
