// Play by keyboard and the board in words: the cell cursor and
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
    void keys(std::initializer_list<Key> pressed, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            for (Key k : pressed)
                game.boardKey(k);
    }
    std::pair<int, int> cursor() const { return {game.ui.cursor.Row, game.ui.cursor.Col}; }
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
    for (const auto& [key, times, at, beeps] : {std::tuple(Key::Up, 5, std::pair(0, 17), 2), {Key::Right, 4, {0, 19}, 2},
                                                {Key::Down, 21, {19, 19}, 2}, {Key::Left, 20, {19, 0}, 1}, {Key::Home, 1, {9, 9}, 0}}) {
        const int before = sound.beeps();
        keys({key}, times);
        EXPECT_EQ(cursor(), at) << "key " << static_cast<int>(key);
        EXPECT_EQ(sound.beeps() - before, beeps) << "each push past the edge beeps";
    }
    GameFixture fresh; // during the intro a key only ends it
    fresh.game.Form_Load(), fresh.game.boardKey(Key::Play);
    EXPECT_TRUE(fresh.s().IntroSkip && !fresh.game.ui.cursor.Shown);
}

TEST_F(Keyboard, PlayIsAClickOnTheCursorsCellWithTheSameRefusalsAndNoKeyActsWhileTheWindowIsDisabledOrAMoveIsReplayed)
{
    keys({Key::Home, Key::Play, Key::Play}); // the second on an occupied cell beeps as a click does
    EXPECT_TRUE(game.Board(9, 9) == MarkX && game.ui.cursor.Shown && sound.beeps() == 1 && s().MoveCount == 1);
    keys({Key::Right, Key::Play});
    EXPECT_EQ(game.Board(9, 10), MarkO);
    const struct {
        const char* when;
        std::function<void(bool)> set;
        int beeps;
    } refusals[] = {
        {"disabled", [&](bool on) { game.ui.Enabled = !on; }, 0},
        {"replaying", [&](bool on) { poke().Replaying = on; }, 0},
        {"network, waiting", [&](bool on) { game.check(Menu_Network, on), game.ui.Menu[Menu_Stop].Visible = on; }, 1},
    };
    for (const auto& r : refusals) {
        const int beeps = sound.beeps();
        r.set(true), keys({Key::Down, Key::Play}), r.set(false);
        EXPECT_EQ(std::pair(s().MoveCount, sound.beeps() - beeps), std::pair(2, r.beeps)) << r.when;
    }
    EXPECT_EQ(cursor(), std::make_pair(10, 10)) << "the cursor moves wherever the board only takes no move";
    keys({Key::Play});
    EXPECT_EQ(game.Board(10, 10), MarkX);
}

TEST_F(Keyboard, CellsTheTurnSquareEveryMoveAndTheEndAreSaidInWords)
{
    const auto said = [this] { return game.ui.spoken + " / " + game.turnName(); };
    EXPECT_EQ(game.cellName(9, 10) + " / " + game.turnName(), "row 10, column 11, empty / Red to move");
    play({{9, 10}});
    EXPECT_EQ(said(), "Red plays row 10, column 11 / Blue to move");
    play({{2, 11}});
    EXPECT_EQ(said() + " / " + game.cellName(9, 10) + " / " + game.cellName(2, 11),
              "Blue plays row 3, column 12 / Red to move / row 10, column 11, red / row 3, column 12, blue");
    const uint32_t count = game.ui.spokenCount;
    play({{2, 11}});
    EXPECT_EQ(game.ui.spokenCount, count) << "a refused click says nothing";
    play({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}});
    EXPECT_EQ(said(), "Red wins / Red wins");
    EXPECT_EQ(game.ui.spokenCount, count + 10) << "each move and the win told once";
    choose(Menu_Undo), play({{12, 12}}), game.check(Menu_Network, true), game.DoWinner("B");
    EXPECT_EQ(said(), "Blue wins on time / Blue wins");

    GameFixture against; // the computer opens and plays red; its reply is said too
    against.startUp('C');
    against.game.boardKey(Key::Home), against.game.boardKey(Key::Down), against.game.boardKey(Key::Play);
    ASSERT_EQ(against.s().MoveCount, 3) << "the opening, the key's move and the reply";
    const auto& reply = against.s().History[3];
    EXPECT_EQ(against.game.ui.spoken, "Red plays row " + std::to_string(reply[1] + 1) + ", column " + std::to_string(reply[2] + 1));
}

} // namespace
} // namespace brindle::testing
