// The game's rules and control: clicks, five in a line, the draw, the winner's
// sound and the score, undo and the move list, the one way in and what waits
// while a move is placed, the new-game wipe, the coin toss, automatic play,
// Autodraw, start-up and the ends of the program.

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

using Strings = std::vector<std::string>;

// Checks one mode, as a network part or an earlier choice would leave it.
void setMode(GameFixture& f, MenuId mode)
{
    for (MenuId m : {Menu_HumanHuman, Menu_HumanComputer, Menu_ComputerComputer, Menu_Network})
        f.game.check(m, m == mode);
}

struct Rules : ::testing::Test, GameFixture {
    void SetUp() override { startHumanHuman(); }

    // How many of the four top menus show, and whether Stop shows.
    std::pair<int, bool> menuBar() const
    {
        int shown = 0;
        for (MenuId top : TopMenus)
            shown += game.ui.Menu[top].Visible ? 1 : 0;
        return {shown, game.ui.Menu[Menu_Stop].Visible};
    }
    int gamesCounted() const { return globals.Score[1] + globals.Score[2] + globals.Score[3]; }
    bool timer3Armed() const { return game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 1000; }
};

TEST(ClickMapping, PlacesOnTheCellUnderThePointerAndBeepsOnGridLinesAndOutsideTheBoard)
{
    // {x, y, row, col} in 225-twip cells; row -1: refused with a beep.
    for (const auto& [x, y, row, col] : {std::tuple(450.f, 300.f, -1, -1), {451.f, 300.f, 0, 1}, {300.f, 675.f, -1, -1},
                                         {225.f, 300.f, -1, -1}, {100.f, 300.f, -1, -1}, {300.f, 100.f, -1, -1},
                                         {4724.f, 300.f, 0, 19}, {4725.f, 300.f, -1, -1}, {4726.f, 300.f, -1, -1},
                                         {300.f, 4724.f, 19, 0}, {300.f, 4800.f, -1, -1}, {1e9f, -1e9f, -1, -1}}) {
        GameFixture f;
        f.startHumanHuman();
        f.game.Form_MouseDown(x, y);
        EXPECT_EQ(f.sound.beeps(), row < 0 ? 1 : 0) << x << "," << y;
        EXPECT_TRUE(row < 0 ? f.s().MoveCount == 0 : f.game.Board(row, col) == MarkX) << x << "," << y;
    }
}

TEST_F(Rules, AClickBeepsOnAnOccupiedCellOrALineOfEitherAxisAndIsIgnoredOnceTheGameIsOverOrPlaysItself)
{
    play({{3, 4}, {3, 4}});
    game.CellWidth = 300; // each axis maps by its own cell side
    game.Form_MouseDown(600, 500);
    game.Form_MouseDown(601, 500);
    EXPECT_TRUE(sound.beeps() == 2 && game.Board(1, 1) == MarkO && game.ui.lblHvisTur.BackColor == Red);
    game.ui.Enabled = false; // a disabled window takes no click and no command
    clickCell(5, 5);
    EXPECT_FALSE(choose(Menu_Details));
    game.ui.Enabled = true;
    game.DoWinner(" ");
    clickCell(5, 5);
    poke().GameOver = false;
    game.check(Menu_ComputerComputer, true);
    clickCell(5, 5);
    EXPECT_EQ(sound.beeps() + s().MoveCount, 2 + 2);
    EXPECT_FALSE(choose(Menu_RejectUndo) || choose(Menu_Stop)) << "greyed or hidden items do nothing";
}

