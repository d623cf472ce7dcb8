// The game's rules and control: clicks, five in a line, the draw, the winner's
// sound and the score, undo and the move list, events that run while a piece
// is being placed, the new-game wipe, the coin toss, automatic play and Autodraw.

#include <array>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

struct Rules : ::testing::Test, GameFixture {
    void SetUp() override { StartHumanHuman(); }

    // How many of the four top menus show, and whether Stop shows.
    std::pair<int, bool> MenuBar() const
    {
        int shown = 0;
        for (MenuId top : {Menu_Game, Menu_Players, Menu_Computer, Menu_Helpmenu})
            shown += game.ui.Menu[top].Visible ? 1 : 0;
        return {shown, game.ui.Menu[Menu_Stop].Visible};
    }
    int GamesCounted() const { return globals.Score[1] + globals.Score[2] + globals.Score[3]; }
};

TEST(ClickMapping, PlacesOnTheCellUnderThePointerAndBeepsOnGridLinesAndOutsideTheBoard)
{
    // {x, y, row, col} in 225-twip cells; row -1: refused with a beep.
    for (const auto& [x, y, row, col] : {std::tuple(450.f, 300.f, -1, -1), {451.f, 300.f, 0, 1}, {300.f, 675.f, -1, -1},
                                         {225.f, 300.f, -1, -1}, {100.f, 300.f, -1, -1}, {300.f, 100.f, -1, -1},
                                         {4724.f, 300.f, 0, 19}, {4725.f, 300.f, -1, -1}, {4726.f, 300.f, -1, -1},
                                         {300.f, 4724.f, 19, 0}, {300.f, 4800.f, -1, -1}, {1e9f, -1e9f, -1, -1}}) {
        GameFixture f;
        f.StartHumanHuman();
        f.game.Form_MouseDown(x, y);
        EXPECT_EQ(f.host.beeps, row < 0 ? 1 : 0) << x << "," << y;
        EXPECT_TRUE(row < 0 ? f.game.MoveCount == 0 : f.game.Board(row, col) == MarkX) << x << "," << y;
    }
}

TEST_F(Rules, AClickBeepsOnAnOccupiedCellOrALineOfEitherAxisAndIsIgnoredOnceTheGameIsOverOrPlaysItself)
{
    Play({{3, 4}, {3, 4}});
    game.CellWidth = 300; // each axis maps by its own cell side
    game.Form_MouseDown(600, 500);
    game.Form_MouseDown(601, 500);
    EXPECT_TRUE(host.beeps == 2 && game.Board(1, 1) == MarkO && game.ui.lblHvisTur.BackColor == Red);
    game.DoWinner(" ");
    ClickCell(5, 5);
    game.GameOver = false;
    game.Check(Menu_ComputerComputer, true);
    ClickCell(5, 5);
    EXPECT_EQ(host.beeps + game.MoveCount, 2 + 2);
}

// ---- Five in a line

// n cells holding `mark`, from (row, col) in steps of (dr, dc).
struct Segment { int row, col, dr, dc, n; char mark; };
// With the pieces set out, `mover` plays at (row, col); `five` is the line it wins with, n 0 for none.
struct LineCase { const char* name; char mover; std::vector<Segment> pieces; int row, col; Segment five; };

