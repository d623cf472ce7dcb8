// Five in a line, the winner's announcement and sound, and the score.

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

struct Piece {
    int row, col;
    char mark;
};
using Cell = std::array<int32_t, 2>;
using Box = std::array<double, 4>;

std::vector<Piece> Pieces(char mark, int row, int col, int dr, int dc, int n, std::vector<Piece> more = {})
{
    for (int k = 0; k < n; ++k)
        more.push_back({row + k * dr, col + k * dc, mark});
    return more;
}

std::vector<Cell> Five(int row, int col, int dr, int dc)
{
    std::vector<Cell> out;
    for (int k = 0; k < 5; ++k)
        out.push_back({row + k * dr, col + k * dc});
    return out;
}

// The background-coloured holes that mark the pieces of a winning line.
std::vector<Box> Holes(const RecordingCanvas& canvas)
{
    std::vector<Box> out;
    for (const auto& op : canvas.Fills())
        if (op.colour == BackColour)
            out.push_back({op.x1, op.y1, op.x2, op.y2});
    return out;
}

std::vector<Box> HolesIn(const std::vector<Cell>& cells, double inset)
{
    std::vector<Box> out;
    for (const auto& [r, c] : cells)
        out.push_back({225.0 * (c + 2) - inset, 225.0 * (r + 2) - inset, 225.0 * (c + 1) + inset,
                       225.0 * (r + 1) + inset});
    return out;
}

// Human vs. Human with `mover` to play next and the pieces set out.
void SetOut(GameFixture& f, char mover, const std::vector<Piece>& pieces)
{
    f.StartHumanHuman();
    if (mover == MarkO)
        f.ClickCell(19, 10); // red's move, away from every line below
    for (const auto& p : pieces)
        f.game.SetBoard(p.row, p.col, p.mark);
    f.canvas.ops.clear();
}

struct LineCase {
    const char* name;
    char mover;
    std::vector<Piece> pieces;
    Cell last;
    std::vector<Cell> marked; // empty: no win
};

class LineCheck : public ::testing::TestWithParam<LineCase>, protected GameFixture {};

TEST_P(LineCheck, WinsWithTheFirstMatchingFiveOrPlaysOn)
{
    const LineCase& p = GetParam();
    SetOut(*this, p.mover, p.pieces);
    ClickCell(p.last[0], p.last[1]);

    const bool won = !p.marked.empty();
    const size_t slot = p.mover == MarkX ? 1 : 2;
    EXPECT_EQ(game.GameOver, won);
    EXPECT_EQ(globals.Score[slot], won ? 1 : 0);
    EXPECT_EQ(Holes(canvas), HolesIn(p.marked, 75));
    if (!won)
        return;
    std::vector<Cell> winCells;
    for (const auto& w : game.WinCells)
        winCells.push_back({w[1], w[2]});
    EXPECT_EQ(winCells, p.marked);
    EXPECT_EQ(game.ui.lblPlacer.Caption, "'s a winner!!!");
    // No hand-over after a win: the square keeps the winner's colour.
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, p.mover == MarkX ? Red : Blue);
    EXPECT_TRUE(game.ui.Menu[Menu_Undo].Enabled); // the winning move may be taken back
}

