// The game and its records: what a saved record holds, an opened record on
// the board, and the unfinished game kept for "Continue last game".

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

struct GameRecords : ::testing::Test, GameFixture {
    // A second game, as another run of the program would have it, with the kept game as this one left it.
    static std::unique_ptr<GameFixture> another(const std::string& kept)
    {
        auto f = std::make_unique<GameFixture>();
        f->kept.text = kept;
        f->game.check(Menu_Details, true);
        f->startUp('H');
        return f;
    }
    // Red's five along row 3, blue on row 5 between: nine moves.
    static record::Record redFive()
    {
        record::Record r;
        r.moves = {{2, 3}, {4, 3}, {2, 4}, {4, 4}, {2, 5}, {4, 5}, {2, 6}, {4, 6}, {2, 7}};
        return r;
    }
    // Who played, how it ended and when: "Ann - Bo: blue wins on time, 2026-12-08, 90 s".
    static std::string about(const record::Record& r)
    {
        static const char* const results[] = {"unfinished", "red wins", "blue wins", "draw"};
        return r.red + " - " + r.blue + ": " + results[int(r.result)] + (r.onTime ? " on time, " : ", ") + r.date +
               (r.timeLimitSec ? ", " + std::to_string(r.timeLimitSec) + " s" : "");
    }
    std::string about() const { return about(game.record("today")); }
};

TEST_F(GameRecords, ARecordNamesThePlayersAndKeepsEachMovesTimeAndTheResult)
{
    startUp('H'), now += 1500, clickCell(9, 9); // the computer answers at once
    const record::Record r = game.record("2026-12-08");
    ASSERT_EQ(r.moves.size(), 2u);
    EXPECT_EQ(about(r), "Human - Computer (Hard): unfinished, 2026-12-08");
    EXPECT_TRUE(r.first == MarkX && r.moves[0].ms == 1500 && r.moves[0].score == 0 && r.moves[1].ms == 0 && r.moves[1].score != 0);
    choose(Menu_Undo), now += 700, choose(Menu_RejectUndo);
    EXPECT_EQ(game.record("").moves[0].ms, 1500) << "a move put back keeps its own time";
    choose(Menu_Easy), random.push({0.75f}), choose(Menu_New); // the computer opens now
    EXPECT_EQ(about(), "Computer (Easy) - Human: unfinished, today");
    events.duringPassesUntil([this] { return s().MoveCount == 3 && choose(Menu_Stop); });
    choose(Menu_ComputerComputer);
    EXPECT_EQ(about(), "Computer (Easy) - Computer (Easy): unfinished, today") << "a stopped game has no result";

    choose(Menu_HumanHuman);
    play({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}});
    EXPECT_EQ(about(), "Human - Human: red wins, today");
    choose(Menu_Undo), play({{5, 5}, {1, 4}}); // blue now: red's four waits
    EXPECT_EQ(about(), "Human - Human: blue wins, today");
    game.check(Menu_Network, true);
    globals.HostName = "Ann", globals.PlayerName = "Bo", globals.TimeLimitOn = true, globals.TimeLimitSec = 90;
    game.Form_Load(), clickCell(3, 3), game.DoWinner("TimeWinnerB");
    EXPECT_EQ(about(), "Ann - Bo: blue wins on time, today, 90 s");
}

TEST_F(GameRecords, ARecordIsRefusedInANetworkGameAndTheBoardStays)
{
    startHumanHuman();
    play({{5, 5}, {6, 6}});
    game.check(Menu_Network, true);
    EXPECT_EQ(game.openRecord(redFive()), "A game record cannot be opened during a network game.");
    EXPECT_TRUE(!enabled(Menu_Open) && !enabled(Menu_Continue) && pieceCount(game) == 2 && s().MoveCount == 2);
    game.check(Menu_Network, false);
    EXPECT_TRUE(enabled(Menu_Open) && enabled(Menu_Save) && !enabled(Menu_Continue)) << "no game is kept";
}

