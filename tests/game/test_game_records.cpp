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
    // A second game, as another run of the program would have it.
    std::unique_ptr<GameFixture> another(char starter = 'H')
    {
        auto f = std::make_unique<GameFixture>();
        f->kept.text = kept.text;
        f->startUp(starter);
        f->game.check(Menu_Details, true);
        return f;
    }
    static std::vector<std::string> board(const Game& g)
    {
        std::vector<std::string> rows;
        for (int r = 0; r < BoardSize; ++r) {
            rows.emplace_back();
            for (int c = 0; c < BoardSize; ++c)
                rows.back() += g.Board(r, c);
        }
        return rows;
    }
    // Red's five along row 3, blue on row 5 between: nine moves.
    static record::Record redFive()
    {
        record::Record r;
        for (int k = 0; k < 5; ++k) {
            r.moves.push_back({2, 3 + k});
            if (k < 4)
                r.moves.push_back({4, 3 + k});
        }
        return r;
    }
};

TEST_F(GameRecords, ARecordNamesThePlayersAndKeepsEachMovesTimeAndTheResult)
{
    startUp('H');
    now += 1500;
    clickCell(9, 9); // the computer answers at once
    record::Record r = game.record("2026-12-08");
    ASSERT_EQ(r.moves.size(), 2u);
    EXPECT_TRUE(r.red == "Human" && r.blue == "Computer (Hard)" && r.first == MarkX && r.date == "2026-12-08");
    EXPECT_TRUE(r.moves[0].ms == 1500 && r.moves[0].score == 0 && r.moves[1].ms == 0 && r.moves[1].score != 0);
    EXPECT_EQ(r.result, record::Result::None);

    choose(Menu_Undo), now += 700, choose(Menu_RejectUndo);
    EXPECT_EQ(game.record("").moves[0].ms, 1500) << "a move put back keeps its own time";
    choose(Menu_Easy);
    EXPECT_EQ(game.record("").blue, "Computer (Easy)");
    random.push({0.75f}), choose(Menu_New); // the computer opens now
    EXPECT_TRUE(game.record("").red == "Computer (Easy)" && game.record("").blue == "Human");

    events.duringPassesUntil([this] { return s().MoveCount == 3 && choose(Menu_Stop); });
    choose(Menu_ComputerComputer);
    EXPECT_TRUE(game.record("").red == "Computer (Easy)" && game.record("").blue == "Computer (Easy)");
    EXPECT_EQ(game.record("").result, record::Result::None) << "a stopped game has no result";

    choose(Menu_HumanHuman);
    play({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}});
    r = game.record("");
    EXPECT_TRUE(r.red == "Human" && r.blue == "Human" && r.result == record::Result::RedWins && !r.onTime);
    choose(Menu_Undo), clickCell(5, 5); // blue now: red's four waits
    play({{1, 4}});
    EXPECT_EQ(game.record("").result, record::Result::BlueWins);

    game.check(Menu_Network, true);
    globals.HostName = "Ann", globals.PlayerName = "Bo", globals.TimeLimitOn = true, globals.TimeLimitSec = 90;
    r = game.record("");
    EXPECT_TRUE(r.red == "Ann" && r.blue == "Bo" && r.timeLimitSec == 90);
    game.Form_Load(), clickCell(3, 3), game.DoWinner("TimeWinnerB");
    r = game.record("");
    EXPECT_TRUE(r.result == record::Result::BlueWins && r.onTime);
}