const LineCase LineCases[] = {
    {"AlongARow", MarkX, Pieces(MarkX, 10, 3, 0, 1, 4), {10, 7}, Five(10, 3, 0, 1)},
    {"AlongARowFromTheLeftEdge", MarkX, Pieces(MarkX, 10, 1, 0, 1, 4), {10, 0}, Five(10, 0, 0, 1)},
    {"AlongARowToTheRightEdge", MarkO, Pieces(MarkO, 10, 15, 0, 1, 4), {10, 19}, Five(10, 15, 0, 1)},
    {"SixInARowMarksTheFirstFive", MarkX, Pieces(MarkX, 10, 2, 0, 1, 3, Pieces(MarkX, 10, 6, 0, 1, 2)), {10, 5},
     Five(10, 2, 0, 1)},
    {"DownAColumnFromTheTopEdge", MarkX, Pieces(MarkX, 1, 5, 1, 0, 4), {0, 5}, Five(0, 5, 1, 0)},
    {"DownAColumnToTheBottomEdge", MarkO, Pieces(MarkO, 15, 19, 1, 0, 4), {19, 19}, Five(15, 19, 1, 0)},
    {"DiagonalDownRight", MarkX, Pieces(MarkX, 4, 8, 1, 1, 4), {8, 12}, Five(4, 8, 1, 1)},
    {"DiagonalDownRightFromTheCorner", MarkX, Pieces(MarkX, 1, 1, 1, 1, 4), {0, 0}, Five(0, 0, 1, 1)},
    {"DiagonalUpRight", MarkX, Pieces(MarkX, 8, 4, -1, 1, 4), {4, 8}, Five(8, 4, -1, 1)},
    {"DiagonalUpRightInTheCorner", MarkO, Pieces(MarkO, 19, 0, -1, 1, 2, Pieces(MarkO, 16, 3, -1, 1, 2)), {17, 2},
     Five(19, 0, -1, 1)},
    {"RowBeforeColumn", MarkX, Pieces(MarkX, 10, 3, 0, 1, 4, Pieces(MarkX, 6, 7, 1, 0, 4)), {10, 7},
     Five(10, 3, 0, 1)},
    {"ColumnBeforeDiagonal", MarkX, Pieces(MarkX, 6, 7, 1, 0, 4, Pieces(MarkX, 6, 3, 1, 1, 4)), {10, 7},
     Five(6, 7, 1, 0)},
    {"DownRightBeforeUpRight", MarkX, Pieces(MarkX, 6, 3, 1, 1, 4, Pieces(MarkX, 14, 3, -1, 1, 4)), {10, 7},
     Five(6, 3, 1, 1)},
    {"FourThenAGapThenAFifthIsNoWin", MarkX, Pieces(MarkX, 10, 3, 0, 1, 3, {{10, 8, MarkX}}), {10, 6}, {}},
    {"OpponentPieceBreaksTheLine", MarkX, Pieces(MarkX, 10, 3, 0, 1, 3, {{10, 6, MarkO}}), {10, 7}, {}},
    {"OpponentsFourIsNoWinForTheMover", MarkX, Pieces(MarkO, 10, 3, 0, 1, 4), {10, 7}, {}},
    {"RowDoesNotRunOnIntoTheNextRow", MarkX, Pieces(MarkX, 10, 17, 0, 1, 3, {{11, 1, MarkX}}), {11, 0}, {}},
    {"DiagonalDoesNotRunOnAcrossTheEdge", MarkX, Pieces(MarkX, 14, 16, 1, 1, 4), {19, 0}, {}},
};