TEST_F(Rules, ANetworkMoveIsSentAfterItIsPlacedAndTheHostThenWaitsForThePeer)
{
    setMode(*this, Menu_Network);
    globals.NetRole = "HOST";
    clickCell(3, 15);
    EXPECT_EQ(peer.sent, Strings{"move 3 15"});
    EXPECT_EQ(game.ui.MousePointer, PointerHourglass);
    clickCell(5, 5); // the peer is to move
    game.ui.MousePointer = PointerDefault;
    globals.NetPending = true;
    clickCell(5, 5); // nobody is on the line
    globals.NetPending = false;
    game.ui.Menu[Menu_Stop].Visible = true;
    clickCell(5, 5); // the host still waits for a joiner
    EXPECT_TRUE(sound.beeps() == 3 && s().MoveCount == 1 && peer.sent.size() == 1);
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
        clickCell(19, 10); // red's move, away from every line
    for (const Segment& seg : p.pieces)
        for (int k = 0; k < seg.n; ++k)
            game.setBoard(seg.row + k * seg.dr, seg.col + k * seg.dc, seg.mark);
    canvas.ops.clear();
    clickCell(p.row, p.col);
    EXPECT_EQ(globals.Score[p.mover == MarkX ? 1 : 2], p.five.n / 5);
    EXPECT_EQ(game.ui.lblPlacer.Caption, p.five.n ? "'s a winner!!!" : "'s turn.");
    EXPECT_EQ(canvas.fills().size(), 1u + p.five.n) << "the piece, then a hole in each piece of the five";
    for (int k = 0; k < p.five.n; ++k)
        EXPECT_EQ((std::array{s().WinCells[size_t(k)][1], s().WinCells[size_t(k)][2]}),
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
        setMode(f, mode);
        f.poke().Starter = starter;
        f.globals.NetRole = role;
        f.game.ui.lblHvisTur.BackColor = winner;
        f.game.DoWinner(" ");
        EXPECT_EQ(f.sound.waves(), *file ? Strings{file} : Strings{}) << mode << starter;
        EXPECT_EQ(f.game.ui.lblComp.Caption, winner == Red ? "Red: 1 - Blue: 0\r\nDraw: 0" : "Red: 0 - Blue: 1\r\nDraw: 0");
        EXPECT_TRUE(f.s().GameOver && !f.game.ui.Timer1.Enabled && f.canvas.persistent);
    }
}

TEST(TimeWin, TheHostsClockNamesTheWinnerAndTellsThePeerAndThePeersWordZeroesTheLosersClock)
{
    // What the square shows before, then after; the time box; what is sent.
    for (const auto& [winColor, network, before, after, time, sent] :
         {std::tuple("R", true, Blue, Red, "Red 00:00:30 - Blue 00:00:00", ""),
          {"B", true, Red, Blue, "Red 00:00:00 - Blue 00:00:30", ""},
          {"TimeWinnerR", true, Blue, Red, "", "time winner R"},
          {"TimeWinnerB", true, Red, Blue, "", "time winner B"},
          {"TimeWinnerB", false, Red, Red, "", ""}, // only a network game has a time win
          {"?", true, Blue, Blue, "", ""}}) {
        GameFixture f;
        f.globals.TimeLimitOn = true;
        f.globals.TimeLimitSec = 30;
        f.game.Form_Load();
        setMode(f, network ? Menu_Network : Menu_HumanHuman);
        f.game.ui.lblHvisTur.BackColor = before;
        f.game.DoWinner(winColor);
        EXPECT_EQ(f.game.ui.lblHvisTur.BackColor, after) << winColor;
        EXPECT_EQ(f.globals.Score[after == Red ? 1 : 2], 1) << winColor;
        EXPECT_EQ(f.game.ui.txtTime.Caption, time) << winColor;
        EXPECT_EQ(f.peer.sent, *sent ? Strings{sent} : Strings{}) << winColor;
    }
}

// ---- The draw

TEST_F(Rules, ClosingTheLastOpenWindowDrawsAtOnceAndUndoReopensThePlay)
{
    closeEveryWindow();
    for (int r = 15; r < 20; ++r)
        game.setBoard(r, 0, r < 18 ? MarkX : Empty);
    clickCell(18, 0);
    canvas.persistent = false;
    clickCell(19, 0); // blue closes the last windows red had
    EXPECT_TRUE(canvas.persistent) << "the final board survives repaints";
    EXPECT_EQ(game.ui.lblPlacer.Caption, "It's a draw");
    EXPECT_TRUE(s().GameOver && !game.ui.lblHvisTur.Visible && !game.ui.Timer1.Enabled);
    EXPECT_EQ((std::array{game.ui.lblDraw.Top, game.ui.lblDraw.Left}), (std::array{1372.5, 525.0}));
    EXPECT_EQ(sound.waves().back(), "Draw.wav");
    choose(Menu_Undo);
    EXPECT_TRUE(!s().GameOver && game.ui.lblHvisTur.Visible && s().NextMark == MarkO && game.ui.Timer1.Enabled);
    EXPECT_EQ((std::array{game.ui.lblDraw.Top, game.ui.lblDraw.Left}), (std::array{Parked, Parked}));
    EXPECT_EQ(game.ui.lblComp.Caption, "Red: 0 - Blue: 0\r\nDraw: 1");
}

