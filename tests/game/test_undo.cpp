// Taking moves back, putting them back, and the list of moves.

#include <array>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

struct Moves : GameFixture {
    void Play(std::initializer_list<std::pair<int, int>> cells)
    {
        for (const auto& [r, c] : cells)
            ClickCell(r, c);
    }
    bool Enabled(MenuId item) const { return game.ui.Menu[item].Enabled; }
};

// ---- Human vs. Human: one move at a time

struct UndoOneMove : ::testing::Test, Moves {
    void SetUp() override
    {
        StartHumanHuman();
        game.Check(Menu_Details, true);
    }
};

TEST_F(UndoOneMove, TakesBackTheLastMoveAndRejectUndoPutsItBack)
{
    Play({{5, 5}, {5, 6}, {6, 5}});
    canvas.ops.clear();
    game.Menu_Undo_Click();
    EXPECT_EQ(game.Board(6, 5), Empty);
    EXPECT_EQ(game.NextMark, MarkX); // red, who made the move, is to move again
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Red);
    EXPECT_EQ(game.ui.lblTraek.Caption, "Moves: 2");
    EXPECT_EQ(game.ui.txtMoves.Caption, "2: (6,7)   \r\n1: (6,6)   \r\n");
    EXPECT_EQ(game.ui.imgUp.Left, 1607.5); // the arrows point at move 2
    EXPECT_TRUE(Enabled(Menu_Undo));
    EXPECT_TRUE(Enabled(Menu_RejectUndo));
    EXPECT_TRUE(game.ui.Enabled);
    // The board is drawn afresh: grid first, then the two pieces left.
    EXPECT_EQ(canvas.ops.front().kind, CanvasOp::Cls);
    EXPECT_EQ(canvas.Fills().size(), 2u);

    game.Menu_RejectUndo_Click();
    EXPECT_EQ(game.Board(6, 5), MarkX);
    EXPECT_EQ(game.NextMark, MarkO);
    EXPECT_EQ(game.ui.txtMoves.Caption, "3: (7,6)   \r\n2: (6,7)   \r\n1: (6,6)   \r\n");
    EXPECT_FALSE(Enabled(Menu_RejectUndo));
}

TEST_F(UndoOneMove, UndoingTheFirstMoveEmptiesTheBoardAndDisablesUndo)
{
    Play({{5, 5}});
    game.Menu_Undo_Click();
    EXPECT_EQ(game.Board(5, 5), Empty);
    EXPECT_FALSE(Enabled(Menu_Undo));
    EXPECT_EQ(game.ui.txtMoves.Caption, "");
    EXPECT_EQ(game.ui.imgLeft.Left, Parked);
}

TEST_F(UndoOneMove, NewMoveAfterUndoLeavesNothingToPutBack)
{
    Play({{5, 5}, {5, 6}, {6, 5}});
    game.Menu_Undo_Click();
    Play({{12, 12}});
    EXPECT_FALSE(Enabled(Menu_RejectUndo));
    game.Menu_RejectUndo_Click(); // even if asked, nothing past the highest move is replayed
    EXPECT_EQ(game.MoveCount, 3);
    EXPECT_EQ(game.Board(6, 5), Empty);
}

TEST_F(UndoOneMove, RejectUndoStopsAtACellTakenSinceAndNeverOverwritesIt)
{
    Play({{5, 5}, {5, 6}, {6, 6}, {7, 7}});
    game.Menu_Undo_Click();
    game.Menu_Undo_Click();
    Play({{7, 7}}); // red takes the cell of blue's abandoned move 4
    game.Menu_Undo_Click();
    game.Menu_RejectUndo_Click(); // move 3 comes back
    EXPECT_TRUE(Enabled(Menu_RejectUndo));

    game.Menu_RejectUndo_Click(); // move 4 points at (7, 7), now red's
    EXPECT_EQ(game.Board(7, 7), MarkX);
    EXPECT_EQ(game.MoveCount, 3);
    EXPECT_FALSE(Enabled(Menu_RejectUndo));
}

TEST_F(UndoOneMove, ReplayedWinEndsTheGameAndTheReplay)
{
    Play({{10, 3}, {0, 0}, {10, 4}, {0, 2}, {10, 5}, {0, 4}, {10, 6}, {0, 6}, {19, 19}, {0, 8}});
    game.Menu_Undo_Click();
    game.Menu_Undo_Click();
    Play({{10, 7}}); // red wins at move 9; blue's old move 10 stays on record
    game.Menu_Undo_Click();
    EXPECT_FALSE(game.GameOver);
    EXPECT_EQ(globals.Score[1], 1); // a win taken back stays counted

    game.Menu_RejectUndo_Click();
    EXPECT_TRUE(game.GameOver);
    EXPECT_EQ(globals.Score[1], 2);
    EXPECT_FALSE(Enabled(Menu_RejectUndo));
    game.Menu_RejectUndo_Click();
    EXPECT_EQ(game.Board(0, 8), Empty);
}

