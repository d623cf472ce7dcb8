#include "layout.h"

#include <algorithm>

#include "game/game.h"
#include "piece_size.h"

namespace brindle {

LayoutPlan planLayout(int32_t Width, int32_t Height, bool details, int32_t txtMovesWidth, int32_t lblTraekWidth,
                      const StatusTextWidths& text)
{
    LayoutPlan p;
    p.CellHeight = CLng((Height - HeightAllowance) / 22.0);
    p.CellWidth = CLng((Width - (details ? DetailsPanelWidth : 0) - WidthAllowance) / 22.0);

    p.statusTop = 22 * p.CellHeight;
    p.lblHvisTurLeft = p.CellWidth;
    p.lblPlacerLeft = p.lblHvisTurLeft + 240;
    // txtTime is taken as 2000 wide for centring under the board.
    p.txtTimeLeft = (22 * p.CellWidth - 2000) / 2.0;
    p.lblTraekLeft = 21 * p.CellWidth - lblTraekWidth;
    // The time box never reaches into the widest turn text. Where the row is
    // short, it gives up width down to what its own text needs, and only then
    // is the move count (right-aligned in its label) pushed to the right.
    if (text.placer > 0) {
        p.txtTimeLeft = std::max(p.txtTimeLeft, p.lblPlacerLeft + text.placer + StatusGap);
        const double movesTextLeft = 21 * p.CellWidth - text.moves;
        const double room = movesTextLeft - StatusGap - p.txtTimeLeft;
        p.txtTimeWidth = static_cast<int32_t>(std::clamp(room, static_cast<double>(text.time), static_cast<double>(TimeBoxWidth)));
        const double pushed = p.txtTimeLeft + p.txtTimeWidth + StatusGap + text.moves - lblTraekWidth;
        p.lblTraekLeft = std::max(p.lblTraekLeft, pushed);
    }

    p.panelShown = details;
    if (details) {
        p.panelLeft = Width - txtMovesWidth - 225;
        p.lblMovesTop = p.CellHeight;
        p.txtMovesTop = p.lblMovesTop + 225;
        p.txtMovesHeight = 20 * p.CellHeight - 200;
    } else {
        p.panelLeft = Width + 5000;
    }
    p.lblCompTop = p.statusTop - 190;
    return p;
}

void Form_Resize(Game& game)
{
    Ui& ui = game.ui;
    const bool wasPersistent = game.persistentDrawing();
    game.setPersistentDrawing(true);
    if (game.state().StartState == "INI")
        return;
    // The window's minimum size keeps it from getting here, but a size set
    // from elsewhere is corrected all the same; the new size lays out anew.
    if (ui.Width < MinWindowWidth) {
        ui.Width = MinWindowWidth;
        return;
    }
    if (ui.Height < MinWindowHeight) {
        ui.Height = MinWindowHeight;
        return;
    }

    const LayoutPlan p =
        planLayout(ui.Width, ui.Height, game.checked(Menu_Details), ui.txtMoves.Width, ui.lblTraek.Width, ui.statusText);
    game.CellHeight = p.CellHeight;
    game.CellWidth = p.CellWidth;
    ResizePiece(game);
    game.DrawGrid();
    game.RedrawPieces();

    ui.lblHvisTur.Top = ui.lblPlacer.Top = ui.txtTime.Top = ui.lblTraek.Top = p.statusTop;
    ui.lblHvisTur.Left = p.lblHvisTurLeft;
    ui.lblPlacer.Left = p.lblPlacerLeft;
    ui.txtTime.Left = p.txtTimeLeft;
    ui.txtTime.Width = p.txtTimeWidth;
    ui.lblTraek.Left = p.lblTraekLeft;
    ui.lblMoves.Left = ui.txtMoves.Left = p.panelLeft;
    if (p.panelShown) {
        ui.lblMoves.Top = p.lblMovesTop;
        ui.txtMoves.Top = p.txtMovesTop;
        ui.txtMoves.Height = p.txtMovesHeight;
    }
    // The score sits with the panel, so it is seen only when the panel is.
    ui.lblComp.Left = p.panelLeft;
    ui.lblComp.Top = p.lblCompTop;

    if (ui.lblPlacer.Caption == "It's a draw")
        game.centreDrawBanner();
    game.MoveMarkers();
    game.setPersistentDrawing(wasPersistent);
}

void Menu_Details_Click(Game& game)
{
    if (game.checked(Menu_Details)) {
        game.check(Menu_Details, false);
    } else {
        game.check(Menu_Details, true);
        game.ShowMoveList(1);
    }
    Form_Resize(game);
}

void bindViewCommands(Game& game)
{
    game.bindCommand(Menu_Details, [&game] { Menu_Details_Click(game); });
    game.bindCommand(Menu_PieceSmall, [&game] { Menu_PieceSmall_Click(game); });
    game.bindCommand(Menu_PieceNormal, [&game] { Menu_PieceNormal_Click(game); });
    game.bindCommand(Menu_PieceFull, [&game] { Menu_PieceFull_Click(game); });
}

} // namespace brindle