TEST_F(Rules, OnlyTheFullBoardCountsAsADrawInAutomaticPlayAtTheRandomLevelAndItDrawsBeforeAWin)
{
    for (const auto& [mode, stupid, drawn] : {std::tuple(Menu_ComputerComputer, true, false),
                                              {Menu_HumanHuman, true, true}, {Menu_ComputerComputer, false, true}}) {
        choose(Menu_HumanHuman);
        closeEveryWindow();
        game.setBoard(0, 19, Empty);
        choose(stupid ? Menu_Stupid : Menu_Hard);
        setMode(*this, mode);
        game.PlacePiece(0, 19, 0);
        EXPECT_EQ(s().GameOver, drawn);
        // After an automatic draw the next game follows a second later.
        EXPECT_EQ(timer3Armed(), drawn && mode == Menu_ComputerComputer);
    }
    setMode(*this, Menu_HumanHuman);
    choose(Menu_New);
    closeEveryWindow();
    for (int c = 3; c <= 7; ++c)
        game.setBoard(10, c, c < 7 ? MarkX : Empty);
    poke().MoveCount = 399;
    clickCell(10, 7); // the 400th move, and five in a row
    EXPECT_EQ(globals.Score, (std::array<int32_t, 4>{0, 0, 0, 3}));
}

// ---- Undo and the move list

TEST_F(Rules, UndoBetweenHumansTakesBackOneMoveAtATimeAndRejectUndoPutsItBackUnlessItsCellWasTakenSince)
{
    game.check(Menu_Details, true);
    play({{5, 5}, {5, 6}, {6, 5}});
    game.PlacePiece(7, 7, 250); // as the computer plays its cell, with its score
    canvas.ops.clear();
    choose(Menu_Undo);
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Blue); // blue, who made the move, is to move again
    EXPECT_EQ(game.ui.lblTraek.Caption, "Moves: 3");
    EXPECT_EQ(game.ui.imgUp.Left, 1382.5); // the arrows point at move 3
    EXPECT_TRUE(enabled(Menu_Undo) && enabled(Menu_RejectUndo) && game.ui.Enabled);
    EXPECT_EQ(canvas.ops.size(), 1 + 42 + 3u) << "drawn afresh: cleared, the grid, the three pieces left";
    choose(Menu_RejectUndo);
    EXPECT_EQ(game.ui.txtMoves.Caption, "4: (8,8)   250\r\n3: (7,6)   \r\n2: (6,7)   \r\n1: (6,6)   \r\n");
    EXPECT_TRUE(game.Board(7, 7) == MarkO && !enabled(Menu_RejectUndo));
    choose(Menu_Undo);
    choose(Menu_Undo);
    EXPECT_EQ(game.ui.txtMoves.Caption, "2: (6,7)   \r\n1: (6,6)   \r\n");
    clickCell(7, 7); // red takes the cell of blue's move 4
    EXPECT_FALSE(enabled(Menu_RejectUndo));
    choose(Menu_Undo);
    choose(Menu_RejectUndo); // move 3 comes back
    EXPECT_TRUE(enabled(Menu_RejectUndo));
    choose(Menu_RejectUndo); // move 4 points at (7, 7), now red's
    EXPECT_TRUE(s().MoveCount == 3 && game.Board(7, 7) == MarkX && !enabled(Menu_RejectUndo));
    clickCell(12, 12);
    // Undo stays available down to the last move on the board.
    for (int k = 0; k < 4; ++k)
        choose(Menu_Undo);
    EXPECT_TRUE(s().MoveCount == 0 && !enabled(Menu_Undo) && game.ui.txtMoves.Caption.empty());
    EXPECT_EQ(game.ui.imgLeft.Left, Parked);
}

