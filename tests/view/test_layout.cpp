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
    const LayoutPlan p = planLayout(c.width, c.height, c.details, 1815, 1695);
    EXPECT_EQ(p.CellWidth, c.cellWidth);
    EXPECT_EQ(p.CellHeight, c.cellHeight);
}

INSTANTIATE_TEST_SUITE_P(WorkedSizes, LayoutCellSize,
                         ::testing::Values(CellSizeCase{5070, 5950, false, 225, 225},  // start size
                                           CellSizeCase{7010, 5950, true, 222, 225},   // after the intro
                                           CellSizeCase{7010, 5950, false, 313, 225},  // details off
                                           CellSizeCase{4600, 5000, false, 203, 182},  // the floor
                                           CellSizeCase{4600, 5000, true, 112, 182},
                                           CellSizeCase{5091, 5950, false, 226, 225})); // 225.5: to even

TEST(LayoutPlan, PutsTheStatusRowUnderTheBoardAndThePanelAtTheRightEdge)
{
    const LayoutPlan p = planLayout(7010, 5950, true, 1815, 1695);
    EXPECT_EQ(p.statusTop, 22 * 225);
    EXPECT_EQ(p.lblPlacerLeft, 222 + 240);
    EXPECT_EQ(p.txtTimeLeft, (22 * 222 - 2000) / 2.0);
    EXPECT_EQ(p.lblTraekLeft, 21 * 222 - 1695);
    EXPECT_EQ(p.panelLeft, 7010 - 1815 - 225);
    EXPECT_EQ(p.txtMovesTop, 450);
    EXPECT_EQ(p.txtMovesHeight, 20 * 225 - 200);
    EXPECT_EQ(p.lblCompTop, 22 * 225 - 190);
    EXPECT_EQ(planLayout(7010, 5950, false, 1815, 1695).panelLeft, 7010 + 5000);
}

class FormResize : public ::testing::Test, public GameFixture {
protected:
    void SetUp() override
    {
        startHumanHuman();
        game.check(Menu_Details, true); // as the intro leaves it
    }
    void Resize(int32_t width, int32_t height)
    {
        game.ui.Width = width;
        game.ui.Height = height;
        Form_Resize(game);
    }
};

TEST_F(FormResize, RedrawsTheBoardAndKeepsTheArrowsOnTheLastMove)
{
    clickCell(4, 7);
    canvas.ops.clear();
    canvas.persistent = false;
    Resize(9016, 5950);
    EXPECT_EQ(game.CellWidth, 313);
    EXPECT_EQ(canvas.ops.front().kind, CanvasOp::Clear);
    EXPECT_EQ(canvas.fills().back().colour, Red);
    EXPECT_EQ(game.ui.imgLeft.Top, 1.5 * 225 + 4 * 225 - 80);
    EXPECT_EQ(game.ui.imgLeft.Left, 21 * 313 + 20);
    EXPECT_EQ(game.ui.imgUp.Left, 1.5 * 313 + 7 * 313 - 80);
    EXPECT_EQ(game.ui.lblComp.Top, 22 * 225 - 190);
    EXPECT_FALSE(canvas.persistent) << "the pass restores the drawing mode it found";
    EXPECT_EQ(game.ui.txtMoves.Caption, "1: (5,8)   \r\n") << "a move is listed once";

    Resize(4000, 5950);
    EXPECT_EQ(game.ui.Width, MinWindowWidth) << "a size below the floor is set back";
    EXPECT_EQ(game.CellWidth, 313) << "and laid out only when the corrected size arrives";
}

TEST_F(FormResize, DetailsGiveAndTakeThePanelsRoomAndTheBannerStaysCentred)
{
    Resize(7010, 5950);
    choose(Menu_Details);
    EXPECT_EQ(game.CellWidth, 313);
    EXPECT_GE(game.ui.txtMoves.Left, 7010);
    EXPECT_EQ(game.ui.lblComp.Left, game.ui.txtMoves.Left) << "the score goes with the panel";

    clickCell(0, 0);
    game.ui.lblPlacer.Caption = "It's a draw";
    choose(Menu_Details);
    EXPECT_EQ(game.CellWidth, 222);
    EXPECT_EQ(game.ui.txtMoves.Caption, "1: (1,1)   \r\n") << "opening the panel lists the moves made meanwhile";
    EXPECT_EQ(game.ui.lblDraw.Left, 22 * 222 / 2.0 - 3900 / 2.0);
    EXPECT_EQ(game.ui.lblDraw.Top, 22 * 225 / 2.0 - 2205 / 2.0);
}

TEST_F(FormResize, SmallPiecesFollowTheCellSizeTheOthersKeepTheirInset)
{
    clickCell(2, 2);
    Resize(7010, 5950);
    choose(Menu_PieceSmall);
    EXPECT_EQ(game.PieceInset, 74) << "a third of the narrower side, 222";
    Resize(7010, 5000);
    EXPECT_EQ(game.PieceInset, 61);
    choose(Menu_PieceNormal);
    Resize(5070, 5950);
    EXPECT_EQ(game.PieceInset, 15);

    canvas.ops.clear();
    choose(Menu_PieceFull);
    choose(Menu_PieceFull);
    EXPECT_TRUE(game.checked(Menu_PieceFull));
    EXPECT_FALSE(game.checked(Menu_PieceNormal) || game.checked(Menu_PieceSmall));
    const CanvasOp piece = canvas.fills().back();
    EXPECT_EQ(piece.x1, 3 * game.CellWidth);
    EXPECT_EQ(piece.x2, 4 * game.CellWidth) << "a full piece covers the grid lines around its cell";
}

} // namespace brindle::testing
