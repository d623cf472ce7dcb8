#include <array>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "view/layout.h"
#include "view/piece_size.h"

namespace brindle::testing {

TEST(LayoutPlan, CellsFollowTheWindowSizeDownToTheFloorRoundingHalvesToEven)
{
    for (const auto& [w, h, details, cw, ch] : {std::tuple(5070, 5950, false, 225, 225), {7010, 5950, true, 222, 225},
                                                 {7010, 5950, false, 313, 225}, {4600, 5000, false, 203, 182},
                                                 {4600, 5000, true, 112, 182}, {5091, 5950, false, 226, 225}}) { // 225.5: to even
        const LayoutPlan p = planLayout(w, h, details, 1815, 1695);
        EXPECT_EQ(std::pair(p.CellWidth, p.CellHeight), std::pair(cw, ch)) << w << "x" << h << " " << details;
    }
}

struct FormResize : ::testing::Test, GameFixture {
    void SetUp() override { startHumanHuman(), game.check(Menu_Details, true); } // as the intro leaves it
    void resize(int32_t width, int32_t height) { game.ui.Width = width, game.ui.Height = height, Form_Resize(game); }
};

TEST_F(FormResize, RedrawsTheBoardKeepsTheArrowsOnTheLastMoveAndSetsBackASizeBelowTheFloor)
{
    clickCell(4, 7), canvas.ops.clear();
    canvas.persistent = false;
    resize(9016, 5950);
    EXPECT_TRUE(game.CellWidth == 313 && canvas.ops.front().kind == CanvasOp::Clear && canvas.fills().back().colour == Red);
    EXPECT_EQ((std::array{game.ui.imgLeft.Top, game.ui.imgLeft.Left, game.ui.imgUp.Left, game.ui.lblComp.Top}),
              (std::array{1.5 * 225 + 4 * 225 - 80, 21 * 313 + 20.0, 1.5 * 313 + 7 * 313 - 80, 22 * 225 - 190.0}));
    EXPECT_FALSE(canvas.persistent) << "the pass restores the drawing mode it found";
    EXPECT_EQ(game.ui.txtMoves.Caption, "1: (5,8)   \r\n") << "a move is listed once";
    resize(4000, 5950);
    EXPECT_TRUE(game.ui.Width == MinWindowWidth && game.CellWidth == 313) << "laid out when the corrected size arrives";
    resize(9016, 1000);
    EXPECT_TRUE(game.ui.Height == MinWindowHeight && game.CellHeight == 225);
}

TEST_F(FormResize, DetailsGiveAndTakeThePanelsRoomAndPiecesKeepTheirInsetOrAThirdOfTheCell)
{
    resize(7010, 5950);
    choose(Menu_Details);
    EXPECT_TRUE(game.CellWidth == 313 && game.ui.txtMoves.Left >= 7010 && game.ui.lblComp.Left == game.ui.txtMoves.Left);
    clickCell(0, 0), game.ui.lblPlacer.Caption = "It's a draw";
    choose(Menu_Details);
    EXPECT_EQ(game.ui.txtMoves.Caption, "1: (1,1)   \r\n") << "opening the panel lists the moves made meanwhile";
    EXPECT_EQ((std::array{double(game.CellWidth), game.ui.lblDraw.Left, game.ui.lblDraw.Top, game.ui.txtMoves.Top}),
              (std::array{222.0, 22 * 222 / 2.0 - 3900 / 2.0, 22 * 225 / 2.0 - 2205 / 2.0, 450.0}));
    choose(Menu_PieceSmall);
    EXPECT_EQ(game.PieceInset, 74) << "a third of the narrower side, 222";
    resize(7010, 5000);
    EXPECT_EQ(game.PieceInset, 61);
    choose(Menu_PieceNormal), resize(5070, 5950);
    EXPECT_EQ(game.PieceInset, 15);
    choose(Menu_PieceFull), choose(Menu_PieceFull);
    EXPECT_FALSE(!game.checked(Menu_PieceFull) || game.checked(Menu_PieceNormal) || game.checked(Menu_PieceSmall));
    const CanvasOp piece = canvas.fills().back();
    EXPECT_EQ(std::tuple(piece.x1, piece.x2, piece.y1, piece.y2), std::tuple(1.0 * game.CellWidth, 2.0 * game.CellWidth, 1.0 * game.CellHeight, 2.0 * game.CellHeight))
        << "a full piece covers the grid lines around its cell";
}

} // namespace brindle::testing
