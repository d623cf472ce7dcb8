// The rules and control: clicks, fives, the draw, the winner, undo, what waits while a move is placed, automatic play.

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

using Strings = std::vector<std::string>;

struct Rules : ::testing::Test, GameFixture {
    void SetUp() override { startHumanHuman(); }
    bool nextGameArmed() const { return shown().find("next game") != std::string::npos; }
};

TEST_F(Rules, AClickBeepsOnAnOccupiedCellOrALineOfEitherAxisAndIsIgnoredOnceTheGameIsOverOrPlaysItself)
{
    play({{3, 4}, {3, 4}});
    game.CellWidth = 300; // each axis maps by its own cell side
    game.Form_MouseDown(600, 500), game.Form_MouseDown(601, 500);
    EXPECT_TRUE(sound.beeps() == 2 && game.Board(1, 1) == MarkO && game.ui.lblHvisTur.BackColor == Red);
    game.ui.Enabled = false, clickCell(5, 5); // a disabled window takes no click and no command
    EXPECT_FALSE(choose(Menu_Details));
    game.ui.Enabled = true, game.UncheckModes(), game.check(Menu_Network, true), tick(); // red's own clock runs, and blue's win on time zeroes it
    game.DoWinner("B"), clickCell(5, 5);
    EXPECT_TRUE(game.clock().RedTime == 0 && game.ui.lblHvisTur.BackColor == Blue);
    poke().GameOver = false;
    game.check(Menu_ComputerComputer, true), clickCell(5, 5);
    EXPECT_EQ(sound.beeps() + s().MoveCount, 2 + 2);
    EXPECT_FALSE(choose(Menu_RejectUndo) || choose(Menu_Stop)) << "greyed or hidden items do nothing";
}

// n cells holding `mark`, from (row, col) in steps of (dr, dc).
struct Segment { int row, col, dr, dc, n; char mark; };
// With the pieces set out, `mover` plays at (row, col); `five` is the line it wins with, n 0 for none.
struct LineCase { const char* name; char mover; std::vector<Segment> pieces; int row, col; Segment five; };

const LineCase LineCases[] = {
    {"RowFromTheLeftEdge", 'X', {{10, 1, 0, 1, 4, 'X'}}, 10, 0, {10, 0, 0, 1, 5, 'X'}},
    {"SixInARowMarksTheFirstFive", 'X', {{10, 2, 0, 1, 3, 'X'}, {10, 6, 0, 1, 2, 'X'}}, 10, 5, {10, 2, 0, 1, 5, 'X'}},
    {"ColumnFromTheTopEdge", 'X', {{1, 5, 1, 0, 4, 'X'}}, 0, 5, {0, 5, 1, 0, 5, 'X'}},
    {"DownRightFromTheCorner", 'X', {{1, 1, 1, 1, 4, 'X'}}, 0, 0, {0, 0, 1, 1, 5, 'X'}},
    {"UpRightFromTheCorner", 'O', {{19, 0, -1, 1, 2, 'O'}, {16, 3, -1, 1, 2, 'O'}}, 17, 2, {19, 0, -1, 1, 5, 'O'}},
    {"RowBeforeColumn", 'X', {{10, 3, 0, 1, 4, 'X'}, {6, 7, 1, 0, 4, 'X'}}, 10, 7, {10, 3, 0, 1, 5, 'X'}},
    {"GapIsNoWin", 'X', {{10, 3, 0, 1, 3, 'X'}, {10, 8, 0, 1, 1, 'X'}}, 10, 6, {}},
    {"RowDoesNotWrapRound", 'X', {{10, 17, 0, 1, 3, 'X'}, {10, 1, 0, 1, 1, 'X'}}, 10, 0, {}},
};

class LineCheck : public Rules, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineCheck, WinsWithTheFirstMatchingFiveOrPlaysOn)
{
    const LineCase& p = GetParam();
    if (p.mover == MarkO)
        clickCell(19, 10); // red's move, away from every line
    for (const Segment& seg : p.pieces)
        for (int k = 0; k < seg.n; ++k)
            game.setBoard(seg.row + k * seg.dr, seg.col + k * seg.dc, seg.mark);
    canvas.ops.clear(), clickCell(p.row, p.col);
    EXPECT_EQ(globals.Score[p.mover == MarkX ? 1 : 2], p.five.n / 5);
    EXPECT_EQ(game.ui.lblPlacer.Caption, p.five.n ? "'s a winner!!!" : "'s turn.");
    EXPECT_EQ(canvas.fills().size(), 1u + p.five.n) << "the piece, then a hole in each piece of the five";
    for (int k = 0; k < p.five.n; ++k)
        EXPECT_EQ((std::array{s().WinCells[size_t(k)][1], s().WinCells[size_t(k)][2]}),
                  (std::array{p.five.row + k * p.five.dr, p.five.col + k * p.five.dc}));
}