TEST_F(GameRecords, AnOpenedGameIsReviewedByUndoAndRejectUndoWithoutCountingItsResult)
{
    startHumanHuman();
    const size_t waves = sound.waves.size();
    record::Record five = redFive();
    five.red = "Ann", five.date = "2001-02-03";
    ASSERT_EQ(game.openRecord(five), "");
    EXPECT_EQ(shown(), "Red's a winner!!! Moves: 9 | Red: 0 - Blue: 0, Draw: 0 | Undo");
    EXPECT_EQ(about(), "Ann - Human: red wins, 2001-02-03") << "saved again, it keeps its players and date";
    EXPECT_TRUE(s().WinCells[0] == (std::array<int32_t, 3>{0, 2, 3}) && s().WinCells[4] == (std::array<int32_t, 3>{0, 2, 7}));
    EXPECT_TRUE(sound.waves.size() == waves && game.ui.imgLeft.Left != Parked) << "no fanfare for an opened game";

    std::string counts;
    for (int n = 0; n < 9; ++n)
        choose(Menu_Undo), counts += std::to_string(s().MoveCount);
    EXPECT_EQ(shown(), "Red's turn. Moves: 0 | Red: 0 - Blue: 0, Draw: 0 | RejectUndo clock");
    for (int n = 0; n < 9; ++n)
        choose(Menu_RejectUndo), counts += std::to_string(s().MoveCount);
    EXPECT_EQ(counts, "876543210123456789");
    EXPECT_EQ(shown(), "Red's a winner!!! Moves: 9 | Red: 0 - Blue: 0, Draw: 0 | Undo") << "a win put back is not counted again";
    choose(Menu_New);
    EXPECT_EQ(about(), "Human - Human: unfinished, today");

    // A record that ended in a draw or on time shows its end too.
    five.moves.pop_back(), five.result = record::Result::Draw;
    ASSERT_EQ(game.openRecord(five), "");
    EXPECT_EQ(shown(), "It's a draw Moves: 8 | Red: 0 - Blue: 0, Draw: 0 | Undo");
    five.result = record::Result::BlueWins;
    ASSERT_EQ(game.openRecord(five), "");
    EXPECT_EQ(shown(), "Blue's a winner!!! Moves: 8 | Red: 0 - Blue: 0, Draw: 0 | Undo");
    EXPECT_EQ(about(), "Ann - Human: blue wins on time, 2001-02-03");
    five.moves.resize(2), five.result = record::Result::None; // one that goes on has its turn shown again
    ASSERT_EQ(game.openRecord(five), "");
    EXPECT_EQ(shown(), "Red's turn. Moves: 2 | Red: 0 - Blue: 0, Draw: 0 | Undo clock");
}

TEST_F(GameRecords, AnUnfinishedGameGoesOnInTheCurrentModeAndTheComputerMovesAtOnceOnItsTurn)
{
    startUp('H'); // the human plays red
    record::Record r = redFive();
    r.moves.resize(3);
    ASSERT_EQ(game.openRecord(r), "");
    EXPECT_EQ(shown(), "Red's turn. Moves: 4 | Red: 0 - Blue: 0, Draw: 0 | Undo clock") << "blue's move is the computer's";
    r.moves.resize(2);
    ASSERT_EQ(game.openRecord(r), "");
    EXPECT_EQ(shown(), "Red's turn. Moves: 2 | Red: 0 - Blue: 0, Draw: 0 | Undo clock");
    clickCell(10, 10);
    EXPECT_EQ(s().MoveCount, 4) << "the human plays on, and the computer answers";

    record::Record blueFirst; // red is to move after blue's one stone
    blueFirst.first = MarkO, blueFirst.moves = {{9, 9}};
    ASSERT_EQ(game.openRecord(blueFirst), "");
    EXPECT_EQ(shown(), "Red's turn. Moves: 1 | Red: 0 - Blue: 0, Draw: 0 | clock") << "the computer's stone is not the human's to take back";
    EXPECT_TRUE(game.Board(9, 9) == MarkO && game.record("").first == MarkO);
    choose(Menu_ComputerComputer), choose(Menu_Stop);
    ASSERT_EQ(game.openRecord(r), "");
    EXPECT_TRUE(s().GameOver && s().MoveCount > 2) << "Computer vs. Computer plays it to the end";
}