TEST_F(Rules, RejectUndoStopsAfterAReplayedWinWhoseLineARedrawMarksAgainOnItsOwnCellShape)
{
    play({{10, 3}, {0, 0}, {10, 4}, {0, 2}, {10, 5}, {0, 4}, {10, 6}, {0, 6}, {19, 19}, {0, 8}});
    choose(Menu_Undo);
    choose(Menu_Undo);
    clickCell(10, 7); // red wins at move 9; blue's old move 10 stays on record
    choose(Menu_Undo);
    choose(Menu_RejectUndo);
    choose(Menu_RejectUndo);
    EXPECT_TRUE(s().GameOver && game.Board(0, 8) == Empty && !enabled(Menu_RejectUndo));
    EXPECT_EQ(globals.Score[1], 2); // the win taken back stays counted
    canvas.ops.clear();
    game.CellWidth = 300; // wider than high: each side of the hole follows its own axis
    game.RedrawPieces();
    const auto fills = canvas.fills(); // nine pieces, then the holes of (10, 3) to (10, 7)
    ASSERT_EQ(fills.size(), 14u);
    EXPECT_EQ((std::array{fills[9].x1, fills[9].y1, fills[13].x2, fills[13].y2}), (std::array{1400., 2625., 2500., 2550.}));
}

TEST(UndoAgainstComputer, TakesBackTheReplyTooButNeverTheOpeningAndRejectUndoReplaysBothUnanswered)
{
    GameFixture human;
    human.startUp('H');
    human.clickCell(0, 0);
    ASSERT_EQ(human.s().MoveCount, 2);
    EXPECT_TRUE(human.choose(Menu_Undo)) << "after the first exchange";
    EXPECT_TRUE(human.s().MoveCount == 0 && !human.enabled(Menu_Undo) && human.game.ui.lblHvisTur.BackColor == Red);

    GameFixture f;
    f.startUp('C');
    f.clickCell(0, 0);
    const auto opening = f.s().History[1], reply = f.s().History[3];
    f.choose(Menu_Undo);
    f.choose(Menu_Undo); // the opening cannot be taken back: the item only turns grey
    EXPECT_TRUE(f.s().MoveCount == 1 && f.game.Board(0, 0) == Empty && f.game.Board(reply[1], reply[2]) == Empty);
    EXPECT_TRUE(f.game.Board(opening[1], opening[2]) == MarkX && !f.enabled(Menu_Undo));
    EXPECT_EQ(f.game.ui.lblHvisTur.BackColor, Blue); // and the computer waits for the human
    f.choose(Menu_RejectUndo);
    EXPECT_TRUE(f.s().MoveCount == 3 && f.game.Board(reply[1], reply[2]) == MarkX && f.s().History[3] == reply);
}

TEST(UndoAgainstComputer, NeverGoesThroughTheUnusedHistoryEntryBeforeTheFirstMove)
{
    GameFixture f;
    f.startUp('H');
    f.poke().Starter = Empty; // nobody answers the human's move
    f.game.PlacePiece(0, 1, 0);
    f.game.setBoard(0, 0, MarkO); // the cell that entry 0 names
    f.game.enable(Menu_Undo, true);
    f.choose(Menu_Undo);
    EXPECT_TRUE(f.game.Board(0, 1) == Empty && f.game.Board(0, 0) == MarkO);
}

// ---- The one way in

TEST_F(Rules, DuringAMovesEventPassAClickIsDroppedAndCommandsAndMessagesWaitUntilTheMoveIsJudged)
{
    events.duringNextPass([this] { clickCell(5, 5); });
    clickCell(3, 3);
    EXPECT_TRUE(game.Board(5, 5) == Empty && sound.beeps() == 0);

    // Chosen while red's winning move is placed: they run once it has been scored.
    play({{3, 4}, {4, 3}, {4, 4}, {5, 3}, {5, 4}, {6, 3}, {0, 19}});
    std::vector<bool> overWhenRun;
    events.duringNextPass([&] {
        choose(Menu_Autodraw);
        game.runWhenSettled([&] { overWhenRun.push_back(s().GameOver); });
    });
    clickCell(7, 3);
    EXPECT_TRUE(s().GameOver && s().MoveCount == 9 && globals.Score[1] == 1) << "red's five down column 3";
    EXPECT_EQ(overWhenRun, std::vector<bool>{true});

    // An undo chosen meanwhile takes the new move back and may be rejected.
    choose(Menu_New);
    play({{0, 0}, {1, 1}});
    events.duringNextPass([this] { choose(Menu_Undo); });
    clickCell(2, 2);
    EXPECT_TRUE(s().MoveCount == 2 && game.Board(2, 2) == Empty && enabled(Menu_RejectUndo));
    // A Reject undo chosen while a new move is placed finds nothing to put back.
    events.duringNextPass([this] { choose(Menu_RejectUndo); });
    clickCell(3, 3);
    EXPECT_TRUE(s().MoveCount == 3 && game.Board(2, 2) == Empty && !enabled(Menu_RejectUndo));

    // A whole automatic game runs after the move; the move then leaves it be.
    events.duringNextPass([this] { choose(Menu_ComputerComputer); });
    clickCell(5, 5);
    EXPECT_TRUE(gamesCounted() == 2 && s().GameOver && timer3Armed());
}

