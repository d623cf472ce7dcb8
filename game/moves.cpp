// Turning a click into a placed piece and handing the turn over.

#include <algorithm>
#include <cmath>

#include "game.h"
#include "net/protocol.h"

namespace brindle {

void Game::Form_MouseDown(float X, float Y)
{
    if (!IntroShown) {
        IntroSkip = true;
        return;
    }
    // A click that arrives while a piece is still being placed would play for
    // the side whose turn has not been shown yet.
    if (moveEventPass_ > 0)
        return;
    if (GameOver)
        return;
    if (Checked(Menu_ComputerComputer))
        return;
    const bool network = Checked(Menu_Network);
    if (network && (ui.Menu[Menu_Stop].Visible || ui.MousePointer == PointerHourglass || globals.NetPending))
        return Refuse();

    const double fx = (static_cast<double>(X) - CellWidth) / CellWidth;
    const double fy = (static_cast<double>(Y) - CellHeight) / CellHeight;
    // Exactly on a grid line belongs to neither cell.
    if (fx == std::floor(fx) || fy == std::floor(fy))
        return Refuse();
    // Far outside the board only the side matters, so clamp before converting.
    ClickCol = static_cast<int32_t>(std::clamp(std::floor(fx), -1.0, 20.0));
    ClickRow = static_cast<int32_t>(std::clamp(std::floor(fy), -1.0, 20.0));
    if (ClickCol < 0 || ClickRow < 0 || ClickCol > 19 || ClickRow > 19)
        return Refuse();
    if (Board(ClickRow, ClickCol) > Empty)
        return Refuse();

    const uint32_t game = gameNumber_;
    PlacePiece(ClickRow, ClickCol, 0);
    // A new game that began while the piece was placed (the host's, in a
    // network game) has no place for this move: the peer must not get it.
    if (game != gameNumber_)
        return;
    if (Starter == 'C' && MoveCount < 2)
        Enable(Menu_Undo, false);
    if (network)
        host_.Send(protocol::MoveMessage(ClickRow, ClickCol));
    Enable(Menu_RejectUndo, false);
}

void Game::PlacePiece(int32_t Row, int32_t Col, int32_t MoveScore)
{
    LastCol = Col;
    LastRow = Row;
    LastMark = NextMark;
    SetBoard(Row, Col, NextMark);
    NextMark = OtherMark(NextMark);

    ++MoveCount;
    ShowMoveCount();
    History[static_cast<size_t>(MoveCount)] = {0, Row, Col, MoveScore};
    HighMove = std::max(HighMove, MoveCount);

    MinRow = std::min(MinRow, Row);
    MinCol = std::min(MinCol, Col);
    MaxRow = std::max(MaxRow, Row);
    MaxCol = std::max(MaxCol, Col);
    SearchMinRow = std::max(MinRow - SearchMargin, 0);
    SearchMinCol = std::max(MinCol - SearchMargin, 0);
    SearchMaxRow = std::min(MaxRow + SearchMargin, NumRows - 1);
    SearchMaxCol = std::min(MaxCol + SearchMargin, NumCols - 1);
    for (int32_t c = std::max(Col - SearchMargin, 0); c <= std::min(Col + SearchMargin, 19); ++c)
        for (int32_t r = std::max(Row - SearchMargin, 0); r <= std::min(Row + SearchMargin, 19); ++r)
            NearPiece[static_cast<size_t>(r)][static_cast<size_t>(c)] = true;

    MoveMarkers();
    DrawPiece(Row, Col);

    const uint32_t position = ++positionNumber_;
    ++moveEventPass_;
    host_.DoEvents();
    --moveEventPass_;
    // A new game, an undo or another move that ran meanwhile has taken this
    // move's place: what follows would judge a position it did not make.
    if (position != positionNumber_)
        return;

    const bool fivePossible = ErFemMulig();
    const bool onlyFullBoardCounts = Checked(Menu_ComputerComputer) && Checked(Menu_Stupid);
    if (MoveCount == MaxMoves || (!onlyFullBoardCounts && !fivePossible)) {
        DrawOutcome();
        return;
    }
    CheckFive();
    if (!GameOver)
        NextTurn(1);
    if (((MoveCount == 1 && Checked(Menu_HumanHuman)) || MoveCount > 1) && !Checked(Menu_Network) &&
        !Checked(Menu_ComputerComputer))
        Enable(Menu_Undo, true);
}

void Game::NextTurn(int32_t Flag)
{
    if (Flag == 1)
        ShowTurn();
    // The computer plays blue when the human opened, red when it opened; in
    // a network game the host waits while blue moves, the joiner while red does.
    const bool blue = NextMark == MarkO;
    ui.lblHvisTur.BackColor = blue ? Blue : Red;
    ui.lblHvisTur.Caption.clear();
    const bool computersTurn =
        (Starter == (blue ? 'H' : 'C') && Checked(Menu_HumanComputer)) || Checked(Menu_ComputerComputer);
    if (computersTurn && !Replaying)
        ComputerMove();
    if (Checked(Menu_Network) && globals.NetRole == (blue ? "HOST" : "CLIENT") && !Replaying)
        SetBusyPointer();
    if (!Stopped && GameOver && Checked(Menu_ComputerComputer))
        ui.Timer3 = {true, 1000};
}

void Game::ShowTurn()
{
    if (ui.lblPlacer.Caption != "'s turn.")
        ui.lblPlacer.Caption = "'s turn.";
    ui.lblHvisTur.BackStyle = 1;
    ui.lblHvisTur.BorderStyle = 1;
}

void Game::ShowMoveCount()
{
    ui.lblTraek.Caption = "Moves: " + std::to_string(MoveCount);
}

} // namespace brindle
