#include <gtest/gtest.h>

#include "support/fakes.h"
#include "view/layout.h"
#include "view/piece_size.h"

namespace brindle::testing {

struct CellSizeCase {
    int32_t width, height;
    bool details;
    int32_t cellWidth, cellHeight;
};

class LayoutCellSize : public ::testing::TestWithParam<CellSizeCase> {};

TEST_P(LayoutCellSize, FollowsTheWindowSize)
{
    const auto& c = GetParam();
    const LayoutPlan p = PlanLayout(c.width, c.height, c.details, 1815, 1695);
    EXPECT_EQ(p.CellWidth, c.cellWidth);
    EXPECT_EQ(p.CellHeight, c.cellHeight);
}

INSTANTIATE_TEST_SUITE_P(WorkedSizes, LayoutCellSize,
                         ::testing::Values(CellSizeCase{5070, 5950, false, 225, 225},  // start size
                                           CellSizeCase{7010, 5950, true, 222, 225},   // after the intro
                                           CellSizeCase{7010, 5950, false, 313, 225},  // details off
                                           CellSizeCase{4600, 5000, false, 203, 182},  // the floor
                                           CellSizeCase{4600, 5000, true, 112, 182},
                                           // a half goes to the even neighbour: 4950/22 = 225, 4961/22 = 225.5
                                           CellSizeCase{5091, 5950, false, 226, 225}));

TEST(LayoutPlan, PlacesTheStatusRowAndThePanel)
{
    const LayoutPlan p = PlanLayout(7010, 5950, true, 1815, 1695);
    EXPECT_EQ(p.StatusTop, 22 * 225);
    EXPECT_EQ(p.lblHvisTurLeft, 222);
    EXPECT_EQ(p.lblPlacerLeft, 462);
    EXPECT_EQ(p.txtTimeLeft, (22 * 222 - 2000) / 2.0);
    EXPECT_EQ(p.lblTraekLeft, 21 * 222 - 1695);
    EXPECT_EQ(p.PanelLeft, 7010 - 1815 - 225);
    EXPECT_EQ(p.lblMovesTop, 225);
    EXPECT_EQ(p.txtMovesTop, 450);
    EXPECT_EQ(p.txtMovesHeight, 20 * 225 - 200);
    EXPECT_EQ(p.lblCompTop, 22 * 225 - 190);

    const LayoutPlan hidden = PlanLayout(7010, 5950, false, 1815, 1695);
    EXPECT_FALSE(hidden.PanelShown);
    EXPECT_EQ(hidden.PanelLeft, 7010 + 5000);
}

class FormResize : public ::testing::Test, public GameFixture {
protected:
    // As the intro leaves it: the move list shown.
    void SetUp() override
    {
        StartHumanHuman();
        game.Check(Menu_Details, true);
    }

