// The game's side of the computer player: its move, its pointer and its levels.

#include "game.h"

namespace brindle {

void Game::ComputerMove()
{
    if (GameOver)
        return;
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
    return computer_.choose(NextMark, MoveCount, checked(Menu_Stupid));
}

void Game::SetBusyPointer()
{
    ui.MousePointer = PointerHourglass;
}

void Game::UncheckLevels()
{
    for (MenuId level : {Menu_Stupid, Menu_Easy, Menu_Normal, Menu_Hard})
        check(level, false);
}

void Game::setLevel(MenuId level, int32_t margin)
{
    computer_.SearchMargin = margin;
    UncheckLevels();
    check(level, true);
}

void Game::Menu_Stupid_Click() { setLevel(Menu_Stupid, 1); }
void Game::Menu_Easy_Click() { setLevel(Menu_Easy, 2); }
void Game::Menu_Normal_Click() { setLevel(Menu_Normal, 3); }
void Game::Menu_Hard_Click() { setLevel(Menu_Hard, 4); }

} // namespace brindle
