// Taking moves back, putting them back, and the list of moves.

#include "game.h"

namespace brindle {

namespace {

// "12: (7,12)   " for move 12 at row 6, column 11, with the computer's score
// after the blanks when it made the move.
std::string moveListLine(int32_t n, const std::array<int32_t, 4>& move)
{
    std::string line = std::to_string(n) + ": (" + std::to_string(move[1] + 1) + "," + std::to_string(move[2] + 1) + ")   ";
    if (move[3] != 0)
        line += std::to_string(move[3]);
    return line + "\r\n";
}

} // namespace

void Game::takeBackMove()
{
    // History entry 0 is no move: there is nothing left to take back.
    if (MoveCount < 1)
        return;
    const auto& move = History[static_cast<size_t>(MoveCount)];
    setBoard(move[1], move[2], Empty);
    --MoveCount;
    positionChanged();
}

void Game::reopenGame()
{
    GameOver = false;
    wonByLine = false;
    drawn = false;
    ui.lblDraw.Top = Parked;
    ui.lblDraw.Left = Parked;
    // A drawn game hid the turn square; the reopened game needs it again.
    ui.lblHvisTur.Visible = true;
}

void Game::Menu_Undo_Click()
{
    // The computer's opening move cannot be taken back.
    if ((Starter == 'C' && MoveCount < 2) || MoveCount < 1) {
        enable(Menu_Undo, false);
        return;
    }
    ui.Enabled = false;
    reopenGame();
    clock_.resume();

    // While the computer thinks its reply is not there yet: the question
    // goes, and only the move it answers is taken back.
    const bool thought = thinking_;
    stopThinking();
    if (checked(Menu_HumanHuman) || thought) {
        takeBackMove();
        ShowMoveCount();
        DrawGrid();
        RedrawPieces();
        NextMark = otherMark(NextMark);
    } else {
        // Against the computer its reply goes too, so the same side moves again.
        takeBackMove();
        takeBackMove();
        DrawGrid();
        RedrawPieces();
        ShowMoveCount();
    }
    ShowMoveList(1);
    lastMoveAt_ = now_();
    NextTurn(1);
    MoveMarkers();
    enable(Menu_RejectUndo, true);
    if (MoveCount == 0)
        enable(Menu_Undo, false);
    ui.Enabled = true;
}

void Game::Menu_RejectUndo_Click()
{
    Replaying = true;
    bool blocked = false;
    const int times = checked(Menu_HumanHuman) ? 1 : 2;
    for (int i = 0; i < times && !GameOver; ++i) {
        const int32_t n = MoveCount + 1;
        if (n > HighMove)
            break;
        const auto& move = History[static_cast<size_t>(n)];
        // After undo and new moves, a kept move may point at a cell that has
        // since been taken: the line it belonged to is gone.
        if (Board(move[1], move[2]) > Empty) {
            blocked = true;
            break;
        }
        PlacePiece(move[1], move[2], move[3]);
    }
    Replaying = false;
    if (blocked || GameOver || MoveCount >= HighMove)
        enable(Menu_RejectUndo, false);
    // What was chosen while the moves were replayed runs once they all are.
    runWaiting();
}

void Game::ShowMoveList(int32_t Mode)
{
    if (!checked(Menu_Details))
        return;
    if (Mode == 1) {
        std::string text;
        for (int32_t n = MoveCount; n >= 1; --n)
            text += moveListLine(n, History[static_cast<size_t>(n)]);
        ui.txtMoves.Caption = std::move(text);
        ListedMoves = MoveCount;
        return;
    }
    if (MoveCount < 1 || ListedMoves >= MoveCount)
        return;
    ui.txtMoves.Caption.insert(0, moveListLine(MoveCount, History[static_cast<size_t>(MoveCount)]));
    ListedMoves = MoveCount;
}

} // namespace brindle