TEST_F(Rules, ATickWaitsLikeACommandAndIsDroppedWhenItsTimerStoppedOrItsGameEndedMeanwhile)
{
    clickCell(0, 0);
    game.timerFired(3); // Timer3 is idle outside automatic play: no new game
    EXPECT_EQ(s().MoveCount, 1);
    events.duringNextPass([this] { tick(); });
    clickCell(1, 1);
    EXPECT_EQ(game.ui.txtTime.Caption, "00:00:01") << "counted once the move was judged";
    game.ui.Timer4 = {true, 1000};
    events.duringNextPass([this] {
        game.timerFired(4);
        EXPECT_FALSE(game.ui.Timer4.Enabled) << "Timer4 ends a wait at once";
    });
    clickCell(2, 2);
    events.duringNextPass([this] { tick(); });
    choose(Menu_New);
    EXPECT_EQ(game.ui.txtTime.Caption, "") << "the old game's second does not count in the new one";
}

// ---- Starting games and automatic play

struct Control : Rules {};

TEST_F(Control, NewGameSweepsAMagentaBarOverTheBoardAndLeavesItBlankWithUndoOff)
{
    play({{0, 0}, {0, 1}, {1, 0}});
    choose(Menu_Undo); // both undo items enabled now
    canvas.ops.clear();
    choose(Menu_New);
    int magenta = 0, erased = 0;
    for (const CanvasOp& op : canvas.fills()) {
        magenta += op.colour == Magenta;
        erased += op.colour == BackColour;
    }
    EXPECT_EQ(std::pair(magenta, erased), std::pair(19 * 20, 20 * 20)) << "a bar across columns 1 to 19, then blank";
    for (int i = 0; i < CellCount; ++i)
        ASSERT_EQ(game.Board(i / BoardSize, i % BoardSize), Empty);
    EXPECT_TRUE(game.ui.Enabled && canvas.persistent && enabled(Menu_New) && enabled(Menu_Autodraw));
    for (const brindle::Control* c : {&game.ui.lblHvisTur, &game.ui.lblPlacer, &game.ui.txtTime, &game.ui.lblTraek, &game.ui.lblComp})
        EXPECT_TRUE(c->Visible) << "shown again after the wipe";
    EXPECT_FALSE(enabled(Menu_Undo) || enabled(Menu_RejectUndo) || enabled(Menu_Send));
    EXPECT_EQ(menuBar(), std::pair(4, false));
}

TEST(StartUp, TheFirstInitialisationDrawsOnlyTheWeightsAndTheFirstActivationTheStarterOnce)
{
    GameFixture f;
    f.game.Form_Load();
    EXPECT_EQ(f.random.log, "RrrRrr") << "own weights, then the opponent's";
    EXPECT_EQ(std::tuple(f.game.clock().GameSeconds, f.game.clock().RedTime, f.game.clock().BlueTime), std::tuple(0, 0, 0));
    EXPECT_TRUE(f.sound.calls.empty() && f.s().Starter == Empty && f.game.ui.Caption == "Brindle.");
    f.random.push({0.25f});
    f.game.Form_Activate();
    f.game.Form_Activate();
    EXPECT_EQ(f.random.log, "RrrRrrRr");
    EXPECT_TRUE(f.events.intros == 1 && f.sound.waves() == Strings{"YouStart.wav"} && f.game.ui.Timer1.Enabled);

    f.globals.Score = {0, 4, 5, 6}; // a new window starts its score from nothing
    Game second(f.globals, {f.canvas, f.events, f.sound, f.peer, f.random});
    EXPECT_EQ(f.globals.Score, (std::array<int32_t, 4>{0, 0, 0, 0}));
}

