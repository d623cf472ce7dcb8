// Turning a click into a placed piece, and handing the turn over.

#include <array>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

struct Click {
    const char* name;
    float x, y;
    int row, col; // row -1: refused with a beep
};

class ClickMapping : public ::testing::TestWithParam<Click>, protected GameFixture {};

TEST_P(ClickMapping, PlacesOnTheCellUnderThePointerOrBeeps)
{
    const Click& c = GetParam();
    StartHumanHuman();
    game.Form_MouseDown(c.x, c.y);
    EXPECT_EQ(host.beeps, c.row < 0 ? 1 : 0);
    EXPECT_EQ(game.MoveCount, c.row < 0 ? 0 : 1);
    if (c.row >= 0) {
        EXPECT_EQ(game.Board(c.row, c.col), MarkX);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cells225, ClickMapping,
    ::testing::Values(Click{"OnTheLineBetweenColumns0And1", 450, 300, -1, -1},
                      Click{"JustRightOfThatLine", 451, 300, 0, 1}, Click{"OnAHorizontalLine", 300, 675, -1, -1},
                      Click{"OnTheBoardsLeftEdge", 225, 300, -1, -1}, Click{"InTheLeftMargin", 100, 300, -1, -1},
                      Click{"InTheTopMargin", 300, 100, -1, -1}, Click{"InsideTheLastColumn", 4724, 300, 0, 19},
                      Click{"OnTheBoardsRightEdge", 4725, 300, -1, -1}, Click{"RightOfTheBoard", 4726, 300, -1, -1},
                      Click{"InsideTheLastRow", 300, 4724, 19, 0}, Click{"BelowTheBoard", 300, 4800, -1, -1},
                      Click{"FarOutsideTheWindow", 1e9f, -1e9f, -1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClickRefusal : ::testing::Test, GameFixture {
    void SetUp() override { StartHumanHuman(); }
};

TEST_F(ClickRefusal, UnequalCellSidesMapEachAxisByItsOwnSize)
{
    game.CellWidth = 300;
    game.Form_MouseDown(600, 500); // on a vertical line
    EXPECT_EQ(host.beeps, 1);
    game.Form_MouseDown(601, 500);
    EXPECT_EQ(game.Board(1, 1), MarkX);
}

TEST_F(ClickRefusal, OccupiedCellBeepsAndChangesNothing)
{
    ClickCell(3, 4);
    ClickCell(3, 4);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(game.Board(3, 4), MarkX);
    EXPECT_EQ(game.MoveCount, 1);
}

TEST_F(ClickRefusal, IgnoredWithoutABeepWhenTheGameIsOverOrPlaysItself)
{
    game.DoWinner(" ");
    ClickCell(3, 4);
    game.GameOver = false;
    game.UncheckModes();
    game.Check(Menu_ComputerComputer, true);
    ClickCell(3, 4);
    game.Form_MouseDown(450, 300);
    EXPECT_EQ(host.beeps, 0);
    EXPECT_EQ(game.MoveCount, 0);
}

TEST(TurnPassing, RedOpensThenTheSquareCounterAndArrowsFollowEachMove)
{
    GameFixture f;
    f.StartHumanHuman();
    auto& ui = f.game.ui;
    EXPECT_EQ(ui.lblHvisTur.BackColor, Red);
    EXPECT_FALSE(ui.Menu[Menu_Undo].Enabled);

    f.ClickCell(3, 4);
    EXPECT_EQ(f.game.Board(3, 4), MarkX);
    EXPECT_EQ(ui.lblHvisTur.BackColor, Blue);
    EXPECT_EQ(ui.lblPlacer.Caption, "'s turn.");
    EXPECT_EQ(ui.lblTraek.Caption, "Moves: 1");
    EXPECT_TRUE(ui.Menu[Menu_Undo].Enabled);
    const CanvasOp piece = f.canvas.ops.back();
    EXPECT_EQ((std::array{piece.x1, piece.y1, piece.x2, piece.y2}), (std::array{1140.0, 915.0, 1335.0, 1110.0}));
    EXPECT_EQ(piece.colour, Red);
    EXPECT_EQ((std::array{ui.imgLeft.Left, ui.imgLeft.Top, ui.imgUp.Left, ui.imgUp.Top}),
              (std::array{4745.0, 932.5, 1157.5, 4745.0}));

    f.ClickCell(3, 5);
    EXPECT_EQ(f.game.Board(3, 5), MarkO);
    EXPECT_EQ(ui.lblHvisTur.BackColor, Red);
    EXPECT_EQ(ui.lblTraek.Caption, "Moves: 2");
}

struct AgainstComputer : ::testing::Test, GameFixture {};

TEST_F(AgainstComputer, HumanOpeningIsAnsweredBeforeTheClickReturns)
{
    StartUp('H');
    ClickCell(9, 9);
    ASSERT_EQ(game.MoveCount, 2);
    EXPECT_EQ(game.ui.lblTraek.Caption, "Moves: 2");
    EXPECT_EQ(game.Board(game.History[2][1], game.History[2][2]), MarkO);
    EXPECT_GT(game.History[2][3], 0); // the computer's score for its cell
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Red);
    EXPECT_TRUE(game.ui.Enabled);
    EXPECT_TRUE(game.ui.Menu[Menu_Undo].Enabled);
}

struct SearchArea : ::testing::Test, GameFixture {
    void SetUp() override { StartHumanHuman(); }

    void ExpectNearMarksAround(int row, int col, int margin)
    {
        for (int r = 0; r <= BoardSize; ++r)
            for (int c = 0; c <= BoardSize; ++c)
                EXPECT_EQ(game.NearPiece[size_t(r)][size_t(c)], r < BoardSize && c < BoardSize &&
                                                                    std::abs(r - row) <= margin &&
                                                                    std::abs(c - col) <= margin)
                    << r << "," << c;
    }
};

TEST_F(SearchArea, NearMarksFormASquareCutOffAtTheEdges)
{
    EXPECT_EQ(game.SearchMargin, 4); // Hard, which carries the check mark
    EXPECT_TRUE(game.Checked(Menu_Hard));
    ClickCell(10, 10);
    ExpectNearMarksAround(10, 10, 4);

    game.Menu_Normal_Click();
    game.Menu_HumanHuman_Click();
    ClickCell(0, 0);
    ExpectNearMarksAround(0, 0, 3);
    game.Menu_HumanHuman_Click();
    ClickCell(19, 19);
    ExpectNearMarksAround(19, 19, 3);
}

TEST_F(SearchArea, BoundsWidenAroundTheBoxOfAllPieces)
{
    game.Menu_Normal_Click();
    ClickCell(5, 7);
    ClickCell(9, 2);
    EXPECT_EQ((std::array{game.MinRow, game.MinCol, game.MaxRow, game.MaxCol}), (std::array{5, 2, 9, 7}));
    EXPECT_EQ((std::array{game.SearchMinRow, game.SearchMinCol, game.SearchMaxRow, game.SearchMaxCol}),
              (std::array{2, 0, 12, 10}));
    ClickCell(18, 17);
    EXPECT_EQ(game.SearchMaxRow, 19);
    EXPECT_EQ(game.SearchMaxCol, 19);
}

// ---- Events that run while a piece is being placed

struct MoveInProgress : ::testing::Test, GameFixture {};

TEST_F(MoveInProgress, ClickDuringTheMovesEventPassIsDroppedSilently)
{
    StartHumanHuman();
    host.DuringNextPass([this] { ClickCell(5, 5); });
    ClickCell(3, 3);
    EXPECT_EQ(game.Board(5, 5), Empty);
    EXPECT_EQ(game.MoveCount, 1);
    EXPECT_EQ(host.beeps, 0);

    ClickCell(5, 5); // once the move is done, clicks count again
    EXPECT_EQ(game.Board(5, 5), MarkO);
}

TEST_F(MoveInProgress, MoveOfAGameReplacedMeanwhileIsNotJudgedInTheNewGame)
{
    StartHumanHuman();
    // The automatic game runs to its end inside the pass; the old move must not
    // then judge that game's final position a second time.
    host.DuringNextPass([this] { game.Menu_ComputerComputer_Click(); });
    ClickCell(3, 3);
    ASSERT_TRUE(game.GameOver);
    EXPECT_EQ(globals.Score[1] + globals.Score[2] + globals.Score[3], 1);
}

} // namespace
} // namespace brindle::testing