INSTANTIATE_TEST_SUITE_P(Lines, LineCheck, ::testing::ValuesIn(LineCases), [](const auto& info) { return std::string(info.param.name); });

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
        f.game.UncheckModes(), f.game.check(mode, true); // as a network part or an earlier choice would leave it
        f.poke().Starter = starter, f.globals.NetRole = role, f.game.ui.lblHvisTur.BackColor = winner;
        f.game.DoWinner(" ");
        EXPECT_EQ(f.sound.waves, *file ? Strings{file} : Strings{}) << mode << starter;
        EXPECT_EQ(f.game.ui.lblComp.Caption, winner == Red ? "Red: 1 - Blue: 0\r\nDraw: 0" : "Red: 0 - Blue: 1\r\nDraw: 0");
        EXPECT_TRUE(f.s().GameOver && !f.game.ui.Timer1.Enabled && f.canvas.persistent);
    }
}

TEST_F(Rules, ClosingTheLastOpenWindowDrawsAtOnceAndUndoReopensThePlay)
{
    closeEveryWindow();
    for (int r = 15; r < 20; ++r)
        game.setBoard(r, 0, r < 18 ? MarkX : Empty);
    clickCell(18, 0), canvas.persistent = false;
    clickCell(19, 0); // blue closes the last windows red had
    EXPECT_TRUE(canvas.persistent) << "the final board survives repaints";
    EXPECT_EQ(shown(), "It's a draw Moves: 2 | Red: 0 - Blue: 0, Draw: 1 | Undo");
    EXPECT_EQ((std::tuple(game.ui.lblDraw.Top, game.ui.lblDraw.Left, sound.waves.back(), game.ui.spoken, game.turnName())),
              (std::tuple(1372.5, 525.0, "Draw.wav", "Draw", "Draw")));
    choose(Menu_Undo);
    EXPECT_EQ(shown(), "Blue's turn. Moves: 1 | Red: 0 - Blue: 0, Draw: 1 | Undo RejectUndo clock");
    EXPECT_TRUE(game.ui.lblDraw.Top == Parked && game.ui.lblDraw.Left == Parked);
}

TEST_F(Rules, UndoBetweenHumansTakesBackOneMoveAtATimeAndRejectUndoPutsItBackUnlessItsCellWasTakenSince)
{
    game.check(Menu_Details, true);
    play({{5, 5}, {5, 6}, {6, 5}});
    game.PlacePiece(7, 7, 250), canvas.ops.clear(); // as the computer plays its cell, with its score
    choose(Menu_Undo);
    // Blue, who made the move, is to move again; the arrows point at move 3.
    EXPECT_EQ(shown(), "Blue's turn. Moves: 3 | Red: 0 - Blue: 0, Draw: 0 | Undo RejectUndo clock");
    EXPECT_EQ(game.ui.imgUp.Left, 1382.5);
    EXPECT_EQ(canvas.ops.size(), 1 + 42 + 3u) << "drawn afresh: cleared, the grid, the three pieces left";
    events.duringNextPass([this] { choose(Menu_Sound); }), choose(Menu_RejectUndo); // Sound waits for the replay's end
    EXPECT_EQ(game.ui.txtMoves.Caption, "4: (8,8)   250\r\n3: (7,6)   \r\n2: (6,7)   \r\n1: (6,6)   \r\n");
    EXPECT_FALSE(game.checked(Menu_Sound));
    EXPECT_EQ(shown(), "Red's turn. Moves: 4 | Red: 0 - Blue: 0, Draw: 0 | Undo clock");
    choose(Menu_Undo), choose(Menu_Undo);
    EXPECT_EQ(game.ui.txtMoves.Caption, "2: (6,7)   \r\n1: (6,6)   \r\n");
    clickCell(7, 7); // red takes the cell of blue's move 4
    EXPECT_FALSE(enabled(Menu_RejectUndo));
    choose(Menu_Undo), choose(Menu_RejectUndo); // move 3 comes back, and then move 4 points at (7, 7), now red's
    EXPECT_TRUE(enabled(Menu_RejectUndo));
    choose(Menu_RejectUndo);
    EXPECT_EQ(shown(), "Blue's turn. Moves: 3 | Red: 0 - Blue: 0, Draw: 0 | Undo clock");
    for (int k = 0; k < 3; ++k) // down to the last move on the board
        choose(Menu_Undo);
    EXPECT_TRUE(game.ui.txtMoves.Caption.empty() && game.ui.imgLeft.Left == Parked);
    EXPECT_EQ(shown(), "Red's turn. Moves: 0 | Red: 0 - Blue: 0, Draw: 0 | RejectUndo clock");
    play({{1, 1}, {2, 2}}), choose(Menu_New), clickCell(0, 0);
    EXPECT_EQ(game.ui.txtMoves.Caption, "1: (1,1)   \r\n") << "a new game's list starts afresh";
}