TEST_F(Control, EachNewGameTossesForTheOpenerAndAnnouncesItOnlyWithSoundOn)
{
    for (const auto& [rnd, sound_, starter, file] :
         {std::tuple(0.4999f, true, 'H', "YouStart.wav"), {0.5f, true, 'C', "CpuStart.wav"}, {0.25f, false, 'H', ""},
          {0.75f, false, 'C', ""}}) {
        if (game.checked(Menu_Sound) != sound_)
            choose(Menu_Sound);
        sound.calls.clear();
        random.log.clear();
        random.push({rnd});
        choose(Menu_HumanComputer);
        EXPECT_EQ(s().Starter, starter);
        EXPECT_EQ(sound.waves(), *file ? Strings{file} : Strings{});
        // The toss, the weights, and for the computer its opening and its pick.
        EXPECT_EQ(random.log, starter == 'C' ? "RrRrrRrrrrRr" : "RrRrrRrr");
        EXPECT_EQ(s().MoveCount, starter == 'C' ? 1 : 0) << "the computer opens at once, or waits for the human";
    }
}

TEST_F(Control, AutomaticPlayRunsGameAfterGameASecondApartWithOnlyStopShownUntilStopInThePauseOrMidGame)
{
    bool onlyStop = true, timerQuiet = true;
    events.duringPassesUntil([&] {
        onlyStop = onlyStop && menuBar() == std::pair(0, true);
        timerQuiet = timerQuiet && (s().GameOver || !timer3Armed());
        return false;
    });
    choose(Menu_ComputerComputer);
    EXPECT_FALSE(choose(Menu_HumanHuman)) << "the items of hidden menus, shortcuts included, do nothing";
    for (int games = 1; games <= 3; ++games) {
        EXPECT_TRUE(s().GameOver && s().MoveCount >= 9 && gamesCounted() == games);
        EXPECT_TRUE(timer3Armed()) << "the one-second pause";
        if (games < 3)
            game.timerFired(3);
    }
    EXPECT_TRUE(onlyStop && timerQuiet);
    choose(Menu_Stop);
    EXPECT_TRUE(!game.ui.Timer3.Enabled && game.ui.Timer3.Interval == 0 && menuBar() == std::pair(4, false));

    events.duringPassesUntil([this] { return s().MoveCount == 6 && choose(Menu_Stop); });
    choose(Menu_New);
    EXPECT_TRUE(s().MoveCount == 6 && s().GameOver && !game.ui.Timer1.Enabled && gamesCounted() == 3);
    EXPECT_TRUE(!game.ui.Timer3.Enabled && menuBar() == std::pair(4, false) && game.checked(Menu_ComputerComputer));
    canvas.ops.clear();
    choose(Menu_Autodraw); // the stopped game takes no further move
    game.RedrawPieces();   // and has no line of its own to mark
    EXPECT_EQ(canvas.ops.size(), 6u);
    choose(Menu_New);
    EXPECT_TRUE(timer3Armed() && gamesCounted() == 4 && menuBar() == std::pair(0, true));
}

TEST_F(Control, StopChosenInTheWipeOrInTheDrawingMovesPassEndsTheRunBeforeAnotherMove)
{
    choose(Menu_ComputerComputer);
    events.duringNextPass([this] { EXPECT_TRUE(choose(Menu_Stop)) << "taken while the window is disabled"; });
    game.timerFired(3); // the next game's wipe
    EXPECT_TRUE(s().MoveCount == 0 && s().Stopped && !timer3Armed() && menuBar() == std::pair(4, false));

    choose(Menu_New);
    const int draws = globals.Score[3];
    events.duringPassesUntil([this] {
        if (s().MoveCount != 1 || s().GameOver)
            return false;
        closeEveryWindow(); // the move being placed leaves no five possible
        return choose(Menu_Stop);
    });
    game.timerFired(3);
    EXPECT_TRUE(s().GameOver && s().MoveCount == 1 && globals.Score[3] == draws + 1);
    EXPECT_TRUE(s().Stopped && !timer3Armed()) << "no next game after the draw";
}

