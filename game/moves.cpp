// Turning a click into a placed piece and handing the turn over.

#include <algorithm>
#include <cmath>

#include "game.h"

namespace brindle {

void Game::Form_MouseDown(float X, float Y)
{
    // A player who clicks has no use for the keyboard's cursor.
    if (ui.Enabled && !ended_ && !busy())
        hideCursor();
    clickAt(X, Y);
}

void Game::clickAt(float X, float Y)
{
    // A disabled window gets no clicks, nor does a closed one.
    if (!ui.Enabled || ended_)
        return;
    if (!IntroShown) {
        IntroSkip = true;
        return;
    }
    // A click that arrives while a piece is still being placed would play for
    // the side whose turn has not been shown yet.
    if (busy() || thinking_)
        return;
    if (GameOver)
        return;
    if (checked(Menu_ComputerComputer))
        return;
    const bool network = checked(Menu_Network);
    if (network && (ui.Menu[Menu_Stop].Visible || ui.MousePointer == PointerHourglass || globals.NetPending))
        return sound_.beep();

    const double fx = (static_cast<double>(X) - CellWidth) / CellWidth;
    const double fy = (static_cast<double>(Y) - CellHeight) / CellHeight;
    // Exactly on a grid line belongs to neither cell.
    if (fx == std::floor(fx) || fy == std::floor(fy))
        return sound_.beep();
    // Far outside the board only the side matters, so clamp before converting.
    ClickCol = static_cast<int32_t>(std::clamp(std::floor(fx), -1.0, 20.0));
    ClickRow = static_cast<int32_t>(std::clamp(std::floor(fy), -1.0, 20.0));
    if (ClickCol < 0 || ClickRow < 0 || ClickCol > 19 || ClickRow > 19)
        return sound_.beep();
    if (Board(ClickRow, ClickCol) > Empty)
        return sound_.beep();

    const uint32_t game = gameNumber_;
    const int32_t move = MoveCount + 1;
    PlacePiece(ClickRow, ClickCol, 0);
    // A new game or an undo chosen while the piece was placed has taken the
    // move away: the peer must not get it, and Reject undo stays as the undo
    // left it.
    if (game != gameNumber_ || MoveCount < move)
        return;
    if (Starter == 'C' && MoveCount < 2)
        enable(Menu_Undo, false);
    if (network)
        peer_.SendMove(ClickRow, ClickCol);
}

void Game::PlacePiece(int32_t Row, int32_t Col, int32_t MoveScore)
{
    LastCol = Col;
    LastRow = Row;
    LastMark = NextMark;
    setBoard(Row, Col, NextMark);
    NextMark = otherMark(NextMark);
    positionChanged();
    const uint32_t position = positionNumber_;

    ++MoveCount;
    ShowMoveCount();
    History[static_cast<size_t>(MoveCount)] = {0, Row, Col, MoveScore};
    // A move put back by Reject undo keeps the time it took when it was played.
    const int64_t now = now_();
    if (!Replaying)
        moveMs[static_cast<size_t>(MoveCount)] = now - lastMoveAt_;
    lastMoveAt_ = now;
    HighMove = std::max(HighMove, MoveCount);
    computer_.notePiece(Row, Col);

    MoveMarkers();
    DrawPiece(Row, Col);
    sayMove(LastMark, Row, Col);
    // A new move ends what Reject undo could put back, also for a Reject undo
    // chosen while this one is being placed.
    if (!Replaying)
        enable(Menu_RejectUndo, false);

    // The piece is shown; commands and messages that arrive now wait until
    // the move has been judged.
    ++moveEventPass_;
    events_.DoEvents();
    --moveEventPass_;
    if (ended_)
        return;

    const bool fivePossible = ErFemMulig();
    const bool onlyFullBoardCounts = checked(Menu_ComputerComputer) && checked(Menu_Stupid);
    const bool drawn = MoveCount == MaxMoves || (!onlyFullBoardCounts && !fivePossible);
    if (drawn)
        drawOutcome();
    else
        CheckFive();

    runWaiting();
    // A new game, an undo or a move that ran just now has taken this move's
    // place: handing the turn over is no longer this move's business.
    if (drawn || position != positionNumber_)
        return;
    if (!GameOver)
        NextTurn(1);
    if (((MoveCount == 1 && checked(Menu_HumanHuman)) || MoveCount > 1) && !checked(Menu_Network) &&
        !checked(Menu_ComputerComputer))
        enable(Menu_Undo, true);
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
        (Starter == (blue ? 'H' : 'C') && checked(Menu_HumanComputer)) || checked(Menu_ComputerComputer);
    if (computersTurn && !Replaying)
        ComputerMove();
    if (checked(Menu_Network) && globals.NetRole == (blue ? "HOST" : "CLIENT") && !Replaying)
        SetBusyPointer();
    if (!Stopped && GameOver && checked(Menu_ComputerComputer))
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
