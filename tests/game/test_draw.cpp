// Whether five is still possible, and the draw.

#include <array>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

// A full board on which every window of five holds both colours: pairs along
// the rows and both diagonals, alternation down the columns.
char ClosedMark(int row, int col) { return (2 * row + col) % 4 < 2 ? MarkX : MarkO; }

// The windows of five that one side can still fill, counted the plain way.
int OpenWindows(const Game& g)
{
    static constexpr int step[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}};
    int open = 0;
    for (int r = 0; r < BoardSize; ++r)
        for (int c = 0; c < BoardSize; ++c)
            for (const auto& d : step) {
                if (!OnBoard(r + 4 * d[0], c + 4 * d[1]))
                    continue;
                int x = 0, o = 0, blank = 0;
                for (int k = 0; k < 5; ++k) {
                    const char v = g.Board(r + k * d[0], c + k * d[1]);
                    x += v == MarkX;
                    o += v == MarkO;
                    blank += v == Empty;
                }
                open += (blank + x == 5 || blank + o == 5) ? 1 : 0;
            }
    return open;
}

struct Draws : GameFixture {
    Draws() { StartHumanHuman(); }
    void FillClosed()
    {
        for (int r = 0; r < BoardSize; ++r)
            for (int c = 0; c < BoardSize; ++c)
                game.SetBoard(r, c, ClosedMark(r, c));
    }
    void SetRow0From15(const char (&cells)[6])
    {
        for (int k = 0; k < 5; ++k)
            game.SetBoard(0, 15 + k, cells[k]);
    }
};

// ---- ErFemMulig

struct FivePossible : ::testing::Test, Draws {};

TEST_F(FivePossible, OnTheEmptyBoardButNotWhenEveryWindowHoldsBothColours)
{
    EXPECT_TRUE(game.ErFemMulig());
    EXPECT_EQ(OpenWindows(game), 1152);
    FillClosed();
    ASSERT_EQ(OpenWindows(game), 0);
    EXPECT_FALSE(game.ErFemMulig());
}

TEST_F(FivePossible, LastOpenWindowOnTheCornerDiagonalKeepsTheGameOpen)
{
    FillClosed();
    // From (0, 19) down to (4, 15): red pieces and blanks only.
    for (int k = 0; k < 5; ++k)
        if (ClosedMark(k, 19 - k) == MarkO)
            game.SetBoard(k, 19 - k, Empty);
    game.SetBoard(5, 14, MarkO); // closes the next window along that diagonal
    ASSERT_EQ(OpenWindows(game), 1);
    EXPECT_TRUE(game.ErFemMulig());

    game.SetBoard(3, 16, MarkO);
    EXPECT_FALSE(game.ErFemMulig());
}

TEST_F(FivePossible, AgreesWithAPlainScanThroughRandomChanges)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> cell(0, BoardSize - 1);
    // Mostly blanks, so that closed boards open up again; "3" is a wipe mark
    // that belongs to neither side.
    const char values[] = {Empty, Empty, Empty, Empty, Empty, MarkX, MarkX, MarkO, MarkO, WipeBar};
    std::uniform_int_distribution<int> value(0, 9);
    int open = 0, closed = 0;
    for (int board = 0; board < 120; ++board) {
        FillClosed();
        ASSERT_FALSE(game.ErFemMulig());
        for (int change = 0; change < 40; ++change) {
            game.SetBoard(cell(rng), cell(rng), values[value(rng)]);
            const bool expected = OpenWindows(game) > 0;
            ASSERT_EQ(game.ErFemMulig(), expected) << "board " << board << ", change " << change;
            ++(expected ? open : closed);
        }
    }
    // Both answers must have been put to the test.
    EXPECT_GT(open, 500);
    EXPECT_GT(closed, 500);
}

// ---- The draw outcome

struct DrawOutcome : ::testing::Test, Draws {};

TEST_F(DrawOutcome, ClosingTheLastWindowDrawsAtOnceAndHandsNothingOver)
{
    FillClosed();
    SetRow0From15(" OOOO");
    ClickCell(0, 15); // red's piece closes both windows that blue still had
    EXPECT_TRUE(game.GameOver);
    EXPECT_EQ(game.ui.lblPlacer.Caption, "It's a draw");
    EXPECT_FALSE(game.ui.lblHvisTur.Visible);
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Red);
    EXPECT_EQ(globals.Score, (std::array<int32_t, 4>{0, 0, 0, 1}));
    EXPECT_EQ(game.ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 1");
    EXPECT_EQ(game.ui.lblDraw.Top, 1372.5);
    EXPECT_EQ(game.ui.lblDraw.Left, 525);
    EXPECT_EQ(host.sounds.back(), "Draw.wav");
    EXPECT_FALSE(game.ui.Timer1.Enabled);
    // A draw does not enable Undo, not even on the first move.
    EXPECT_FALSE(game.ui.Menu[Menu_Undo].Enabled);
}

TEST_F(DrawOutcome, FullBoardIsADrawEvenWhenTheLastMoveMakesFive)
{
    FillClosed();
    for (int c = 3; c <= 6; ++c)
        game.SetBoard(10, c, MarkX);
    game.SetBoard(10, 7, Empty);
    game.MoveCount = 399;
    ClickCell(10, 7);
    EXPECT_EQ(game.ui.lblPlacer.Caption, "It's a draw");
    EXPECT_EQ(globals.Score, (std::array<int32_t, 4>{0, 0, 0, 1}));
    EXPECT_EQ(host.sounds.back(), "Draw.wav");
}

TEST_F(DrawOutcome, UndoHidesTheBannerAndPlayGoesOn)
{
    FillClosed();
    SetRow0From15("XXX  ");
    ClickCell(0, 18);
    ASSERT_FALSE(game.GameOver);
    ClickCell(0, 19);
    ASSERT_TRUE(game.GameOver);

    game.Menu_Undo_Click();
    EXPECT_FALSE(game.GameOver);
    EXPECT_EQ(game.ui.lblDraw.Left, Parked);
    EXPECT_EQ(game.ui.lblDraw.Top, Parked);
    EXPECT_EQ(game.NextMark, MarkO);
    EXPECT_EQ(game.ui.lblPlacer.Caption, "'s turn.");
    EXPECT_EQ(globals.Score[3], 1); // the draw stays counted
    EXPECT_TRUE(game.ErFemMulig());
}

struct DrawRuleCase {
    const char* name;
    MenuId mode;
    bool stupid;
    bool drawn;
};

class DrawRule : public ::testing::TestWithParam<DrawRuleCase>, protected Draws {};

TEST_P(DrawRule, OnlyTheFullBoardCountsInAutomaticPlayAtTheRandomLevel)
{
    const DrawRuleCase& p = GetParam();
    FillClosed();
    game.SetBoard(0, 19, Empty);
    game.UncheckModes();
    game.Check(p.mode, true);
    if (p.stupid)
        game.Menu_Stupid_Click();
    game.PlacePiece(0, 19, 0);
    EXPECT_EQ(game.GameOver, p.drawn);
    EXPECT_EQ(globals.Score[3], p.drawn ? 1 : 0);
    // After an automatic draw the next game follows a second later.
    EXPECT_EQ(game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 1000,
              p.drawn && p.mode == Menu_ComputerComputer);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DrawRule,
    ::testing::Values(DrawRuleCase{"AutomaticAtRandomLevelPlaysOn", Menu_ComputerComputer, true, false},
                      DrawRuleCase{"AutomaticAtHardDraws", Menu_ComputerComputer, false, true},
                      DrawRuleCase{"HumansAtRandomLevelDraw", Menu_HumanHuman, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace brindle::testing