TEST_F(Control, EachModeStartsANewGameWithItsOwnCheckMarkAloneAndTheStatusRowHiddenInTheWipe)
{
    const MenuId modes[] = {Menu_HumanHuman, Menu_HumanComputer, Menu_ComputerComputer, Menu_Network};
    for (MenuId mode : {Menu_HumanHuman, Menu_HumanComputer, Menu_HumanHuman, Menu_ComputerComputer}) {
        choose(Menu_Stop);
        clickCell(0, 0);
        bool hiddenInWipe = false;
        events.duringNextPass(
            [&] { hiddenInWipe = !game.ui.lblPlacer.Visible && !game.ui.lblComp.Visible && !game.ui.Enabled; });
        choose(mode);
        EXPECT_TRUE(hiddenInWipe);
        int checkedModes = 0;
        for (MenuId m : modes)
            checkedModes += game.checked(m) ? 1 : 0;
        EXPECT_EQ(checkedModes, 1);
        EXPECT_TRUE(game.checked(mode));
        if (mode != Menu_ComputerComputer) {
            EXPECT_EQ(game.Board(0, 0), Empty) << "a new game was begun";
        }
    }
    // Stop in the fast automatic run, which draws straight to the screen,
    // keeps the drawing again.
    choose(Menu_Stop);
    choose(Menu_Stupid);
    bool direct = false;
    events.duringPassesUntil([&] {
        direct = direct || !canvas.persistent;
        return s().MoveCount == 3 && choose(Menu_Stop);
    });
    choose(Menu_ComputerComputer);
    EXPECT_TRUE(direct && s().Stopped && canvas.persistent);
}

TEST_F(Control, StopWhileTheHostWaitsForAPeerGivesUpTheWaitForAGameAgainstTheComputer)
{
    clickCell(0, 0);
    setMode(*this, Menu_Network);
    game.ui.Menu[Menu_Stop].Visible = true;
    game.ui.MousePointer = PointerHourglass;
    choose(Menu_Stop);
    EXPECT_TRUE(game.checked(Menu_HumanComputer) && !game.checked(Menu_Network));
    EXPECT_TRUE(game.ui.MousePointer == PointerDefault && menuBar() == std::pair(4, false));
    EXPECT_EQ(game.Board(0, 0), Empty) << "a new game was begun";
}

TEST_F(Control, AutodrawPlaysOneMoveForTheSideToMoveAndOnlyOneAtATime)
{
    events.duringNextPass([this] { choose(Menu_Autodraw); });
    choose(Menu_Autodraw);
    EXPECT_EQ(s().MoveCount, 1) << "the second, asked for while the computer thinks, is not taken";
    choose(Menu_Autodraw);
    clickCell(0, 0);
    EXPECT_TRUE(s().MoveCount == 3 && game.Board(0, 0) == MarkX) << "the human still moves for red";
}

// ---- Music and the end of the program

TEST_F(Control, MusicOpensPlaysRestartsWhenEndedAndClosesAndTheWindowClosingStopsEverything)
{
    game.enable(Menu_Music, true);
    sound.calls.clear();
    choose(Menu_Music);
    game.timerFired(2); // still playing
    sound.stopped = true;
    game.timerFired(2);
    choose(Menu_Music);
    game.timerFired(2); // off: no restart
    EXPECT_EQ(sound.calls, (Strings{"open Brin.mid", "play", "play from start", "close"}));

    choose(Menu_ComputerComputer);
    sound.calls.clear();
    game.Form_Unload(); // closes the music whether it plays or not
    game.windDown();
    EXPECT_EQ(sound.calls, Strings{"close"});
    EXPECT_TRUE(s().GameOver && !game.ui.Timer1.Enabled && !game.ui.Timer2.Enabled && !game.ui.Timer3.Enabled);
    EXPECT_FALSE(choose(Menu_New));
}

TEST_F(Control, AfterTheWindowClosesNoGameBeginsNothingThatWaitedRunsAndNoMoveIsJudged)
{
    events.duringNextPass([this] {
        choose(Menu_New); // chosen with Exit, both while the move was placed
        game.windDown();
    });
    clickCell(0, 0);
    EXPECT_EQ(game.Board(0, 0), MarkX) << "no new game";
    EXPECT_EQ(game.ui.lblPlacer.Caption, "'s turn.") << "the turn did not move on either";

    GameFixture f;
    f.startUp();
    f.choose(Menu_ComputerComputer);
    const int32_t moves = f.s().MoveCount;
    f.events.duringNextPass([&f] { f.game.windDown(); }); // closed in the wipe
    f.game.timerFired(3);
    EXPECT_TRUE(f.s().GameOver && f.s().MoveCount == moves);
    EXPECT_EQ(f.globals.Score[1] + f.globals.Score[2] + f.globals.Score[3], 1) << "one game, not two";
    f.game.runWhenSettled([] { ADD_FAILURE() << "a message after the end"; });
}

} // namespace
} // namespace brindle::testing
