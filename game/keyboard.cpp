// Play without a mouse, and the board in words: the keyboard's cell cursor,
// the names a screen reader reads, and what it is told as the game goes.

#include "game.h"

namespace brindle {

namespace {

std::string place(int32_t row, int32_t col)
{
    return "row " + std::to_string(row + 1) + ", column " + std::to_string(col + 1);
}

std::string colourWord(char mark) { return mark == MarkX ? "Red" : "Blue"; }

} // namespace

void Game::sayMove(char mark, int32_t row, int32_t col) { say(colourWord(mark) + " plays " + place(row, col)); }

void Game::sayWin(char mark, bool onTime) { say(colourWord(mark) + (onTime ? " wins on time" : " wins")); }

void Game::boardKey(BoardKey key)
{
    // Keys reach the board as clicks do: not while the window is disabled or
    // closed, and during the intro only to end it.
    if (!ui.Enabled || ended_)
        return;
    if (!IntroShown) {
        IntroSkip = true;
        return;
    }
    // The wipe and a move being placed draw over the board.
    if (busy())
        return;
    CellCursor& cursor = ui.cursor;
    if (!cursor.Shown) {
        if (MoveCount > 0) {
            const auto& last = History[static_cast<size_t>(MoveCount)];
            cursor.Row = last[1];
            cursor.Col = last[2];
        }
        cursor.Shown = true;
        if (key != BoardKey::Home) {
            drawCursor();
            return;
        }
    }
    int32_t row = cursor.Row;
    int32_t col = cursor.Col;
    switch (key) {
    case BoardKey::Left: --col; break;
    case BoardKey::Right: ++col; break;
    case BoardKey::Up: --row; break;
    case BoardKey::Down: ++row; break;
    case BoardKey::Home: row = col = BoardSize / 2 - 1; break;
    case BoardKey::Play:
        clickAt(static_cast<float>(CellWidth * (col + 1) + CellWidth / 2),
                static_cast<float>(CellHeight * (row + 1) + CellHeight / 2));
        return;
    }
    if (!onBoard(row, col))
        return sound_.beep();
    const int32_t oldRow = cursor.Row;
    const int32_t oldCol = cursor.Col;
    cursor.Row = row;
    cursor.Col = col;
    drawCell(oldRow, oldCol);
    drawCursor();
}

void Game::hideCursor()
{
    if (!ui.cursor.Shown)
        return;
    ui.cursor.Shown = false;
    drawCell(ui.cursor.Row, ui.cursor.Col);
}

void Game::drawCursor()
{
    if (!ui.cursor.Shown)
        return;
    // A white ring inside the grid lines and a black one inside it: it shows
    // on the cyan board and on either colour, and it sits inside the cell,
    // where the last-move arrows in the margins never are.
    const int32_t left = CellWidth * (ui.cursor.Col + 1);
    const int32_t top = CellHeight * (ui.cursor.Row + 1);
    const auto ring = [&](int32_t inset, int32_t width, Colour colour) {
        const int32_t x1 = left + inset, y1 = top + inset;
        const int32_t x2 = left + CellWidth - inset, y2 = top + CellHeight - inset;
        canvas_.fillBox(x1, y1, x2, y1 + width, colour);
        canvas_.fillBox(x1, y2 - width, x2, y2, colour);
        canvas_.fillBox(x1, y1, x1 + width, y2, colour);
        canvas_.fillBox(x2 - width, y1, x2, y2, colour);
    };
    const int32_t line = std::max<int32_t>(15, CellWidth / 15);
    ring(15, line, White);
    ring(15 + 2 * line, line, Black);
}

void Game::drawCell(int32_t row, int32_t col)
{
    canvas_.fillBox(CellWidth * (col + 1) + 15, CellHeight * (row + 1) + 15, CellWidth * (col + 2) - 15,
                    CellHeight * (row + 2) - 15, BackColour);
    if (Board(row, col) > Empty)
        DrawPiece(row, col);
    if (winMarked())
        for (const auto& cell : WinCells)
            if (cell[1] == row && cell[2] == col)
                RedrawGridOneWin(row, col);
}

std::string Game::cellName(int32_t row, int32_t col) const
{
    const char mark = Board(row, col);
    return place(row, col) + (mark == MarkX ? ", red" : mark == MarkO ? ", blue" : ", empty");
}

std::string Game::turnName() const
{
    if (drawn)
        return "Draw";
    return colourWord(ui.lblHvisTur.BackColor == Blue ? MarkO : MarkX) + (ui.lblPlacer.Caption == "'s a winner!!!" ? " wins" : " to move");
}

void Game::say(std::string words)
{
    ui.spoken = std::move(words);
    ++ui.spokenCount;
}

} // namespace brindle
