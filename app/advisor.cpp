#include "app/advisor.h"

#include <QAccessible>
#include <QLabel>

#include "game/review.h"

namespace brindle {

namespace {

QString cellText(int32_t row, int32_t col)
{
    return QStringLiteral("(%1,%2)").arg(row + 1).arg(col + 1);
}

bool isPrefix(const Analyst::Moves& part, const Analyst::Moves& whole)
{
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

} // namespace

Advisor::Advisor(Game& game, BoardView& board, AnalysisPanel& panel, Handle handle, QObject* parent)
    : QObject(parent), game_(game), board_(board), panel_(panel), handle_(std::move(handle)), analyst_(this)
{
    panel_.onLineHovered = [this](bool on) {
        lineHovered_ = on;
        showOverlay();
    };
    panel_.onCancelReview = [this] { handle_([this] { cancelReview(); }); };
    // Closing the panel turns the analysis off and puts the review away.
    panel_.onClosed = [this] {
        handle_([this] {
            panelShown_ = false;
            if (game_.checked(Menu_Analysis))
                game_.command(Menu_Analysis);
            cancelReview();
            clearReview();
        });
    };
    panel_.graph().onPick = [this](int move) { pick(move); };
    announceLater_.setSingleShot(true);
    connect(&announceLater_, &QTimer::timeout, this, [this] { announce(); });
}

bool Advisor::panelWanted() const
{
    if (game_.checked(Menu_Network) || !game_.state().IntroShown)
        return false;
    return game_.checked(Menu_Analysis) || reviewing_ || !positions_.empty();
}

void Advisor::sync()
{
    if (game_.checked(Menu_Network)) {
        cancelReview();
        clearReview();
    }
    const Analyst::Moves moves = game_.movesOnBoard();
    // Another game, or another move where the review's was, puts the review
    // away; a walk back by Undo, or play beyond its end, keeps it.
    if (!positions_.empty() && !isPrefix(reviewMoves_, game_.movesKept()))
        clearReview();
    if (!positions_.empty())
        panel_.graph().setCurrent(static_cast<int>(moves.size()));

    const bool wanted = panelWanted();
    if (wanted != panelShown_) {
        panelShown_ = wanted;
        if (showPanel)
            showPanel(wanted);
    }
    const bool on = wanted && game_.checked(Menu_Analysis) && game_.ui.Menu[Menu_Analysis].Enabled;
    if (reviewing_) {
        // The review has the worker; the analysis waits for it.
    } else if (on && game_.state().GameOver) {
        // A board with a five on it has nothing left to think about.
        analyst_.stop();
        analysing_ = false;
        panel_.showState(QStringLiteral("The game is over."));
    } else if (on && (!analysing_ || moves != analysed_)) {
        analysed_ = moves;
        analysing_ = true;
        heardAny_ = false;
        panel_.showState(QStringLiteral("Thinking…"));
        analyst_.think(moves, 3, [this](const engine::Thinking& t) { heard(t); });
    } else if (!on && analysing_) {
        analyst_.stop();
        analysing_ = false;
    }
    showOverlay();
}

void Advisor::heard(const engine::Thinking& thinking)
{
    last_ = thinking;
    heardAny_ = true;
    panel_.showThinking(thinking, static_cast<int>(analysed_.size()), analysed_.size() % 2 == 0);
    showOverlay();
    announce();
}

void Advisor::announce()
{
    if (!analysing_ || last_.candidates.empty())
        return;
    const engine::Candidate& best = last_.candidates.front();
    const QString words = QString::fromStdString(engine::verdict(last_.eval, analysed_.size() % 2 == 0)) +
                          QStringLiteral(". Best move row %1, column %2").arg(best.y + 1).arg(best.x + 1);
    if (words == lastAnnounced_)
        return;
    if (sinceAnnounced_.isValid() && sinceAnnounced_.elapsed() < 1000) {
        if (!announceLater_.isActive())
            announceLater_.start(static_cast<int>(1000 - sinceAnnounced_.elapsed()));
        return;
    }
    lastAnnounced_ = words;
    sinceAnnounced_.start();
    // A screen reader hears the label's new name.
    panel_.verdictLabel().setAccessibleName(words);
}

void Advisor::showOverlay()
{
    BoardOverlay overlay;
    const HintMark& hint = game_.ui.hint;
    overlay.hint = hint.Shown;
    overlay.hintCell = {hint.Row, hint.Col};
    overlay.note = hint.Shown && !hint.verdict.empty() ? "Hint: " + hint.verdict : "";
    if (analysing_ && heardAny_ && analysed_ == game_.movesOnBoard() && !game_.checked(Menu_Network)) {
        for (const engine::Candidate& c : last_.candidates)
            overlay.candidates.push_back({c.y, c.x});
        if (lineHovered_)
            for (const auto& [x, y] : last_.line)
                overlay.line.push_back({y, x});
        overlay.lineRed = analysed_.size() % 2 == 0;
    }
    board_.setOverlay(overlay);
}

void Advisor::startReview()
{
    const Analyst::Moves moves = game_.movesOnBoard();
    if (reviewing_ || moves.empty())
        return;
    analyst_.stop();
    analysing_ = false;
    reviewing_ = true;
    reviewMoves_ = moves;
    clearReview();
    panel_.showState(QStringLiteral("Reviewing the game: Cancel stops it."));
    panel_.showReviewProgress(0, static_cast<int>(moves.size()) + 1);
    analyst_.review(
        moves, reviewBudget, [this](int done, int total) { panel_.showReviewProgress(done, total); },
        [this](const std::vector<engine::Thinking>& found) { handle_([this, found] { reviewed(found); }); });
}

void Advisor::cancelReview()
{
    if (!reviewing_)
        return;
    analyst_.stop();
    reviewing_ = false;
    clearReview();
}

void Advisor::reviewed(const std::vector<engine::Thinking>& found)
{
    reviewing_ = false;
    // The analysis, when on, takes the words over again at once.
    panel_.showState(QStringLiteral("Reviewed: click the graph, or use the arrow keys, to go to a move."));
    std::vector<double> values;
    for (size_t n = 0; n < found.size(); ++n)
        values.push_back(engine::redValue(found[n].eval, n % 2 == 0));
    // A game won by a line of five ends on the winner's side.
    if (game_.state().wonByLine && game_.movesOnBoard() == reviewMoves_)
        values.back() = reviewMoves_.size() % 2 == 1 ? 1.0 : -1.0;
    const auto marks = review::judge(values, MarkX);
    std::vector<ReviewedMove> positions(values.size());
    for (size_t n = 0; n < values.size(); ++n) {
        positions[n].value = values[n];
        if (n == 0 || marks[n - 1] == record::Note::Mark::None)
            continue;
        positions[n].mark = marks[n - 1] == record::Note::Mark::Bad ? 2 : 1;
        if (!found[n - 1].candidates.empty()) {
            const engine::Candidate& better = found[n - 1].candidates.front();
            positions[n].note = "the computer preferred " + cellText(better.y, better.x).toStdString() + ".";
        }
    }
    showReview(std::move(positions));
}

void Advisor::showReview(std::vector<ReviewedMove> positions)
{
    positions_ = positions;
    panel_.showReview(std::move(positions));
    panel_.graph().setCurrent(static_cast<int>(game_.movesOnBoard().size()));
}

void Advisor::clearReview()
{
    positions_.clear();
    panel_.clearReview();
}

void Advisor::pick(int move)
{
    handle_([this, move] {
        // Undo and Reject undo walk there, as the player would; a step that
        // moves nothing (the computer's opening, a move under way) ends the walk.
        for (int32_t before = -1; game_.state().MoveCount > move && before != game_.state().MoveCount;) {
            before = game_.state().MoveCount;
            game_.command(Menu_Undo);
        }
        for (int32_t before = -1; game_.state().MoveCount < move && before != game_.state().MoveCount;) {
            before = game_.state().MoveCount;
            game_.command(Menu_RejectUndo);
        }
        panel_.graph().setCurrent(game_.state().MoveCount);
    });
}

void Advisor::annotate(record::Record& record) const
{
    // The game saved after a walk back by Undo keeps the review of its moves.
    if (positions_.empty() || record.moves.size() >= positions_.size())
        return;
    for (size_t n = 0; n < record.moves.size(); ++n)
        if (record.moves[n].row != reviewMoves_[n][0] || record.moves[n].col != reviewMoves_[n][1])
            return;
    record.reviewed = true;
    record.notes.clear();
    for (size_t n = 1; n <= record.moves.size(); ++n) {
        record::Note note;
        note.valued = true;
        note.value = positions_[n].value;
        note.mark = positions_[n].mark == 2 ? record::Note::Mark::Bad
                    : positions_[n].mark == 1 ? record::Note::Mark::Doubtful
                                              : record::Note::Mark::None;
        note.comment = positions_[n].note.empty() ? "" : (positions_[n].mark == 2 ? "Blunder: " : "Mistake: ") + positions_[n].note;
        record.notes.push_back(note);
    }
}

void Advisor::opened(const record::Record& record)
{
    cancelReview();
    clearReview();
    if (!record.reviewed || record.notes.size() != record.moves.size())
        return;
    reviewMoves_.clear();
    std::vector<ReviewedMove> positions(record.moves.size() + 1);
    for (size_t n = 0; n < record.moves.size(); ++n) {
        reviewMoves_.push_back({record.moves[n].row, record.moves[n].col});
        const record::Note& note = record.notes[n];
        ReviewedMove& p = positions[n + 1];
        p.value = note.valued ? std::clamp(note.value, -1.0, 1.0) : positions[n].value;
        p.mark = note.mark == record::Note::Mark::Bad ? 2 : note.mark == record::Note::Mark::Doubtful ? 1 : 0;
        // What we wrote ourselves reads back without its label.
        p.note = note.comment;
        for (const char* label : {"Blunder: ", "Mistake: "})
            if (p.note.starts_with(label))
                p.note.erase(0, std::string_view(label).size());
    }
    showReview(std::move(positions));
}

} // namespace brindle
