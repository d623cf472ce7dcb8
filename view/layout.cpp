#include "layout.h"

#include "game/game.h"
#include "piece_size.h"

namespace brindle {

LayoutPlan PlanLayout(int32_t Width, int32_t Height, bool details, int32_t txtMovesWidth, int32_t lblTraekWidth)
{
    LayoutPlan p;
    p.CellHeight = CLng((Height - HeightAllowance) / 22.0);
    p.CellWidth = CLng((Width - (details ? DetailsPanelWidth : 0) - WidthAllowance) / 22.0);

    p.StatusTop = 22 * p.CellHeight;
    p.lblHvisTurLeft = p.CellWidth;
    p.lblPlacerLeft = p.lblHvisTurLeft + 240;
    // txtTime is taken as 2000 wide for centring under the board.
    p.txtTimeLeft = (22 * p.CellWidth - 2000) / 2.0;
    p.lblTraekLeft = 21 * p.CellWidth - lblTraekWidth;

    p.PanelShown = details;
    if (details) {
        p.PanelLeft = Width - txtMovesWidth - 225;
        p.lblMovesTop = p.CellHeight;
        p.txtMovesTop = p.lblMovesTop + 225;
        p.txtMovesHeight = 20 * p.CellHeight - 200;
    } else {
        p.PanelLeft = Width + 5000;
    }
    p.lblCompTop = p.StatusTop - 190;
    return p;
}

void Form_Resize(Game& game)
{
    Ui& ui = game.ui;
    const bool wasPersistent = game.PersistentDrawing();
    game.SetPersistentDrawing(true);
    if (game.StartState == "INI")
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

    ui.imgLeft.Left = ui.imgLeft.Top = Parked;
    ui.imgUp.Top = ui.imgUp.Left = Parked;

    const LayoutPlan p =
        PlanLayout(ui.Width, ui.Height, game.Checked(Menu_Details), ui.txtMoves.Width, ui.lblTraek.Width);
    game.CellHeight = p.CellHeight;
    game.CellWidth = p.CellWidth;
    ResizePiece(game);
    game.DrawGrid();
    game.RedrawPieces();

    ui.lblHvisTur.Top = ui.lblPlacer.Top = ui.txtTime.Top = ui.lblTraek.Top = p.StatusTop;
    ui.lblHvisTur.Left = p.lblHvisTurLeft;
    ui.lblPlacer.Left = p.lblPlacerLeft;
    ui.txtTime.Left = p.txtTimeLeft;
    ui.lblTraek.Left = p.lblTraekLeft;
    ui.lblMoves.Left = ui.txtMoves.Left = p.PanelLeft;
    if (p.PanelShown) {
        ui.lblMoves.Top = p.lblMovesTop;
        ui.txtMoves.Top = p.txtMovesTop;
        ui.txtMoves.Height = p.txtMovesHeight;
    }
    // The score sits with the panel, so it is seen only when the panel is.
    ui.lblComp.Left = p.PanelLeft;
    ui.lblComp.Top = p.lblCompTop;

    if (ui.lblPlacer.Caption == "It's a draw")
        game.CentreDrawBanner();
    game.MoveMarkers();
    game.SetPersistentDrawing(wasPersistent);
}

void Menu_Details_Click(Game& game)
{
    if (game.Checked(Menu_Details)) {
        game.Check(Menu_Details, false);
    } else {
        game.Check(Menu_Details, true);
        game.ShowMoveList(1);
    }
    Form_Resize(game);
}

} // namespace brindle