const LineCase LineCases[] = {
    {"RowFromTheLeftEdge", 'X', {{10, 1, 0, 1, 4, 'X'}}, 10, 0, {10, 0, 0, 1, 5, 'X'}},
    {"RowToTheRightEdge", 'O', {{10, 15, 0, 1, 4, 'O'}}, 10, 19, {10, 15, 0, 1, 5, 'O'}},
    {"SixInARowMarksTheFirstFive", 'X', {{10, 2, 0, 1, 3, 'X'}, {10, 6, 0, 1, 2, 'X'}}, 10, 5, {10, 2, 0, 1, 5, 'X'}},
    {"ColumnFromTheTopEdge", 'X', {{1, 5, 1, 0, 4, 'X'}}, 0, 5, {0, 5, 1, 0, 5, 'X'}},
    {"DownRightFromTheCorner", 'X', {{1, 1, 1, 1, 4, 'X'}}, 0, 0, {0, 0, 1, 1, 5, 'X'}},
    {"UpRightFromTheCorner", 'O', {{19, 0, -1, 1, 2, 'O'}, {16, 3, -1, 1, 2, 'O'}}, 17, 2, {19, 0, -1, 1, 5, 'O'}},
    {"RowBeforeColumn", 'X', {{10, 3, 0, 1, 4, 'X'}, {6, 7, 1, 0, 4, 'X'}}, 10, 7, {10, 3, 0, 1, 5, 'X'}},
    {"ColumnBeforeDiagonal", 'X', {{6, 7, 1, 0, 4, 'X'}, {6, 3, 1, 1, 4, 'X'}}, 10, 7, {6, 7, 1, 0, 5, 'X'}},
    {"DownRightBeforeUpRight", 'X', {{6, 3, 1, 1, 4, 'X'}, {14, 3, -1, 1, 4, 'X'}}, 10, 7, {6, 3, 1, 1, 5, 'X'}},
    {"GapIsNoWin", 'X', {{10, 3, 0, 1, 3, 'X'}, {10, 8, 0, 1, 1, 'X'}}, 10, 6, {}},
    {"OpponentPieceBreaksTheLine", 'X', {{10, 3, 0, 1, 3, 'X'}, {10, 6, 0, 1, 1, 'O'}}, 10, 7, {}},
    {"OpponentsFourIsNoWin", 'X', {{10, 3, 0, 1, 4, 'O'}}, 10, 7, {}},
    {"RowDoesNotRunOnIntoTheNext", 'X', {{10, 17, 0, 1, 3, 'X'}, {11, 1, 0, 1, 1, 'X'}}, 11, 0, {}},
    {"RowDoesNotWrapRound", 'X', {{10, 17, 0, 1, 3, 'X'}, {10, 1, 0, 1, 1, 'X'}}, 10, 0, {}},
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineCheck : public Rules, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineCheck, WinsWithTheFirstMatchingFiveOrPlaysOn)
{
    const LineCase& p = GetParam();
    if (p.mover == MarkO)
        ClickCell(19, 10); // red's move, away from every line
    for (const Segment& s : p.pieces)
        for (int k = 0; k < s.n; ++k)
            game.SetBoard(s.row + k * s.dr, s.col + k * s.dc, s.mark);
    canvas.ops.clear();
    ClickCell(p.row, p.col);
    EXPECT_EQ(globals.Score[p.mover == MarkX ? 1 : 2], p.five.n / 5);
    EXPECT_EQ(game.ui.lblPlacer.Caption, p.five.n ? "'s a winner!!!" : "'s turn.");
    EXPECT_EQ(canvas.Fills().size(), 1u + p.five.n) << "the piece, then a hole in each piece of the five";
    for (int k = 0; k < p.five.n; ++k)
        EXPECT_EQ((std::array{game.WinCells[size_t(k)][1], game.WinCells[size_t(k)][2]}),
                  (std::array{p.five.row + k * p.five.dr, p.five.col + k * p.five.dc}));
}

