#pragma once
// The panel beside the move list where the computer's thinking is shown:
// the evaluation as a bar, words and a number, the depth, speed and time,
// the best line and the best three moves; and, after a review, the graph of
// the game's evaluation with its mistakes. It shows what it is given and
// says what the player does with it; the advisor decides the rest.

#include <functional>
#include <vector>

#include <QDockWidget>

#include "engine/analysis.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace brindle {

// One position of a reviewed game: after `move` moves.
struct ReviewedMove {
    double value = 0;  // from red's side, -1..1
    int mark = 0;      // 0 none, 1 a mistake, 2 a blunder (for the move that led here)
    std::string note;  // what the engine preferred, for a marked move
};

// The evaluation over the moves of a game: a point for each position,
// mistakes and blunders marked, the position on the board shown. A click
// or the arrow keys choose a position.
class ReviewGraph final : public QWidget {
    Q_OBJECT
public:
    explicit ReviewGraph(QWidget* parent = nullptr);
    void setPositions(std::vector<ReviewedMove> positions);
    const std::vector<ReviewedMove>& positions() const { return positions_; }
    void setCurrent(int move);
    int current() const { return current_; }
    // The position at a point of the widget.
    int moveAt(double x) const;
    std::function<void(int move)> onPick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double xOf(int move) const;
    std::vector<ReviewedMove> positions_;
    int current_ = 0;
};

class AnalysisPanel final : public QDockWidget {
    Q_OBJECT
public:
    explicit AnalysisPanel(QWidget* parent = nullptr);

    // The latest thinking on the position after `moves` moves, red to move or not.
    void showThinking(const engine::Thinking& thinking, int moves, bool redToMove);
    // A line of its own instead of the figures ("The game is over.").
    void showState(const QString& text);
    void showReviewProgress(int done, int total);
    void showReview(std::vector<ReviewedMove> positions);
    void clearReview();
    ReviewGraph& graph() { return *graph_; }
    QLabel& verdictLabel() { return *verdict_; }
    QLabel& lineLabel() { return *line_; }
    QLabel& statusLabel() { return *status_; }

    std::function<void(bool on)> onLineHovered;
    std::function<void()> onCancelReview;
    std::function<void()> onClosed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class Bar;
    Bar* bar_;
    QLabel* verdict_;
    QLabel* stats_;
    QLabel* line_;
    QLabel* candidates_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    ReviewGraph* graph_;
    QListWidget* mistakes_;
};

} // namespace brindle