TEST_F(GameRecords, AnOpenedGameIsReviewedByUndoAndRejectUndoWithoutCountingItsResult)
{
    startHumanHuman();
    const std::string score = game.ui.lblComp.Caption;
    const size_t waves = sound.waves().size();
    record::Record five = redFive();
    five.red = "Ann", five.date = "2001-02-03";
    ASSERT_EQ(game.openRecord(five), "");
    EXPECT_TRUE(s().GameOver && s().wonByLine && s().MoveCount == 9 && !game.ui.Timer1.Enabled);
    EXPECT_TRUE(game.record("today").red == "Ann" && game.record("today").blue == "Human" && game.record("today").date == "2001-02-03")
        << "saved again, it keeps its players and date";
    EXPECT_TRUE(game.ui.lblPlacer.Caption == "'s a winner!!!" && game.ui.lblHvisTur.BackColor == Red);
    EXPECT_EQ(s().WinCells[0], (std::array<int32_t, 3>{0, 2, 3}));
    EXPECT_EQ(s().WinCells[4], (std::array<int32_t, 3>{0, 2, 7}));
    EXPECT_EQ(game.ui.lblComp.Caption, score) << "the score is not changed";
    EXPECT_EQ(sound.waves().size(), waves) << "no fanfare for an opened game";
    EXPECT_TRUE(game.ui.imgLeft.Left != Parked && enabled(Menu_Undo) && !enabled(Menu_RejectUndo));

    for (int n = 8; n >= 0; --n) {
        choose(Menu_Undo);
        EXPECT_EQ(s().MoveCount, n);
    }
    EXPECT_FALSE(enabled(Menu_Undo));
    for (int n = 1; n <= 9; ++n) {
        choose(Menu_RejectUndo);
        EXPECT_EQ(s().MoveCount, n);
    }
    EXPECT_TRUE(s().GameOver && s().wonByLine && !enabled(Menu_RejectUndo));
    EXPECT_EQ(game.ui.lblComp.Caption, score) << "a win put back is not counted again";

    // A record that ended in a draw or on time shows its end too.
    record::Record drawn = redFive();
    drawn.moves.pop_back();
    drawn.result = record::Result::Draw;
    ASSERT_EQ(game.openRecord(drawn), "");
    EXPECT_TRUE(s().GameOver && s().drawn && game.ui.lblPlacer.Caption == "It's a draw" && !game.ui.lblHvisTur.Visible);
    drawn.result = record::Result::BlueWins;
    ASSERT_EQ(game.openRecord(drawn), "");
    EXPECT_TRUE(s().GameOver && !s().wonByLine && game.ui.lblHvisTur.BackColor == Blue && game.ui.lblHvisTur.Visible);
    EXPECT_EQ(game.ui.lblComp.Caption, score);
    choose(Menu_New);
    EXPECT_TRUE(game.record("today").red == "Human" && game.record("today").date == "today");
}

TEST_F(GameRecords, AnUnfinishedGameGoesOnInTheCurrentModeAndTheComputerMovesAtOnceOnItsTurn)
{
    startUp('H'); // the human plays red
    record::Record r = redFive();
    r.moves.resize(3);
    ASSERT_EQ(game.openRecord(r), "");
    EXPECT_EQ(s().MoveCount, 4) << "blue to move: the computer's side";
    EXPECT_TRUE(!s().GameOver && game.ui.Timer1.Enabled && enabled(Menu_Undo));
    r.moves.resize(2);
    ASSERT_EQ(game.openRecord(r), "");
    EXPECT_TRUE(s().MoveCount == 2 && s().NextMark == MarkX && game.ui.lblHvisTur.BackColor == Red);
    clickCell(10, 10);
    EXPECT_EQ(s().MoveCount, 4) << "the human plays on, and the computer answers";

    // Blue opened this one: red is to move after one stone.
    record::Record blueFirst;
    blueFirst.first = MarkO;
    blueFirst.moves = {{9, 9}};
    ASSERT_EQ(game.openRecord(blueFirst), "");
    EXPECT_TRUE(game.Board(9, 9) == MarkO && s().NextMark == MarkX && s().MoveCount == 1);
    EXPECT_FALSE(enabled(Menu_Undo)) << "the computer's one stone is not the human's to take back";

    choose(Menu_ComputerComputer), choose(Menu_Stop);
    ASSERT_EQ(game.openRecord(r), "");
    EXPECT_TRUE(s().GameOver && s().MoveCount > 2) << "Computer vs. Computer plays it to the end";
}

TEST_F(GameRecords, ARecordIsRefusedInANetworkGameOrWhenItBreaksTheRulesAndTheBoardStays)
{
    startHumanHuman();
    play({{5, 5}, {6, 6}});
    const auto before = board(game);
    record::Record onAStone = redFive();
    onAStone.moves[2] = onAStone.moves[0];
    EXPECT_NE(game.openRecord(onAStone).find("on a stone already there"), std::string::npos);
    game.check(Menu_Network, true);
    EXPECT_EQ(game.openRecord(redFive()), "A game record cannot be opened during a network game.");
    EXPECT_TRUE(!enabled(Menu_Open) && !enabled(Menu_Continue));
    EXPECT_TRUE(board(game) == before && s().MoveCount == 2 && !s().GameOver);
    game.check(Menu_Network, false);
    EXPECT_TRUE(enabled(Menu_Open) && enabled(Menu_Save) && !enabled(Menu_Continue)) << "no game is kept";
}

