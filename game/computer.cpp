// The game's side of the computer player: its move, its pointer and its levels.

#include "game.h"

namespace brindle {

void Game::ComputerMove()
{
    if (GameOver)
        return;
    if (thinkerPlays())
        return askThinker();
    if (!checked(Menu_ComputerComputer))
        ui.Enabled = false;
    ui.MousePointer = PointerHourglass;

    const ComputerPlayer::Choice choice = chooseMove();
    if (choice.found)
        PlacePiece(choice.row, choice.col, choice.score);

    ui.MousePointer = PointerDefault;
    ui.Enabled = true;
}

ComputerPlayer::Choice Game::chooseMove()
{
    const Level* level = currentLevel();
    return computer_.choose(NextMark, MoveCount, level != nullptr && level->randomCell);
}

bool Game::thinkerPlays() const
{
    const Level* level = currentLevel();
    return thinker_ != nullptr && ((level != nullptr && level->looksAhead) || checked(Menu_OtherEngine));
}

void Game::askThinker()
{
    // The window stays live while the thinker thinks; only the board takes
    // no click, as when the computer plays at once.
    if (thinking_)
        return;
    thinking_ = true;
    ui.MousePointer = PointerHourglass;
    Question question;
    question.otherEngine = checked(Menu_OtherEngine);
    question.strength = checked(Menu_Strength) ? strength_ : 0;
    question.moves = movesOnBoard();
    const uint32_t game = gameNumber_;
    const uint32_t position = positionNumber_;
    thinker_->ask(question, [this, game, position](const Answer& answer) {
        runWhenSettled([this, game, position, answer] { thinkerAnswered(game, position, answer); });
    });
}

void Game::thinkerAnswered(uint32_t game, uint32_t position, const Answer& answer)
{
    // An answer for a board that has changed since, or after Stop, is dropped.
    if (!thinking_ || game != gameNumber_ || position != positionNumber_ || GameOver)
        return;
    thinking_ = false;
    ui.MousePointer = PointerDefault;
    if (!answer.failure.empty())
        return thinkerFailed(answer.failure);
    if (const std::string why = unplayable(answer); !why.empty())
        return thinkerFailed(why);
    PlacePiece(answer.row, answer.col, answer.score);
    // The computer's move that ends an automatic game arms the next one, as
    // the turn after it would have.
    if (game == gameNumber_ && GameOver && !Stopped && checked(Menu_ComputerComputer))
        ui.Timer3 = {true, 1000};
}

std::string Game::unplayable(const Answer& answer) const
{
    const std::string cell = "row " + std::to_string(answer.row + 1) + ", column " + std::to_string(answer.col + 1);
    if (!onBoard(answer.row, answer.col))
        return "played off the board (" + cell + ").";
    if (Board(answer.row, answer.col) != Empty)
        return "played on a taken cell (" + cell + ").";
    return "";
}

void Game::stopThinking()
{
    if (!thinking_)
        return;
    thinking_ = false;
    thinker_->cancel();
    ui.MousePointer = PointerDefault;
}

void Game::thinkerFailed(const std::string& what)
{
    // The game stops with the board as it was, and Hard takes over.
    const std::string who = thinker_->name(checked(Menu_OtherEngine));
    if (checked(Menu_ComputerComputer))
        Menu_Stop_Click();
    GameOver = true;
    clock_.stop();
    chooseLevel(Menu_Hard);
    if (dialogs_ != nullptr)
        dialogs_->messageBox("The engine " + who + " " + what + "\r\nThe game stops here; the computer plays at Hard from now on.",
                             "Brindle", Dialogs::Icon::Information);
}

void Game::SetBusyPointer()
{
    ui.MousePointer = PointerHourglass;
}

const Level* Game::currentLevel() const
{
    for (const Level& level : Levels)
        if (checked(level.item))
            return &level;
    if (checked(Menu_Strength))
        return &strengthLevel(strength_);
    return nullptr;
}

void Game::UncheckLevels()
{
    for (const Level& level : Levels)
        check(level.item, false);
    check(Menu_Strength, false);
    check(Menu_OtherEngine, false);
}

void Game::setStrength(int32_t step)
{
    strength_ = strengthLevel(step).strength;
}

void Game::chooseLevel(MenuId item)
{
    // The other engine falls back on Hard's margin, should it stop working.
    const Level* level = item == Menu_Strength ? &strengthLevel(strength_)
                                               : levelOfItem(item == Menu_OtherEngine ? Menu_Hard : item);
    computer_.SearchMargin = level->SearchMargin;
    UncheckLevels();
    check(item, true);
}

} // namespace brindle
