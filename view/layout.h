#pragma once
// The window has no fixed layout: every change of its size derives the cell
// size from the outer size, redraws the board, and places the status row under
// the board and the details panel (move list and score) at the right edge.

#include <cstdint>

#include "game/ui_state.h"

namespace brindle {

class Game;

// The window's outer size is never allowed below this, in twips.
inline constexpr int32_t MinWindowWidth = 4600;
inline constexpr int32_t MinWindowHeight = 5000;
// Outer size not given to the 22 cells across (frame) and down (frame, title,
// menu bar and the status row).
inline constexpr int32_t WidthAllowance = 130;
inline constexpr int32_t HeightAllowance = 1000;
inline constexpr int32_t DetailsPanelWidth = 2000;

// The time box's width where the status row has room for it.
inline constexpr int32_t TimeBoxWidth = 2235;

// Where everything goes for one window size; twips.
struct LayoutPlan {
    int32_t CellWidth = 0;
    int32_t CellHeight = 0;
    double statusTop = 0; // lblHvisTur, lblPlacer, txtTime and lblTraek
    double lblHvisTurLeft = 0;
    double lblPlacerLeft = 0;
    double txtTimeLeft = 0;
    int32_t txtTimeWidth = TimeBoxWidth;
    double lblTraekLeft = 0;
    bool panelShown = false;
    double panelLeft = 0; // lblMoves and txtMoves; far right of the window when hidden
    double lblMovesTop = 0;
    double txtMovesTop = 0;
    int32_t txtMovesHeight = 0;
    double lblCompTop = 0;
};

// The gap kept between two texts of the status row.
inline constexpr int32_t StatusGap = 60;

LayoutPlan planLayout(int32_t Width, int32_t Height, bool details, int32_t txtMovesWidth, int32_t lblTraekWidth,
                      const StatusTextWidths& text = {});

// The layout pass, run whenever the window's size changes.
void Form_Resize(Game& game);
// Shows or hides the details panel; the board gives up or takes back its room.
void Menu_Details_Click(Game& game);
// Lets the game's one way in reach the details panel and the piece sizes.
void bindViewCommands(Game& game);

} // namespace brindle