TEST(UndoAgainstComputer, TakesBackTheReplyTooButNeverTheOpeningAndRejectUndoReplaysBothUnanswered)
{
    GameFixture f;
    f.startUp('C'), f.clickCell(0, 0);
    const auto opening = f.s().History[1], reply = f.s().History[3];
    f.choose(Menu_Undo), f.choose(Menu_Undo); // the opening cannot be taken back: the item only turns grey
    EXPECT_EQ(f.shown(), "Blue's turn. Moves: 1 | Red: 0 - Blue: 0, Draw: 0 | RejectUndo clock");
    EXPECT_TRUE(f.game.Board(0, 0) == Empty && f.game.Board(reply[1], reply[2]) == Empty && f.game.Board(opening[1], opening[2]) == MarkX);
    f.choose(Menu_RejectUndo);
    EXPECT_TRUE(f.s().MoveCount == 3 && f.game.Board(reply[1], reply[2]) == MarkX && f.s().History[3] == reply);
}

TEST_F(Rules, DuringAMovesEventPassAClickIsDroppedAndCommandsTicksAndMessagesWaitUntilTheMoveIsJudged)
{
    events.duringNextPass([this] { clickCell(5, 5); }), clickCell(3, 3);
    EXPECT_TRUE(game.Board(5, 5) == Empty && sound.beeps() == 0);
    events.duringNextPass([this] { tick(); }), clickCell(18, 18);
    EXPECT_EQ(game.ui.txtTime.Caption, "00:00:01") << "counted once the move was judged";
    clickCell(17, 17), game.timerFired(3); // Timer3 is idle outside automatic play: no new game
    EXPECT_EQ(s().MoveCount, 3);
    // Chosen while red's winning move is placed: they run once it has been scored.
    play({{3, 4}, {4, 3}, {4, 4}, {5, 3}, {5, 4}, {6, 3}, {0, 19}});
    std::vector<bool> overWhenRun;
    events.duringNextPass([&] { choose(Menu_Autodraw), game.runWhenSettled([&] { overWhenRun.push_back(s().GameOver); }); });
    clickCell(7, 3);
    EXPECT_TRUE(s().GameOver && s().MoveCount == 11 && globals.Score[1] == 1) << "red's five down column 3";
    EXPECT_EQ(overWhenRun, std::vector<bool>{true});
    // An undo chosen meanwhile takes the new move back and may be rejected.
    choose(Menu_New), play({{0, 0}, {1, 1}});
    events.duringNextPass([this] { choose(Menu_Undo); }), clickCell(2, 2);
    EXPECT_TRUE(s().MoveCount == 2 && game.Board(2, 2) == Empty && enabled(Menu_RejectUndo));
    // A Reject undo chosen while a new move is placed finds nothing to put back.
    events.duringNextPass([this] { choose(Menu_RejectUndo); }), clickCell(3, 3);
    EXPECT_TRUE(s().MoveCount == 3 && game.Board(2, 2) == Empty && !enabled(Menu_RejectUndo));
    events.duringNextPass([this] { tick(); }), choose(Menu_New);
    EXPECT_EQ(game.ui.txtTime.Caption, "") << "the old game's second does not count in the new one";
}

