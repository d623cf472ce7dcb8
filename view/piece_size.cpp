#include "piece_size.h"

#include <algorithm>

#include "game/game.h"

namespace brindle {

namespace {

void Choose(Game& game, MenuId size)
{
    PieceReset(game);
    game.check(size, true);
    if (size == Menu_PieceFull)
        game.PieceInset = 0;
    else if (size == Menu_PieceNormal)
        game.PieceInset = 15;
    else
        ResizePiece(game);
    game.DrawGrid();
    game.RedrawPieces();
}

} // namespace

int32_t smallPieceInset(int32_t cellWidth, int32_t cellHeight)
{
    return CLng(std::min(cellWidth, cellHeight) / 3.0);
}

void PieceReset(Game& game)
{
    for (MenuId size : {Menu_PieceSmall, Menu_PieceNormal, Menu_PieceFull})
        game.check(size, false);
}

void ResizePiece(Game& game)
{
    if (game.checked(Menu_PieceSmall))
        game.PieceInset = smallPieceInset(game.CellWidth, game.CellHeight);
}

void Menu_PieceSmall_Click(Game& game) { Choose(game, Menu_PieceSmall); }
void Menu_PieceNormal_Click(Game& game) { Choose(game, Menu_PieceNormal); }
void Menu_PieceFull_Click(Game& game) { Choose(game, Menu_PieceFull); }

} // namespace brindle