    void Resize(int32_t width, int32_t height)
    {
        game.ui.Width = width;
        game.ui.Height = height;
        Form_Resize(game);
    }
};

TEST_F(FormResize, DoesNothingBeforeTheFirstInitialisation)
{
    Globals g;
    RecordingCanvas c;
    FakeHost h;
    ScriptedRandom r;
    Game fresh(g, c, h, r);
    c.persistent = false;
    fresh.ui.Width = 9000;
    Form_Resize(fresh);
    EXPECT_EQ(fresh.CellWidth, 225);
    EXPECT_TRUE(c.ops.empty());
    EXPECT_TRUE(c.persistent) << "the pass leaves persistent drawing on";
}

TEST_F(FormResize, CorrectsASizeBelowTheFloorAndLaysOutNothing)
{
    Resize(4000, 5950);
    EXPECT_EQ(game.ui.Width, MinWindowWidth);
    EXPECT_EQ(game.CellWidth, 225);
    Resize(5070, 3000);
    EXPECT_EQ(game.ui.Height, MinWindowHeight);
}

TEST_F(FormResize, RedrawsTheBoardAndKeepsTheArrowsOnTheLastMove)
{
    ClickCell(4, 7);
    canvas.ops.clear();
    canvas.persistent = false;
    Resize(9016, 5950);
    EXPECT_EQ(game.CellWidth, 313);
    EXPECT_EQ(canvas.ops.front().kind, CanvasOp::Cls);
    ASSERT_FALSE(canvas.Fills().empty());
    EXPECT_EQ(canvas.Fills().back().colour, Red);
    EXPECT_EQ(game.ui.imgLeft.Top, 1.5 * 225 + 4 * 225 - 80);
    EXPECT_EQ(game.ui.imgLeft.Left, 21 * 313 + 20);
    EXPECT_EQ(game.ui.imgUp.Left, 1.5 * 313 + 7 * 313 - 80);
    EXPECT_FALSE(canvas.persistent) << "the pass restores the drawing mode it found";
}

TEST_F(FormResize, DetailsGiveAndTakeThePanelsRoom)
{
    Resize(7010, 5950);
    Menu_Details_Click(game);
    EXPECT_FALSE(game.Checked(Menu_Details));
    EXPECT_EQ(game.CellWidth, 313);
    EXPECT_GE(game.ui.txtMoves.Left, 7010);
    EXPECT_EQ(game.ui.lblComp.Left, game.ui.txtMoves.Left) << "the score goes with the panel";

    ClickCell(0, 0);
    Menu_Details_Click(game);
    EXPECT_TRUE(game.Checked(Menu_Details));
    EXPECT_EQ(game.CellWidth, 222);
    EXPECT_EQ(game.ui.txtMoves.Left, 7010 - 1815 - 225);
    EXPECT_EQ(game.ui.txtMoves.Caption, "1: (1,1)   \r\n") << "opening the panel lists the moves made meanwhile";
}

TEST_F(FormResize, KeepsTheDrawBannerCentred)
{
    game.ui.lblPlacer.Caption = "It's a draw";
    Resize(7010, 5950);
    EXPECT_EQ(game.ui.lblDraw.Left, 22 * 222 / 2.0 - 3900 / 2.0);
    EXPECT_EQ(game.ui.lblDraw.Top, 22 * 225 / 2.0 - 2205 / 2.0);

    game.ui.lblPlacer.Caption = "'s turn.";
    game.ui.lblDraw.Left = game.ui.lblDraw.Top = Parked;
    Resize(5070, 5950);
    EXPECT_EQ(game.ui.lblDraw.Left, Parked);
}

TEST_F(FormResize, SmallPiecesFollowTheCellSizeNormalOnesDoNot)
{
    Resize(7010, 5950);
    EXPECT_EQ(game.PieceInset, 15);
    Menu_PieceSmall_Click(game);
    EXPECT_EQ(game.PieceInset, 74) << "a third of the narrower side, 222";
    Resize(7010, 5000);
    EXPECT_EQ(game.CellHeight, 182);
    EXPECT_EQ(game.PieceInset, 61);
    Menu_PieceNormal_Click(game);
    Resize(5070, 5950);
    EXPECT_EQ(game.PieceInset, 15);
}

TEST_F(FormResize, EachPieceSizeKeepsExactlyOneCheckMarkAndRedraws)
{
    ClickCell(2, 2);
    for (auto choose : {&Menu_PieceFull_Click, &Menu_PieceFull_Click, &Menu_PieceSmall_Click, &Menu_PieceNormal_Click}) {
        canvas.ops.clear();
        choose(game);
        const int checked = game.Checked(Menu_PieceSmall) + game.Checked(Menu_PieceNormal) + game.Checked(Menu_PieceFull);
        EXPECT_EQ(checked, 1);
        ASSERT_FALSE(canvas.ops.empty());
        EXPECT_EQ(canvas.ops.front().kind, CanvasOp::Cls);
        EXPECT_EQ(canvas.Fills().back().colour, Red);
    }
    Menu_PieceFull_Click(game);
    EXPECT_EQ(game.PieceInset, 0);
    const CanvasOp piece = canvas.Fills().back();
    EXPECT_EQ(piece.x1, 3 * 225);
    EXPECT_EQ(piece.x2, 4 * 225) << "a full piece covers the grid lines around its cell";
}

} // namespace brindle::testing
