// The end of a game: five in a line, a draw, and the score.

#include "game.h"

namespace brindle {

void Game::CheckFive()
{
    if (!findFive())
        return;
    for (const auto& cell : WinCells)
        RedrawGridOneWin(cell[1], cell[2]);
    wonByLine = true;
    DoWinner(" ");
}

bool Game::findFive()
{
    const auto five = lineOfFive(LastRow, LastCol, [this](int32_t r, int32_t c) { return Board(r, c) == LastMark; });
    if (!five)
        return false;
    for (size_t k = 0; k < five->size(); ++k)
        WinCells[k] = {0, (*five)[k][0], (*five)[k][1]};
    return true;
}

void Game::RedrawGridOneWin(int32_t Row, int32_t Col)
{
    const double divisor = checked(Menu_PieceSmall) ? 2.5 : 3;
    const int32_t dy = CLng(CellHeight / divisor);
    const int32_t dx = CLng(CellWidth / divisor);
    canvas_.fillBox(CellWidth * (Col + 2) - dx, CellHeight * (Row + 2) - dy, CellWidth * (Col + 1) + dx,
                    CellHeight * (Row + 1) + dy, BackColour);
}

void Game::DoWinner(std::string_view WinColor)
{
    clock_.stop();
    canvas_.setPersistentDrawing(true);
    ui.lblPlacer.Caption = "'s a winner!!!";
    if (WinColor == "B" || WinColor == "R") {
        if (WinColor == "B") {
            ui.lblHvisTur.BackColor = Blue;
            clock_.RedTime = 0;
        } else {
            ui.lblHvisTur.BackColor = Red;
            clock_.BlueTime = 0;
        }
        clock_.ShowTidSekNet();
    } else if ((WinColor == "TimeWinnerR" || WinColor == "TimeWinnerB") && checked(Menu_Network)) {
        const bool redWins = WinColor == "TimeWinnerR";
        ui.lblHvisTur.BackColor = redWins ? Red : Blue;
        peer_.sendTimeWinner(redWins ? 'R' : 'B');
    }

    // A win that Reject undo puts back was counted when it was played, or
    // belongs to an opened record, which is never counted.
    if (!Replaying)
        ++globals.Score[ui.lblHvisTur.BackColor == Blue ? 2 : 1];
    // Every win but a line's is a win on time.
    sayWin(ui.lblHvisTur.BackColor == Blue ? MarkO : MarkX, WinColor != " ");
    RefreshComp();

    GameOver = true;
    ui.MousePointer = PointerDefault;
    dropKeptAtTheEnd();
    if (checked(Menu_Sound))
        winSound();
}

void Game::timeWinArrived(char winner)
{
    // The host's clock alone ends a game on time, and it ran out while our
    // last move was on its way: the host never took that move. It is taken
    // back here too, with the five or the draw it made, so that both copies
    // show the same board, winner and score. Only blue's clock running out
    // can cross a move of ours; red moves on the host.
    const auto& last = History[static_cast<size_t>(MoveCount)];
    const bool lateMove = winner == 'R' && globals.NetRole == "CLIENT" && MoveCount > 0 &&
                          Board(last[1], last[2]) == MarkO && (!GameOver || wonByLine || drawn);
    if (lateMove) {
        if (wonByLine)
            --globals.Score[2];
        else if (drawn)
            --globals.Score[3];
        reopenGame();
        takeBackMove();
        NextMark = MarkO;
        DrawGrid();
        RedrawPieces();
        ShowMoveCount();
        ShowMoveList(1);
        MoveMarkers();
    }
    // A game is won once.
    if (!GameOver)
        DoWinner(std::string(1, winner));
}

void Game::winSound()
{
    const bool blueWon = ui.lblHvisTur.BackColor == Blue;
    const char* file = nullptr;
    if (checked(Menu_HumanComputer)) {
        // The human plays red when it opened, blue otherwise.
        if (Starter == 'H')
            file = blueWon ? "Grin.wav" : "Yes.wav";
        else if (Starter == 'C')
            file = blueWon ? "Yes.wav" : "Grin.wav";
    } else if (checked(Menu_HumanHuman)) {
        file = blueWon ? "WinBlue.wav" : "WinRed.wav";
    } else if (checked(Menu_Network)) {
        if (globals.NetRole == "HOST")
            file = blueWon ? "WinBlue.wav" : "Yes.wav";
        else
            file = blueWon ? "Yes.wav" : "WinRed.wav";
    }
    if (file != nullptr)
        sound_.playWave(file);
}

void Game::RefreshComp()
{
    const auto& s = globals.Score;
    ui.lblComp.Caption = "Red: " + std::to_string(s[1]) + " - Blue: " + std::to_string(s[2]) + "\r\nDraw: " +
                         std::to_string(s[3]);
}

void Game::drawOutcome()
{
    showDraw();
    if (!Replaying)
        ++globals.Score[3];
    RefreshComp();
    dropKeptAtTheEnd();
    if (checked(Menu_Sound))
        sound_.playWave("Draw.wav");
    if (!Stopped && checked(Menu_ComputerComputer))
        ui.Timer3 = {true, 1000};
}

void Game::showDraw()
{
    canvas_.setPersistentDrawing(true);
    ui.lblPlacer.Caption = "It's a draw";
    ui.lblHvisTur.Visible = false;
    clock_.stop();
    drawn = true;
    centreDrawBanner();
    GameOver = true;
    say("Draw");
}

void Game::showWinner(char mark)
{
    canvas_.setPersistentDrawing(true);
    clock_.stop();
    ShowTurn();
    ui.lblPlacer.Caption = "'s a winner!!!";
    ui.lblHvisTur.BackColor = mark == MarkX ? Red : Blue;
    GameOver = true;
    sayWin(mark, false);
}

void Game::centreDrawBanner()
{
    // In single precision, as the banner's position is kept.
    ui.lblDraw.Top = static_cast<float>(CellHeight * 22) / 2.0f - static_cast<float>(ui.lblDraw.Height) / 2.0f;
    ui.lblDraw.Left = static_cast<float>(CellWidth * 22) / 2.0f - static_cast<float>(ui.lblDraw.Width) / 2.0f;
}

} // namespace brindle
