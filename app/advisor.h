#pragma once
// The window's side of the computer's advice: it keeps the analysis on the
// position on the board, runs a review of the game, puts both in the panel
// and over the board, and carries a review into and out of SGF records. It
// reads the game and acts on it only through the window's one way in.

#include <array>
#include <chrono>
#include <functional>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "app/analysis_panel.h"
#include "app/board_view.h"
#include "game/game.h"
#include "game/record.h"
#include "platform/analyst.h"

namespace brindle {

class Advisor final : public QObject {
    Q_OBJECT
public:
    using Handle = std::function<void(std::function<void()>)>;
    Advisor(Game& game, BoardView& board, AnalysisPanel& panel, Handle handle, QObject* parent = nullptr);

    // After every event: the analysis follows the board, or stops where it
    // may not run; the panel and the marks over the board follow.
    void sync();
    // Game → Review game: every position of the game on the board, at `reviewBudget` each.
    void startReview();
    void cancelReview();
    bool reviewing() const { return reviewing_; }
    // The review of this game, if there is one, goes into the record.
    void annotate(record::Record& record) const;
    // A record that carries a review shows it again, without thinking.
    void opened(const record::Record& record);
    const std::vector<ReviewedMove>& review() const { return positions_; }

    std::chrono::milliseconds reviewBudget{200};
    // Shows or hides the panel; the window makes room for it.
    std::function<void(bool shown)> showPanel;
    Analyst& analyst() { return analyst_; }

private:
    void heard(const engine::Thinking& thinking);
    void reviewed(const std::vector<engine::Thinking>& found);
    void showReview(std::vector<ReviewedMove> positions);
    void clearReview();
    // Goes to the position after `move` moves by Undo and Reject undo.
    void pick(int move);
    void showOverlay();
    // Tells a screen reader the evaluation and best move, at most once a second.
    void announce();
    bool panelWanted() const;

    Game& game_;
    BoardView& board_;
    AnalysisPanel& panel_;
    Handle handle_;
    Analyst analyst_;

    Analyst::Moves analysed_;
    bool analysing_ = false;
    bool heardAny_ = false;
    engine::Thinking last_;
    bool lineHovered_ = false;

    bool reviewing_ = false;
    Analyst::Moves reviewMoves_;
    std::vector<ReviewedMove> positions_;

    QString lastAnnounced_;
    QElapsedTimer sinceAnnounced_;
    QTimer announceLater_;
    bool panelShown_ = false;
};

} // namespace brindle