TEST_F(Rules, NewGameSweepsAMagentaBarOverTheBoardAndLeavesItBlankWithUndoOff)
{
    play({{0, 0}, {0, 1}, {1, 0}});
    choose(Menu_Undo), canvas.ops.clear(); // both undo items enabled now
    std::string duringWipe;
    events.duringNextPass([&] { duringWipe = shown() + (game.ui.txtTime.Visible ? " time" : ""); });
    choose(Menu_New);
    EXPECT_EQ(duringWipe, "  |  | Undo RejectUndo disabled clock") << "the status row hidden";
    const auto painted = [f = canvas.fills()](Colour c) { return std::count_if(f.begin(), f.end(), [c](const CanvasOp& op) { return op.colour == c; }); };
    EXPECT_EQ(std::pair(painted(Magenta), painted(BackColour)), std::pair(19 * 20l, 20 * 20l)) << "a bar across columns 1 to 19, then blank";
    EXPECT_EQ(shown(), "Red's turn. Moves: 0 | Red: 0 - Blue: 0, Draw: 0 | clock");
    EXPECT_TRUE(game.ui.txtTime.Visible && canvas.persistent && enabled(Menu_New) && enabled(Menu_Autodraw) && !enabled(Menu_Send));
}

TEST_F(Rules, AutomaticPlayRunsGameAfterGameASecondApartWithOnlyStopShownUntilStopInThePauseOrMidGame)
{
    bool onlyStop = true, timerQuiet = true;
    events.duringPassesUntil([&] { return onlyStop &= shown().ends_with("only Stop"), timerQuiet &= s().GameOver || !nextGameArmed(), false; });
    choose(Menu_ComputerComputer);
    EXPECT_FALSE(choose(Menu_HumanHuman)) << "the items of hidden menus, shortcuts included, do nothing";
    for (int games = 1; games <= 3; games < 3 ? game.timerFired(3) : void(), ++games)
        EXPECT_TRUE(s().GameOver && s().MoveCount >= 9 && globals.Score[1] + globals.Score[2] + globals.Score[3] == games &&
                    shown().ends_with("| next game only Stop")) << "a second apart";
    EXPECT_TRUE(onlyStop && timerQuiet);
    choose(Menu_Stop);
    EXPECT_TRUE(game.ui.Timer3.Interval == 0 && shown().ends_with(" |") && canvas.persistent) << "the menus back, no next game";
}

TEST_F(Rules, StopChosenInTheWipeOrInTheDrawingMovesPassEndsTheRunBeforeAnotherMove)
{
    choose(Menu_ComputerComputer);
    events.duringNextPass([this] { EXPECT_TRUE(choose(Menu_Stop)) << "taken while the window is disabled"; });
    game.timerFired(3); // the next game's wipe
    EXPECT_TRUE(s().MoveCount == 0 && s().Stopped && shown().ends_with(" |"));
    choose(Menu_New);
    const int draws = globals.Score[3];
    events.duringPassesUntil([this] { return s().MoveCount == 1 && !s().GameOver && (closeEveryWindow(), true); });
    game.timerFired(3);
    EXPECT_TRUE(s().GameOver && globals.Score[3] == draws + 1 && nextGameArmed()) << "a draw, and the next game a second later";
    events.duringPassesUntil([this] { // the move being placed leaves no five possible
        return s().MoveCount == 1 && !s().GameOver && (closeEveryWindow(), choose(Menu_Stop));
    });
    game.timerFired(3);
    EXPECT_TRUE(s().GameOver && s().MoveCount == 1 && globals.Score[3] == draws + 2 && s().Stopped && !nextGameArmed());
}

TEST_F(Rules, MusicOpensPlaysRestartsWhenEndedAndClosesAndTheWindowClosingStopsEverything)
{
    game.enable(Menu_Music, true), sound.calls.clear();
    choose(Menu_Music), game.timerFired(2); // still playing
    sound.stopped = true, game.timerFired(2), choose(Menu_Music), game.timerFired(2); // ended, then off: no restart
    EXPECT_EQ(sound.calls, (Strings{"open Brin.mid", "play", "play from start", "close"}));
    EXPECT_EQ(events.intros, 1) << "the first activation alone shows the intro";

    events.duringNextPass([this] { choose(Menu_New), game.windDown(); }), clickCell(0, 0); // New and Exit while the move is placed
    EXPECT_TRUE(game.Board(0, 0) == MarkX && game.ui.lblPlacer.Caption == "'s turn.") << "no new game, no next turn";
    game.runWhenSettled([] { ADD_FAILURE() << "a message after the end"; });
    choose(Menu_ComputerComputer);
    sound.calls.clear(), game.Form_Unload(); // closes the music whether it plays or not
    EXPECT_EQ(sound.calls, Strings{"close"});
    EXPECT_TRUE(!game.ui.Timer1.Enabled && !game.ui.Timer2.Enabled && !game.ui.Timer3.Enabled && !choose(Menu_New));
}

} // namespace
} // namespace brindle::testing
