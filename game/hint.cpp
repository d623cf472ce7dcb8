// The computer's advice to the player: a hint for the side to move, and
// when the window may think about the game beside it.

#include "game.h"
#include "record.h"

namespace brindle {

std::vector<std::array<int32_t, 2>> Game::movesThrough(int32_t last) const
{
    std::vector<std::array<int32_t, 2>> moves;
    for (int32_t n = 1; n <= last; ++n)
        moves.push_back({History[static_cast<size_t>(n)][1], History[static_cast<size_t>(n)][2]});
    return moves;
}

void Game::showAdviceItems()
{
    // Advice in a network game would help one player against the other.
    const bool fair = !checked(Menu_Network) && !checked(Menu_ComputerComputer);
    enable(Menu_Hint, fair && !thinking_ && !hinting_ && !GameOver && MoveCount < MaxMoves);
    enable(Menu_Analysis, fair);
    enable(Menu_Review, fair && !thinking_ && MoveCount > 0);
    if (!fair)
        check(Menu_Analysis, false);
}

void Game::positionChanged()
{
    ++positionNumber_;
    hinting_ = false;
    ui.hint.Shown = false;
}

void Game::Menu_Hint_Click()
{
    showAdviceItems();
    if (!ui.Menu[Menu_Hint].Enabled)
        return;
    const uint32_t position = positionNumber_;
    if (thinker_ == nullptr) {
        // Without a thinker the hint is Hard's move.
        const ComputerPlayer::Choice choice = computer_.choose(NextMark, MoveCount, false);
        if (!choice.found)
            return;
        Answer answer;
        answer.row = choice.row;
        answer.col = choice.col;
        hinting_ = true;
        return hintAnswered(position, answer);
    }
    hinting_ = true;
    Question question;
    question.hint = true;
    question.otherEngine = checked(Menu_OtherEngine);
    question.moves = movesOnBoard();
    thinker_->ask(question, [this, position](const Answer& answer) {
        runWhenSettled([this, position, answer] { hintAnswered(position, answer); });
    });
}

void Game::hintAnswered(uint32_t position, const Answer& answer)
{
    // A hint for a position that has gone is no hint.
    if (!hinting_ || position != positionNumber_)
        return;
    hinting_ = false;
    if (const std::string why = answer.failure.empty() ? unplayable(answer) : answer.failure; !why.empty()) {
        if (dialogs_ != nullptr && thinker_ != nullptr)
            dialogs_->messageBox("No hint: the engine " + thinker_->name(checked(Menu_OtherEngine)) + " " + why, "Brindle",
                                 Dialogs::Icon::Information);
        return;
    }
    ui.hint = {true, answer.row, answer.col, answer.verdict};
    // The keyboard's cursor goes to the hint, so that Enter plays it.
    hideCursor();
    ui.cursor = {true, answer.row, answer.col};
    drawCursor();
    say("Hint: " + record::cellName(answer.row, answer.col) + (answer.verdict.empty() ? "" : ". " + answer.verdict));
}

} // namespace brindle