TEST_F(GameRecords, ANewGameOrAnotherModeKeepsTheUnfinishedGameForContinue)
{
    startHumanHuman();
    for (MenuId replacing : {Menu_New, Menu_HumanHuman, Menu_ComputerComputer}) {
        play({{5, 5}, {6, 6}, {5, 6}});
        ASSERT_TRUE(choose(replacing));
        EXPECT_TRUE(enabled(Menu_Continue) && kept.text.find("BRMODE[HumanHuman]") != std::string::npos &&
                    std::get<record::Record>(record::readSgf(kept.text)).moves.size() == 3u) << replacing;
    }
    EXPECT_GT(globals.Score[1] + globals.Score[2] + globals.Score[3], 0) << "an automatic game has ended";
    const std::string kept3 = kept.text;
    events.duringPassesUntil([this] { return s().MoveCount == 4 && choose(Menu_Stop); }), game.timerFired(3);
    random.push({0.75f}), choose(Menu_HumanComputer), choose(Menu_New); // the computer opens, alone
    EXPECT_EQ(kept.text, kept3) << "neither a stopped automatic game nor the computer's opening replaces it";
    ASSERT_TRUE(choose(Menu_Continue));
    EXPECT_TRUE(s().MoveCount == 3 && game.checked(Menu_HumanHuman) && game.Board(5, 6) == MarkX);
}

TEST_F(GameRecords, TheKeptGameGoesWhenTheNextGameEndsAndOnlyUnfinishedLocalGamesAreKept)
{
    kept.text = "(;GM[4]SZ[20]BRMODE[HumanHuman];B[aa])";
    startHumanHuman();
    EXPECT_TRUE(enabled(Menu_Continue));
    play({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}});
    EXPECT_TRUE(kept.text.empty() && !enabled(Menu_Continue)) << "the next game's end drops it";
    game.keepUnfinished(); // a finished game is not kept
    choose(Menu_New), game.keepUnfinished(); // nor an empty board
    clickCell(5, 5), game.check(Menu_Network, true), game.keepUnfinished(); // nor a network game
    EXPECT_TRUE(kept.text.empty());
    game.check(Menu_Network, false);
    kept.failure = "Could not save last-game.sgf: No space left on device.";
    game.keepUnfinished();
    EXPECT_EQ(dialogs.boxes, std::vector<std::string>{"Brindle (i): The unfinished game could not be kept for next time. " + kept.failure});

    auto bad = another("(;GM[4]SZ[15];B[aa])"); // gone bad: said so, and dropped
    bad->choose(Menu_Continue);
    EXPECT_EQ(bad->dialogs.boxes, std::vector<std::string>{"Brindle (i): The last game could not be continued: line 1: "
                                                           "The board is 15 x 15; Brindle plays on 20 x 20 only."});
    EXPECT_TRUE(bad->kept.text.empty() && bad->kept.drops == 1 && bad->s().MoveCount == 0);
    // One kept without its starter or its clock: the human plays red, and the clock starts from nought.
    auto bare = another("(;GM[4]SZ[20]BRMODE[HumanComputer]BRCLOCK[x];B[aa];W[bb])");
    bare->choose(Menu_Continue);
    EXPECT_TRUE(bare->s().Starter == 'H' && bare->s().MoveCount == 2 && bare->game.clock().GameSeconds == 0);
    auto full = another("(;GM[4]SZ[20]BRMODE[HumanComputer]BRLEVEL[Easy]BRSTARTER[C]BRCLOCK[83];B[aa];W[bb])");
    full->choose(Menu_Continue);
    EXPECT_TRUE(full->s().Starter == 'C' && full->game.checked(Menu_Easy) && full->game.clock().GameSeconds == 83);
    // A step of strength comes back as that step; an unknown level leaves Hard.
    auto stepped = another("(;GM[4]SZ[20]BRMODE[HumanComputer]BRLEVEL[Strength 6];B[aa])");
    stepped->choose(Menu_Continue);
    EXPECT_TRUE(stepped->game.checked(Menu_Strength) && !stepped->game.checked(Menu_Hard) && stepped->game.strength() == 6);
    auto unknown = another("(;GM[4]SZ[20]BRMODE[HumanComputer]BRLEVEL[Strength 9];B[aa])");
    unknown->choose(Menu_Continue);
    EXPECT_TRUE(unknown->game.checked(Menu_Hard) && !unknown->game.checked(Menu_Strength));
}

} // namespace
} // namespace brindle::testing
