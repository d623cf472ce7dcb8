// Drawing the board in twips: the grid, the pieces and the last-move arrows.

#include "game.h"

namespace brindle {

void Game::DrawGrid()
{
    canvas_.clear();
    for (int32_t k = 1; k <= 21; ++k)
        canvas_.line(CellWidth, CellHeight * k, 21 * CellWidth, CellHeight * k);
    for (int32_t k = 1; k <= 21; ++k)
        canvas_.line(CellWidth * k, CellHeight, CellWidth * k, 21 * CellHeight);
}

void Game::DrawPiece(int32_t row, int32_t col)
{
    Colour colour = BackColour; // "4", the wipe's trail, erases the square
    switch (Board(row, col)) {
    case MarkX: colour = Red; break;
    case MarkO: colour = Blue; break;
    case WipeBar: colour = Magenta; break;
    default: break;
    }
    const int32_t P = PieceInset;
    canvas_.fillBox(CellWidth * (col + 1) + P, CellHeight * (row + 1) + P, CellWidth * (col + 2) - P,
                    CellHeight * (row + 2) - P, colour);
    if (ui.cursor.Shown && ui.cursor.Row == row && ui.cursor.Col == col)
        drawCursor();
}

bool Game::winMarked() const
{
    // Only a game won by a line has a line to mark; after a draw the banner
    // covers the board, and a stopped game keeps no line of its own.
    const bool bannerParked = ui.lblDraw.Left >= Parked && ui.lblDraw.Top >= Parked;
    return GameOver && wonByLine && bannerParked;
}

void Game::RedrawPieces()
{
    for (int32_t row = 0; row < NumRows; ++row)
        for (int32_t col = 0; col < NumCols; ++col)
            if (Board(row, col) > Empty)
                DrawPiece(row, col);
    // On a piece, the piece drew it.
    if (Board(ui.cursor.Row, ui.cursor.Col) <= Empty)
        drawCursor();
    if (winMarked())
        for (const auto& cell : WinCells)
            RedrawGridOneWin(cell[1], cell[2]);
}

void Game::MoveMarkers()
{
    if (MoveCount == 0) {
        ui.imgLeft.Left = ui.imgLeft.Top = Parked;
        ui.imgUp.Top = ui.imgUp.Left = Parked;
    } else {
        const auto& move = History[static_cast<size_t>(MoveCount)];
        ui.imgLeft.Top = 1.5 * CellHeight + move[1] * CellHeight - 80;
        ui.imgLeft.Left = 21 * CellWidth + 20;
        ui.imgUp.Left = 1.5 * CellWidth + move[2] * CellWidth - 80;
        ui.imgUp.Top = 21 * CellHeight + 20;
    }
    ShowMoveList(2);
}

} // namespace brindle
