// Play by keyboard and the board in words: the cell cursor, its frame, and
// what a screen reader is told.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

using Key = Game::BoardKey;

struct Keyboard : ::testing::Test, GameFixture {
    void SetUp() override { startHumanHuman(); }
    void keys(std::initializer_list<Key> pressed)
    {
        for (Key k : pressed)
            game.boardKey(k);
    }
    std::pair<int, int> cursor() const { return {game.ui.cursor.Row, game.ui.cursor.Col}; }
    // The fills since the last call that lie inside the cell's grid lines.
    std::vector<CanvasOp> fillsIn(int row, int col)
    {
        std::vector<CanvasOp> in;
        for (const CanvasOp& op : canvas.fills())
            if (op.x1 > game.CellWidth * (col + 1) && op.x2 < game.CellWidth * (col + 2) &&
                op.y1 > game.CellHeight * (row + 1) && op.y2 < game.CellHeight * (row + 2))
                in.push_back(op);
        return in;
    }
    static int count(const std::vector<CanvasOp>& ops, Colour colour)
    {
        return static_cast<int>(std::count_if(ops.begin(), ops.end(), [&](const CanvasOp& op) { return op.colour == colour; }));
    }
};

TEST_F(Keyboard, TheFirstKeyShowsTheCursorOnTheLastMoveThenArrowsMoveItHomeCentresItAndTheEdgesBeep)
{
    EXPECT_FALSE(game.ui.cursor.Shown) << "nothing changes for a player who uses the mouse";
    keys({Key::Right});
    EXPECT_TRUE(game.ui.cursor.Shown && cursor() == std::make_pair(9, 9)) << "the centre before the first move";
    keys({Key::Right, Key::Down, Key::Down});
    EXPECT_EQ(cursor(), std::make_pair(11, 10));

    play({{3, 17}});
    EXPECT_FALSE(game.ui.cursor.Shown) << "a click hides it";
    keys({Key::Play});
    EXPECT_TRUE(game.ui.cursor.Shown && cursor() == std::make_pair(3, 17) && s().MoveCount == 1)
        << "back on the last move, and that first key plays nothing";

    const struct {
        Key key;
        int times;
        std::pair<int, int> at;
        int beeps;
    } walks[] = {
        {Key::Up, 5, {0, 17}, 2},   {Key::Right, 4, {0, 19}, 2}, {Key::Down, 21, {19, 19}, 2},
        {Key::Left, 20, {19, 0}, 1}, {Key::Home, 1, {9, 9}, 0},
    };
    for (const auto& w : walks) {
        const int before = sound.beeps();
        for (int i = 0; i < w.times; ++i)
            game.boardKey(w.key);
        EXPECT_EQ(cursor(), w.at) << "key " << static_cast<int>(w.key);
        EXPECT_EQ(sound.beeps() - before, w.beeps) << "each push past the edge beeps";
    }
}

TEST_F(Keyboard, PlayIsAClickOnTheCursorsCellWithTheSameRefusals)
{
    keys({Key::Home, Key::Play});
    EXPECT_EQ(game.Board(9, 9), MarkX);
    EXPECT_TRUE(game.ui.cursor.Shown) << "playing by key keeps the cursor";
    keys({Key::Play});
    EXPECT_TRUE(sound.beeps() == 1 && s().MoveCount == 1) << "an occupied cell beeps as a click does";
    keys({Key::Right, Key::Play});
    EXPECT_EQ(game.Board(9, 10), MarkO);

    const struct {
        const char* when;
        std::function<void()> set, undo;
        int beeps;
    } refusals[] = {
        {"disabled", [&] { game.ui.Enabled = false; }, [&] { game.ui.Enabled = true; }, 0},
        {"over", [&] { poke().GameOver = true; }, [&] { poke().GameOver = false; }, 0},
        {"playing itself", [&] { game.check(Menu_ComputerComputer, true); }, [&] { game.check(Menu_ComputerComputer, false); }, 0},
        {"replaying", [&] { poke().Replaying = true; }, [&] { poke().Replaying = false; }, 0},
        {"network, waiting",
         [&] { game.check(Menu_Network, true), game.ui.Menu[Menu_Stop].Visible = true; },
         [&] { game.check(Menu_Network, false), game.ui.Menu[Menu_Stop].Visible = false; }, 1},
    };
    for (const auto& r : refusals) {
        const int beeps = sound.beeps();
        r.set();
        keys({Key::Down, Key::Play});
        r.undo();
        EXPECT_EQ(s().MoveCount, 2) << r.when;
        EXPECT_EQ(sound.beeps() - beeps, r.beeps) << r.when;
    }
    EXPECT_EQ(cursor(), std::make_pair(12, 10)) << "the cursor moves wherever the board only takes no move";
    keys({Key::Play});
    EXPECT_EQ(game.Board(12, 10), MarkX);
}