INSTANTIATE_TEST_SUITE_P(Lines, LineCheck, ::testing::ValuesIn(LineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WinnerSound, DependsOnTheModeTheOpenerOrRoleAndTheWinnersColourAndTheScoreCountsTheWin)
{
    for (const auto& [mode, starter, role, winner, file] :
         {std::tuple(Menu_HumanComputer, 'H', "", Red, "Yes.wav"), {Menu_HumanComputer, 'H', "", Blue, "Grin.wav"},
          {Menu_HumanComputer, 'C', "", Red, "Grin.wav"}, {Menu_HumanComputer, 'C', "", Blue, "Yes.wav"},
          {Menu_HumanHuman, Empty, "", Red, "WinRed.wav"}, {Menu_HumanHuman, Empty, "", Blue, "WinBlue.wav"},
          {Menu_Network, Empty, "HOST", Red, "Yes.wav"}, {Menu_Network, Empty, "HOST", Blue, "WinBlue.wav"},
          {Menu_Network, Empty, "CLIENT", Blue, "Yes.wav"}, {Menu_Network, Empty, "CLIENT", Red, "WinRed.wav"},
          {Menu_ComputerComputer, Empty, "", Red, ""}}) {
        GameFixture f;
        f.game.UncheckModes();
        f.game.Check(mode, true);
        f.game.Starter = starter;
        f.globals.NetRole = role;
        f.game.ui.lblHvisTur.BackColor = winner;
        f.game.DoWinner(" ");
        EXPECT_EQ(f.host.sounds, *file ? std::vector<std::string>{file} : std::vector<std::string>{}) << mode << starter;
        EXPECT_EQ(f.game.ui.lblComp.Caption, winner == Red ? "Red: 1 - Blue: 0\r\nDraw: 0" : "Red: 0 - Blue: 1\r\nDraw: 0");
    }
}

// ---- The draw

TEST_F(Rules, ClosingTheLastOpenWindowDrawsAtOnceAndUndoReopensThePlay)
{
    CloseEveryWindow();
    for (int r = 15; r < 20; ++r)
        game.SetBoard(r, 0, r < 18 ? MarkX : Empty);
    Play({{18, 0}, {19, 0}}); // blue closes the last windows red had
    EXPECT_EQ(game.ui.lblPlacer.Caption, "It's a draw");
    EXPECT_TRUE(game.GameOver && !game.ui.lblHvisTur.Visible && !game.ui.Timer1.Enabled);
    EXPECT_EQ((std::array{game.ui.lblDraw.Top, game.ui.lblDraw.Left}), (std::array{1372.5, 525.0}));
    EXPECT_EQ(host.sounds.back(), "Draw.wav");
    game.Menu_Undo_Click();
    EXPECT_TRUE(!game.GameOver && game.ui.lblHvisTur.Visible && game.NextMark == MarkO);
    EXPECT_EQ((std::array{game.ui.lblDraw.Top, game.ui.lblDraw.Left}), (std::array{Parked, Parked}));
    EXPECT_EQ(game.ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 1");
}

TEST_F(Rules, OnlyTheFullBoardCountsAsADrawInAutomaticPlayAtTheRandomLevelAndItDrawsBeforeAWin)
{
    for (const auto& [mode, stupid, drawn] : {std::tuple(Menu_ComputerComputer, true, false),
                                              {Menu_HumanHuman, true, true}, {Menu_ComputerComputer, false, true}}) {
        game.Menu_HumanHuman_Click();
        CloseEveryWindow();
        game.SetBoard(0, 19, Empty);
        game.UncheckModes();
        game.Check(mode, true);
        stupid ? game.Menu_Stupid_Click() : game.Menu_Hard_Click();
        game.PlacePiece(0, 19, 0);
        EXPECT_EQ(game.GameOver, drawn);
        // After an automatic draw the next game follows a second later.
        EXPECT_EQ(game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 1000, drawn && mode == Menu_ComputerComputer);
    }
    game.Menu_HumanHuman_Click();
    CloseEveryWindow();
    for (int c = 3; c <= 7; ++c)
        game.SetBoard(10, c, c < 7 ? MarkX : Empty);
    game.MoveCount = 399;
    ClickCell(10, 7); // the 400th move, and five in a row
    EXPECT_EQ(globals.Score, (std::array<int32_t, 4>{0, 0, 0, 3}));
}

// ---- Undo and the move list

TEST_F(Rules, UndoBetweenHumansTakesBackOneMoveAtATimeAndRejectUndoPutsItBackUnlessItsCellWasTakenSince)
{
    game.Check(Menu_Details, true);
    Play({{5, 5}, {5, 6}, {6, 5}});
    game.PlacePiece(7, 7, 250); // as the computer plays its cell, with its score
    canvas.ops.clear();
    game.Menu_Undo_Click();
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Blue); // blue, who made the move, is to move again
    EXPECT_EQ(game.ui.lblTraek.Caption, "Moves: 3");
    EXPECT_EQ(game.ui.imgUp.Left, 1382.5); // the arrows point at move 3
    EXPECT_TRUE(Enabled(Menu_Undo) && Enabled(Menu_RejectUndo) && game.ui.Enabled);
    EXPECT_EQ(canvas.ops.size(), 1 + 42 + 3u) << "drawn afresh: cleared, the grid, the three pieces left";
    game.Menu_RejectUndo_Click();
    EXPECT_EQ(game.ui.txtMoves.Caption, "4: (8,8)   250\r\n3: (7,6)   \r\n2: (6,7)   \r\n1: (6,6)   \r\n");
    EXPECT_TRUE(game.Board(7, 7) == MarkO && !Enabled(Menu_RejectUndo));
    game.Menu_Undo_Click();
    game.Menu_Undo_Click();
    EXPECT_EQ(game.ui.txtMoves.Caption, "2: (6,7)   \r\n1: (6,6)   \r\n");
    ClickCell(7, 7); // red takes the cell of blue's move 4
    EXPECT_FALSE(Enabled(Menu_RejectUndo));
    game.Menu_Undo_Click();
    game.Menu_RejectUndo_Click(); // move 3 comes back
    EXPECT_TRUE(Enabled(Menu_RejectUndo));
    game.Menu_RejectUndo_Click(); // move 4 points at (7, 7), now red's
    EXPECT_TRUE(game.MoveCount == 3 && game.Board(7, 7) == MarkX && !Enabled(Menu_RejectUndo));
    ClickCell(12, 12);
    game.Menu_RejectUndo_Click(); // nothing lies past the highest move
    EXPECT_TRUE(game.MoveCount == 4 && game.Board(0, 0) == Empty);
    for (int k = 0; k < 4; ++k)
        game.Menu_Undo_Click();
    EXPECT_TRUE(game.MoveCount == 0 && !Enabled(Menu_Undo) && game.ui.txtMoves.Caption.empty());
    EXPECT_EQ(game.ui.imgLeft.Left, Parked);
}

TEST_F(Rules, RejectUndoStopsAfterAReplayedWinWhoseLineARedrawMarksAgain)
{
    Play({{10, 3}, {0, 0}, {10, 4}, {0, 2}, {10, 5}, {0, 4}, {10, 6}, {0, 6}, {19, 19}, {0, 8}});
    game.Menu_Undo_Click();
    game.Menu_Undo_Click();
    ClickCell(10, 7); // red wins at move 9; blue's old move 10 stays on record
    game.Menu_Undo_Click();
    game.Menu_RejectUndo_Click();
    game.Menu_RejectUndo_Click();
    EXPECT_TRUE(game.GameOver && game.Board(0, 8) == Empty && !Enabled(Menu_RejectUndo));
    EXPECT_EQ(globals.Score[1], 2); // the win taken back stays counted
    canvas.ops.clear();
    game.RedrawPieces();
    const auto fills = canvas.Fills(); // nine pieces, then the holes of (10, 3) to (10, 7)
    ASSERT_EQ(fills.size(), 14u);
    EXPECT_EQ((std::array{fills[9].x1, fills[9].y1, fills[13].x2, fills[13].y2}), (std::array{1050., 2625., 1875., 2550.}));
}

TEST(UndoAgainstComputer, TakesBackTheReplyTooButNeverTheOpeningAndRejectUndoReplaysBothUnanswered)
{
    GameFixture f;
    f.StartUp('C');
    f.ClickCell(0, 0);
    const auto opening = f.game.History[1], reply = f.game.History[3];
    f.game.Menu_Undo_Click();
    f.game.Menu_Undo_Click();
    EXPECT_TRUE(f.game.MoveCount == 1 && f.game.Board(0, 0) == Empty && f.game.Board(reply[1], reply[2]) == Empty);
    EXPECT_TRUE(f.game.Board(opening[1], opening[2]) == MarkX && !f.Enabled(Menu_Undo));
    EXPECT_EQ(f.game.ui.lblHvisTur.BackColor, Blue); // and the computer waits for the human
    f.game.Menu_RejectUndo_Click();
    EXPECT_TRUE(f.game.MoveCount == 3 && f.game.Board(reply[1], reply[2]) == MarkX && f.game.History[3] == reply);
}

TEST(UndoAgainstComputer, NeverGoesThroughTheUnusedHistoryEntryBeforeTheFirstMove)
{
    GameFixture f;
    f.StartUp('H');
    f.game.Starter = Empty; // nobody answers the human's move
    f.game.PlacePiece(0, 1, 0);
    f.game.SetBoard(0, 0, MarkO); // the cell that entry 0 names
    f.game.Menu_Undo_Click();
    EXPECT_TRUE(f.game.Board(0, 1) == Empty && f.game.Board(0, 0) == MarkO);
}

TEST_F(Rules, DuringAMovesEventPassAClickIsDroppedAndANewGameEndsTheOldMove)
{
    host.DuringNextPass([this] { ClickCell(5, 5); });
    ClickCell(3, 3);
    EXPECT_TRUE(game.Board(5, 5) == Empty && host.beeps == 0);
    // Nor may Autodraw or Reject undo play before the move has been judged.
    Play({{3, 4}, {4, 3}, {4, 4}, {5, 3}, {5, 4}, {6, 3}, {0, 19}});
    host.DuringNextPass([this] {
        game.Menu_Autodraw_Click();
        game.Menu_RejectUndo_Click();
    });
    ClickCell(7, 3);
    EXPECT_TRUE(game.GameOver && game.MoveCount == 9) << "red's five down column 3 wins";
    // The automatic game runs to its end inside the pass; the old move must
    // not then judge that game's final position a second time.
    game.Menu_HumanHuman_Click();
    host.DuringNextPass([this] { game.Menu_ComputerComputer_Click(); });
    ClickCell(5, 5);
    EXPECT_EQ(GamesCounted(), 2);
}

// ---- Starting games and automatic play

struct Control : Rules {};

TEST_F(Control, NewGameSweepsAMagentaBarOverTheBoardAndLeavesItBlankWithUndoOff)
{
    Play({{0, 0}, {0, 1}, {1, 0}});
    game.Menu_Undo_Click(); // both undo items enabled now
    canvas.ops.clear();
    game.Menu_New_Click();
    int magenta = 0, erased = 0;
    for (const CanvasOp& op : canvas.Fills()) {
        magenta += op.colour == Magenta;
        erased += op.colour == BackColour;
    }
    EXPECT_EQ(std::pair(magenta, erased), std::pair(19 * 20, 20 * 20)) << "a bar across columns 1 to 19, then blank";
    for (int i = 0; i < CellCount; ++i)
        ASSERT_EQ(game.Board(i / BoardSize, i % BoardSize), Empty);
    EXPECT_TRUE(game.ui.Enabled && canvas.persistent && Enabled(Menu_New) && Enabled(Menu_Autodraw));
    EXPECT_FALSE(Enabled(Menu_Undo) || Enabled(Menu_RejectUndo) || Enabled(Menu_Send));
    EXPECT_EQ(MenuBar(), std::pair(4, false));
}

TEST_F(Control, EachNewGameTossesForTheOpenerAndAnnouncesItOnlyWithSoundOn)
{
    for (const auto& [rnd, sound, starter, file] :
         {std::tuple(0.4999f, true, 'H', "YouStart.wav"), {0.5f, true, 'C', "CpuStart.wav"}, {0.25f, false, 'H', ""},
          {0.75f, false, 'C', ""}}) {
        if (game.Checked(Menu_Sound) != sound)
            game.Menu_Sound_Click();
        host.sounds.clear();
        random.Push({rnd});
        game.Menu_HumanComputer_Click();
        EXPECT_EQ(game.Starter, starter);
        EXPECT_EQ(host.sounds, *file ? std::vector<std::string>{file} : std::vector<std::string>{});
        EXPECT_EQ(game.MoveCount, starter == 'C' ? 1 : 0) << "the computer opens at once, or waits for the human";
    }
}

TEST_F(Control, AutomaticPlayRunsGameAfterGameASecondApartWithOnlyStopShownUntilStopInThePauseOrMidGame)
{
    bool onlyStop = true, timerQuiet = true;
    host.DuringPassesUntil([&] {
        onlyStop = onlyStop && MenuBar() == std::pair(0, true);
        timerQuiet = timerQuiet && (game.GameOver || !game.ui.Timer3.Enabled || game.ui.Timer3.Interval == 0);
        return false;
    });
    game.Menu_ComputerComputer_Click();
    for (int games = 1; games <= 3; ++games) {
        EXPECT_TRUE(game.GameOver && game.MoveCount >= 9 && GamesCounted() == games);
        EXPECT_TRUE(game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 1000) << "the one-second pause";
        if (games < 3)
            game.Timer3_Timer();
    }
    EXPECT_TRUE(onlyStop && timerQuiet);
    game.Menu_Stop_Click();
    EXPECT_TRUE(!game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 0 && MenuBar() == std::pair(4, false));

    host.DuringPassesUntil([this] {
        if (game.MoveCount == 6)
            game.Menu_Stop_Click();
        return game.MoveCount == 6;
    });
    game.Menu_New_Click();
    EXPECT_TRUE(game.MoveCount == 6 && game.GameOver && !game.ui.Timer1.Enabled && GamesCounted() == 3);
    EXPECT_TRUE(!game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 0 && MenuBar() == std::pair(4, false));
    canvas.ops.clear();
    game.Menu_Autodraw_Click(); // the stopped game takes no further move
    game.RedrawPieces();        // and has no line of its own to mark
    EXPECT_EQ(canvas.ops.size(), 6u);
    game.Menu_New_Click();
    EXPECT_TRUE(game.ui.Timer3.Enabled && GamesCounted() == 4 && MenuBar() == std::pair(0, true));
}

TEST_F(Control, AutodrawPlaysOneMoveForTheSideToMoveAndOnlyOneAtATime)
{
    host.DuringNextPass([this] { game.Menu_Autodraw_Click(); });
    game.Menu_Autodraw_Click();
    EXPECT_EQ(game.MoveCount, 1) << "the second, asked for while the first ran, is ignored";
    game.Menu_Autodraw_Click();
    ClickCell(0, 0);
    EXPECT_TRUE(game.MoveCount == 3 && game.Board(0, 0) == MarkX) << "the human still moves for red";
}

} // namespace
} // namespace brindle::testing
