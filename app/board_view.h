#pragma once
// The board surface of the main window: a retained image of its client area
// that the game draws on in twips, shown at every repaint. Mouse presses are
// reported in twips as well.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QWidget>

#include "game/game.h"
#include "game/ports.h"

namespace brindle {

inline constexpr double TwipsPerPixel = 15.0;
int toPixels(double twips);
// A colour word (&H00BBGGRR) as Qt's colour.
QColor toQColor(Colour colour);

// What the computer's advice shows over the board, painted above the game's
// own drawing and never into it: cells are {row, column}.
struct BoardOverlay {
    bool hint = false;
    std::array<int32_t, 2> hintCell{};
    // The analysis' best moves, marked 1, 2, 3.
    std::vector<std::array<int32_t, 2>> candidates;
    // The best line while the pointer is on it: numbered translucent stones,
    // the first in `lineRed`'s colour.
    std::vector<std::array<int32_t, 2>> line;
    bool lineRed = true;
    // Words over the board's top margin ("Hint: Red wins in 4 moves").
    std::string note;

    bool operator==(const BoardOverlay&) const = default;
};

class BoardView final : public QWidget, public Canvas {
    Q_OBJECT
public:
    explicit BoardView(QWidget* parent = nullptr);

    // Canvas, in twips.
    void clear() override;
    void line(double x1, double y1, double x2, double y2) override;
    void fillBox(double x1, double y1, double x2, double y2, Colour colour) override;
    void setPersistentDrawing(bool on) override { persistent_ = on; }
    bool persistentDrawing() const override { return persistent_; }

    const QImage& image() const { return image_; }

    std::function<void(float x, float y)> onMouseDown; // twips
    std::function<void()> onResized;
    // A key the board takes: an arrow, Home, or Enter or Space to play.
    std::function<void(Game::BoardKey key)> onKey;
    // The keyboard focus came or went.
    std::function<void()> onFocus;

    // The game whose board this is, which a screen reader reads.
    void setGame(const Game* game) { game_ = game; }
    const Game* game() const { return game_; }

    void setOverlay(const BoardOverlay& overlay);
    const BoardOverlay& overlay() const { return overlay_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void fill(QRect pixels, QRgb colour);
    // Shows a freshly drawn area: at once when drawing is not persistent,
    // with the next repaint otherwise.
    void present(QRect pixels);

    QImage image_;
    bool persistent_ = true;
    void paintOverlay(QPainter& painter) const;

    const Game* game_ = nullptr;
    BoardOverlay overlay_;
};

} // namespace brindle