// ---- Human vs. Computer: the computer's reply goes too

struct UndoAgainstComputer : ::testing::Test, Moves {
    // Sets out moves of both sides without the computer answering them.
    void SetOut(std::initializer_list<std::pair<int, int>> cells)
    {
        game.Replaying = true;
        for (const auto& [r, c] : cells)
            game.PlacePiece(r, c, 0);
        game.Replaying = false;
    }
};

TEST_F(UndoAgainstComputer, TakesBackTheReplyTooAndRejectUndoReplaysBoth)
{
    StartUp('H');
    game.Check(Menu_Details, true);
    ClickCell(9, 9);
    const auto reply = game.History[2];

    game.Menu_Undo_Click();
    EXPECT_EQ(game.MoveCount, 0); // and the computer waits for the human
    EXPECT_EQ(game.Board(reply[1], reply[2]), Empty);
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Red);
    EXPECT_FALSE(Enabled(Menu_Undo));

    game.Menu_RejectUndo_Click();
    EXPECT_EQ(game.MoveCount, 2); // the computer does not answer a replay
    EXPECT_EQ(game.Board(9, 9), MarkX);
    EXPECT_EQ(game.Board(reply[1], reply[2]), MarkO);
    EXPECT_FALSE(Enabled(Menu_RejectUndo));
    EXPECT_EQ(game.ui.txtMoves.Caption, "2: (" + std::to_string(reply[1] + 1) + "," + std::to_string(reply[2] + 1) +
                                            ")   " + std::to_string(reply[3]) + "\r\n1: (10,10)   \r\n");
}

TEST_F(UndoAgainstComputer, ComputersOpeningCannotBeTakenBack)
{
    StartUp('C');
    const auto opening = game.History[1];
    game.Menu_Undo_Click();
    EXPECT_EQ(game.MoveCount, 1);
    EXPECT_FALSE(Enabled(Menu_Undo));

    ClickCell(0, 0);
    game.Menu_Undo_Click();
    EXPECT_EQ(game.MoveCount, 1);
    EXPECT_EQ(game.Board(0, 0), Empty);
    EXPECT_EQ(game.Board(opening[1], opening[2]), MarkX);
    EXPECT_EQ(game.ui.lblHvisTur.BackColor, Blue);
}

TEST_F(UndoAgainstComputer, AfterTheHumansWinTheComputerMovesAgainAtOnce)
{
    StartUp('H');
    SetOut({{10, 3}, {0, 0}, {10, 4}, {0, 2}, {10, 5}, {0, 4}, {10, 6}, {0, 6}});
    ClickCell(10, 7);
    ASSERT_TRUE(game.GameOver);

    game.Menu_Undo_Click();
    EXPECT_FALSE(game.GameOver);
    EXPECT_EQ(game.MoveCount, 8);
    EXPECT_EQ(game.Board(game.History[8][1], game.History[8][2]), MarkO);
    EXPECT_NE(game.Board(10, 7), MarkX);
    EXPECT_EQ(globals.Score[1], 1);
}

TEST_F(UndoAgainstComputer, NeverReachesBeforeTheFirstMove)
{
    StartUp('H');
    SetOut({{0, 1}});
    game.SetBoard(0, 0, MarkO); // would go with a take-back through the unused entry 0
    game.Menu_Undo_Click();
    EXPECT_GE(game.MoveCount, 0);
    EXPECT_EQ(game.Board(0, 1), Empty);
    EXPECT_EQ(game.Board(0, 0), MarkO);
}

TEST(MoveList, NewestFirstWithTheComputersScoreAndTheSameWhenGrownOrRebuilt)
{
    GameFixture f;
    f.StartHumanHuman();
    f.ClickCell(9, 9);
    f.game.PlacePiece(9, 10, 250); // as the computer plays its cell
    EXPECT_EQ(f.game.ui.txtMoves.Caption, ""); // kept only while the details show
    f.game.Check(Menu_Details, true);
    f.game.ShowMoveList(1);
    EXPECT_EQ(f.game.ui.txtMoves.Caption, "2: (10,11)   250\r\n1: (10,10)   \r\n");

    for (int k = 2; k < 12; ++k)
        f.ClickCell(k % 2 ? 19 : 0, k);
    const std::string grown = f.game.ui.txtMoves.Caption;
    EXPECT_EQ(grown.substr(0, 16), "12: (20,12)   \r\n");
    f.game.ShowMoveList(2); // nothing new to add
    f.game.ShowMoveList(1);
    EXPECT_EQ(f.game.ui.txtMoves.Caption, grown);
}

} // namespace
} // namespace brindle::testing