INSTANTIATE_TEST_SUITE_P(Lines, LineCheck, ::testing::ValuesIn(LineCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct SoundCase {
    const char* name;
    MenuId mode;
    char starter;
    const char* role;
    Colour winner;
    const char* file; // nullptr: silence
};

class WinnerSound : public ::testing::TestWithParam<SoundCase>, protected GameFixture {};

TEST_P(WinnerSound, DependsOnTheModeAndTheWinningColour)
{
    const SoundCase& p = GetParam();
    game.UncheckModes();
    game.Check(p.mode, true);
    game.Starter = p.starter;
    globals.NetRole = p.role;
    game.ui.lblHvisTur.BackColor = p.winner;
    game.ui.Timer1.Enabled = true;
    canvas.persistent = false;

    game.DoWinner(" ");
    EXPECT_EQ(host.sounds, p.file ? std::vector<std::string>{p.file} : std::vector<std::string>{});
    EXPECT_EQ(globals.Score, (std::array<int32_t, 4>{0, p.winner == Red, p.winner == Blue, 0}));
    EXPECT_EQ(game.ui.lblPlacer.Caption, "'s a winner!!!");
    EXPECT_TRUE(game.GameOver);
    EXPECT_FALSE(game.ui.Timer1.Enabled);
    EXPECT_TRUE(canvas.persistent);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, WinnerSound,
    ::testing::Values(SoundCase{"HumanOpenedAndWins", Menu_HumanComputer, 'H', "", Red, "Yes.wav"},
                      SoundCase{"HumanOpenedAndLoses", Menu_HumanComputer, 'H', "", Blue, "Grin.wav"},
                      SoundCase{"ComputerOpenedAndWins", Menu_HumanComputer, 'C', "", Red, "Grin.wav"},
                      SoundCase{"ComputerOpenedAndLoses", Menu_HumanComputer, 'C', "", Blue, "Yes.wav"},
                      SoundCase{"RedWinsAtOneWindow", Menu_HumanHuman, Empty, "", Red, "WinRed.wav"},
                      SoundCase{"BlueWinsAtOneWindow", Menu_HumanHuman, Empty, "", Blue, "WinBlue.wav"},
                      SoundCase{"HostWins", Menu_Network, Empty, "HOST", Red, "Yes.wav"},
                      SoundCase{"HostLoses", Menu_Network, Empty, "HOST", Blue, "WinBlue.wav"},
                      SoundCase{"JoinerWins", Menu_Network, Empty, "CLIENT", Blue, "Yes.wav"},
                      SoundCase{"JoinerLoses", Menu_Network, Empty, "CLIENT", Red, "WinRed.wav"},
                      SoundCase{"AutomaticPlayIsSilent", Menu_ComputerComputer, Empty, "", Red, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The score, and the winning line when the board is drawn again

struct AfterAWin : ::testing::Test, GameFixture {
    void SetUp() override
    {
        SetOut(*this, MarkX, Pieces(MarkX, 10, 3, 0, 1, 4));
        ClickCell(10, 7);
    }
    // Repaints the board as a resize does and returns the holes drawn.
    std::vector<Box> RedrawnHoles()
    {
        canvas.ops.clear();
        game.DrawGrid();
        game.RedrawPieces();
        return Holes(canvas);
    }
};

TEST_F(AfterAWin, ScoreReadsOnTwoLinesAndOutlivesTheGame)
{
    EXPECT_EQ(game.ui.lblComp.Caption, "Red: 1 - Blue: 0\r\nDraw: 0");
    game.Menu_New_Click();
    EXPECT_EQ(game.ui.lblComp.Caption, "Red: 1 - Blue: 0\r\nDraw: 0");
}

TEST_F(AfterAWin, RedrawMarksTheFiveAgainOverThePieces)
{
    EXPECT_EQ(RedrawnHoles(), HolesIn(Five(10, 3, 0, 1), 75));
    const auto fills = canvas.Fills();
    EXPECT_EQ(fills[fills.size() - 6].colour, Red); // the holes come after the last piece

    game.Check(Menu_PieceNormal, false);
    game.Check(Menu_PieceSmall, true);
    EXPECT_EQ(RedrawnHoles(), HolesIn(Five(10, 3, 0, 1), 90));
}

TEST_F(AfterAWin, LaterGameEndedOnTimeOrByStopMarksNoLine)
{
    game.Menu_HumanHuman_Click();
    ClickCell(0, 0);
    game.DoWinner("R"); // the peer reports a win on time
    EXPECT_TRUE(RedrawnHoles().empty());

    game.Menu_HumanHuman_Click();
    game.UncheckModes();
    game.Check(Menu_ComputerComputer, true);
    game.Menu_Stop_Click();
    ASSERT_TRUE(game.GameOver);
    EXPECT_TRUE(RedrawnHoles().empty());
}

} // namespace
} // namespace brindle::testing