TEST_F(Keyboard, DuringTheIntroAKeyEndsItAndBeforeTheWindowShowsNothingHappens)
{
    GameFixture fresh;
    fresh.game.Form_Load();
    fresh.game.boardKey(Key::Play);
    EXPECT_TRUE(fresh.s().IntroSkip && !fresh.game.ui.cursor.Shown);
}

TEST_F(Keyboard, TheFrameIsDrawnInsideTheCellAndTheCellIsDrawnAgainWhenItMovesOrAClickHidesIt)
{
    play({{4, 4}});
    canvas.ops.clear();
    keys({Key::Right});
    const auto frame = fillsIn(4, 4);
    EXPECT_TRUE(count(frame, White) == 4 && count(frame, Black) == 4) << "a white ring and a black one";
    EXPECT_EQ(count(frame, BackColour), 0);

    canvas.ops.clear();
    keys({Key::Right});
    const auto left = fillsIn(4, 4);
    EXPECT_TRUE(count(left, BackColour) == 1 && count(left, Red) == 1 && count(left, White) == 0)
        << "the old cell is wiped and its piece drawn again";
    EXPECT_EQ(count(fillsIn(4, 5), White), 4);

    canvas.ops.clear();
    clickCell(7, 7);
    EXPECT_TRUE(count(fillsIn(4, 5), BackColour) == 1 && count(fillsIn(4, 5), White) == 0);

    // A redraw of the whole board (a new size, a new piece size) draws the frame again.
    keys({Key::Left});
    canvas.ops.clear();
    game.DrawGrid(), game.RedrawPieces();
    EXPECT_EQ(count(fillsIn(7, 7), White), 4) << "back on the last move, (7, 7)";
    canvas.ops.clear();
    keys({Key::Play});
    EXPECT_EQ(count(fillsIn(7, 7), White), 0) << "an occupied cell: nothing drawn, a beep";
}

TEST_F(Keyboard, AWonCellKeepsItsMarkWhenTheCursorLeavesIt)
{
    play({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}});
    ASSERT_TRUE(s().GameOver && s().wonByLine);
    keys({Key::Home, Key::Up, Key::Up, Key::Up, Key::Up, Key::Up, Key::Up, Key::Up, Key::Up, Key::Up});
    ASSERT_EQ(cursor(), std::make_pair(0, 9));
    for (int i = 0; i < 5; ++i)
        keys({Key::Left});
    canvas.ops.clear();
    keys({Key::Left});
    EXPECT_EQ(count(fillsIn(0, 4), BackColour), 2) << "the cell wiped, then its centre punched out as the five's mark";
}

TEST_F(Keyboard, CellsTheTurnSquareEveryMoveAndTheEndAreSaidInWords)
{
    EXPECT_EQ(game.cellName(9, 10), "row 10, column 11, empty");
    EXPECT_EQ(game.turnName(), "Red to move");
    play({{9, 10}});
    EXPECT_EQ(game.ui.spoken, "Red plays row 10, column 11");
    EXPECT_EQ(game.cellName(9, 10), "row 10, column 11, red");
    EXPECT_EQ(game.turnName(), "Blue to move");
    play({{2, 11}});
    EXPECT_TRUE(game.ui.spoken == "Blue plays row 3, column 12" && game.cellName(2, 11) == "row 3, column 12, blue");
    const uint32_t said = game.ui.spokenCount;
    play({{2, 11}});
    EXPECT_EQ(game.ui.spokenCount, said) << "a refused click says nothing";

    play({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}});
    EXPECT_TRUE(game.ui.spoken == "Red wins" && game.turnName() == "Red wins");

    choose(Menu_Undo), play({{12, 12}});
    game.check(Menu_Network, true);
    game.DoWinner("B");
    EXPECT_TRUE(game.ui.spoken == "Blue wins on time" && game.turnName() == "Blue wins");
}

TEST_F(Keyboard, ADrawAndTheComputersMoveAreSaidToo)
{
    closeEveryWindow();
    for (int r = 15; r < 20; ++r)
        game.setBoard(r, 0, r < 18 ? MarkX : Empty);
    play({{18, 0}, {19, 0}});
    EXPECT_TRUE(game.ui.spoken == "Draw" && game.turnName() == "Draw");

    GameFixture against;
    against.startUp('C'); // the computer opens and plays red
    against.game.boardKey(Key::Home), against.game.boardKey(Key::Down), against.game.boardKey(Key::Play);
    ASSERT_EQ(against.s().MoveCount, 3) << "the opening, the key's move and the reply";
    const auto& reply = against.s().History[3];
    EXPECT_EQ(against.game.ui.spoken,
              "Red plays row " + std::to_string(reply[1] + 1) + ", column " + std::to_string(reply[2] + 1));
}

} // namespace
} // namespace brindle::testing