TEST_F(GameRecords, AGameClosedHalfwayIsContinuedExactlyAfterARestart)
{
    game.check(Menu_Details, true);
    startUp('C'); // the computer opens and plays red
    choose(Menu_Easy);
    clickCell(3, 3), clickCell(4, 4);
    tick(83'000);
    game.keepUnfinished();
    ASSERT_FALSE(kept.text.empty());

    auto next = another('H');
    EXPECT_TRUE(next->enabled(Menu_Continue));
    EXPECT_TRUE(next->choose(Menu_Continue));
    const Game& g = next->game;
    EXPECT_EQ(board(g), board(game));
    EXPECT_EQ(g.ui.txtMoves.Caption, game.ui.txtMoves.Caption);
    EXPECT_TRUE(g.checked(Menu_HumanComputer) && g.checked(Menu_Easy) && !g.checked(Menu_Hard));
    EXPECT_TRUE(g.state().Starter == 'C' && g.state().NextMark == s().NextMark && g.state().MoveCount == s().MoveCount);
    EXPECT_EQ(g.clock().GameSeconds, 83);
    EXPECT_TRUE(g.clock().running() && !g.state().GameOver);
    EXPECT_TRUE(next->kept.text.empty() && !next->enabled(Menu_Continue)) << "a continued game is kept no more";
    next->clickCell(10, 10);
    EXPECT_EQ(g.state().MoveCount, s().MoveCount + 2) << "it goes on: the human, then the computer";
}

TEST_F(GameRecords, ANewGameOrAnotherModeKeepsTheUnfinishedGameForContinue)
{
    startHumanHuman();
    for (MenuId replacing : {Menu_New, Menu_HumanHuman, Menu_ComputerComputer}) {
        play({{5, 5}, {6, 6}, {5, 6}});
        ASSERT_TRUE(choose(replacing));
        EXPECT_NE(kept.text.find("BRMODE[HumanHuman]"), std::string::npos) << replacing;
        EXPECT_EQ(record::readSgf(kept.text).index(), 0u) << replacing;
        EXPECT_EQ(std::get<record::Record>(record::readSgf(kept.text)).moves.size(), 3u) << replacing;
        EXPECT_TRUE(enabled(Menu_Continue)) << replacing;
    }
    EXPECT_GT(globals.Score[1] + globals.Score[2] + globals.Score[3], 0) << "an automatic game has ended";
    const std::string kept3 = kept.text;
    events.duringPassesUntil([this] { return s().MoveCount == 4 && choose(Menu_Stop); });
    game.timerFired(3);
    random.push({0.75f}), choose(Menu_HumanComputer); // the computer opens
    choose(Menu_New);
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

    game.keepUnfinished();
    EXPECT_TRUE(kept.text.empty()) << "a finished game is not kept";
    choose(Menu_New), game.keepUnfinished();
    EXPECT_TRUE(kept.text.empty()) << "nor an empty board";
    clickCell(5, 5), game.check(Menu_Network, true), game.keepUnfinished();
    EXPECT_TRUE(kept.text.empty()) << "nor a network game";
    game.check(Menu_Network, false);
    kept.failure = "Could not save last-game.sgf: No space left on device.";
    game.keepUnfinished();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].find("could not be kept for next time. Could not save"), std::string::npos);

    // A kept file that has gone bad is said so, and dropped.
    auto next = std::make_unique<GameFixture>();
    next->kept.text = "(;GM[4]SZ[15];B[aa])";
    next->startUp();
    next->choose(Menu_Continue);
    ASSERT_EQ(next->dialogs.boxes.size(), 1u);
    EXPECT_NE(next->dialogs.boxes[0].find("could not be continued: line 1: The board is 15 x 15"), std::string::npos);
    EXPECT_TRUE(next->kept.text.empty() && next->kept.drops == 1 && next->s().MoveCount == 0);

    // One kept without its starter or its clock: the human plays red, and the clock starts from nought.
    auto bare = std::make_unique<GameFixture>();
    bare->kept.text = "(;GM[4]SZ[20]BRMODE[HumanComputer]BRCLOCK[x];B[aa];W[bb])";
    bare->startUp();
    bare->choose(Menu_Continue);
    EXPECT_TRUE(bare->s().Starter == 'H' && bare->s().MoveCount == 2 && bare->game.clock().GameSeconds == 0);
}

} // namespace
} // namespace brindle::testing
