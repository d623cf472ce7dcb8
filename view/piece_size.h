#pragma once
// Three piece sizes: a piece is a square inset into its cell. Full fills the
// cell, Normal leaves a thin band, Small keeps a third of the cell free on each
// side and so follows the cell size.

#include <cstdint>

namespace brindle {

class Game;

int32_t smallPieceInset(int32_t cellWidth, int32_t cellHeight);

void PieceReset(Game& game);
void ResizePiece(Game& game);
void Menu_PieceSmall_Click(Game& game);
void Menu_PieceNormal_Click(Game& game);
void Menu_PieceFull_Click(Game& game);

} // namespace brindle
