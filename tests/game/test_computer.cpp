// The computer player: its choice and the five-still-possible test against a
// plain count, the opening, ties, the random level, levels and weights, and
// that it always plays a free cell.

#include <array>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {
namespace {

using Cell = std::pair<int32_t, int32_t>;
constexpr float JustBelowOne = 0.99999994f;

struct Plain {
    int32_t score = 0;
    std::vector<Cell> cells; // the best candidates, in scan order
    bool open = false;       // some window of five holds pieces of at most one side
};

// Goes through the windows of five one by one, adding each one's weights to
// the cells in it.
Plain PlainCount(const Game& g)
{
    const Weights& w = g.CurrentWeights();
    int32_t score[BoardSize][BoardSize] = {};
    Plain plain;
    for (int r = 0; r < BoardSize; ++r)
        for (int c = 0; c < BoardSize; ++c)
            for (const auto& [dr, dc] : {Cell{0, 1}, Cell{1, 0}, Cell{1, 1}, Cell{1, -1}}) {
                if (!OnBoard(r + 4 * dr, c + 4 * dc))
                    continue;
                size_t own = 0, opp = 0, blank = 0;
                for (int k = 0; k < 5; ++k) {
                    own += g.Board(r + k * dr, c + k * dc) == g.NextMark;
                    opp += g.Board(r + k * dr, c + k * dc) == OtherMark(g.NextMark);
                    blank += g.Board(r + k * dr, c + k * dc) == Empty;
                }
                plain.open = plain.open || blank + own == 5 || blank + opp == 5;
                for (int k = 0; k < 5 && blank > 0; ++k)
                    score[r + k * dr][c + k * dc] += (opp ? 0 : w.Own[own] + w.Bonus) + (own ? 0 : w.Opp[opp] + w.Bonus);
            }
    for (int32_t r = g.SearchMinRow; r <= g.SearchMaxRow; ++r)
        for (int32_t c = g.SearchMinCol; c <= g.SearchMaxCol; ++c)
            if (g.Board(r, c) == Empty && g.NearPiece[size_t(r)][size_t(c)] && score[r][c] >= plain.score) {
                if (score[r][c] > plain.score)
                    plain = {score[r][c], {}, plain.open};
                plain.cells.push_back({r, c});
            }
    return plain;
}

struct Level { void (Game::*choose)(); MenuId item; int32_t margin; };
const Level Levels[] = {{&Game::Menu_Stupid_Click, Menu_Stupid, 1}, {&Game::Menu_Easy_Click, Menu_Easy, 2},
                        {&Game::Menu_Normal_Click, Menu_Normal, 3}, {&Game::Menu_Hard_Click, Menu_Hard, 4}};

struct Computer : ::testing::Test, GameFixture {
    void SetUp() override { StartHumanHuman(); }
};

TEST_F(Computer, AgreesWithThePlainCountOnBestCellsAndOnFivePossibleOverThousandsOfRandomBoards)
{
    std::mt19937 rng(2024);
    const auto below = [&rng](uint32_t n) { return int32_t(rng() % n); };
    // "3" is a mark of the new-game wipe that belongs to neither side.
    const char values[] = {Empty, Empty, Empty, MarkX, MarkX, MarkX, MarkO, MarkO, MarkO, WipeBar};
    int open = 0;
    for (int board = 0; board < 3000; ++board) {
        if (board % 25 == 0) // start again, so that every density occurs, with new weights
            game.Menu_New_Click();
        if (board % 50 == 0)
            game.SetWeights({{below(5), below(50), below(90), below(900), below(20000)},
                             {below(5), below(50), below(90), below(900), below(9000)}, below(4)});
        if (board % 50 == 25)
            CloseEveryWindow();
        // The same board keeps changing, so the counts are kept up in place.
        for (int32_t i = below(board % 50 < 25 ? 40 : 3); i > 0; --i)
            game.SetBoard(below(20), below(20), values[below(10)]);
        for (auto& row : game.NearPiece)
            for (auto& near : row)
                near = below(4) != 0;
        std::tie(game.SearchMinRow, game.SearchMinCol) = std::tuple(below(20), below(20));
        game.SearchMaxRow = game.SearchMinRow + below(uint32_t(20 - game.SearchMinRow));
        game.SearchMaxCol = game.SearchMinCol + below(uint32_t(20 - game.SearchMinCol));
        std::tie(game.NextMark, game.MoveCount) = std::tuple(below(2) ? MarkX : MarkO, 1);

        const Plain plain = PlainCount(game);
        ASSERT_EQ(game.ErFemMulig(), plain.open) << "board " << board;
        ASSERT_EQ(game.ChooseMove().found, !plain.cells.empty()) << "board " << board;
        ASSERT_EQ(game.BestScore, plain.score) << "board " << board;
        std::vector<Cell> best;
        for (int32_t k = 1; k <= game.BestCount; ++k)
            best.push_back({game.BestCells[size_t(k)][0], game.BestCells[size_t(k)][1]});
        ASSERT_EQ(best, plain.cells) << "board " << board;
        open += plain.open;
    }
    EXPECT_GT(std::min(open, 3000 - open), 1000) << "both answers put to the test";
}

TEST(ComputerPlay, AlwaysTakesAFreeCandidateAtEveryLevelThroughHumanMovesUndoAndNearlyFullBoards)
{
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        GameFixture f;
        Game& g = f.game;
        f.random.fallback = ClockRandom(seed);
        f.StartHumanHuman();
        (g.*Levels[seed % 4].choose)();
        if (seed % 3 == 0) { // nobody can win any more, and only the sixteen holes are left
            f.CloseEveryWindow(int(seed % 5), int(seed * 3 % 5));
            for (auto& row : g.NearPiece)
                row.fill(true);
            std::tie(g.SearchMaxRow, g.SearchMaxCol, g.MoveCount) = std::tuple(19, 19, CellCount - 16);
        }
        std::mt19937 rng(seed);
        while (!g.GameOver) {
            const uint32_t action = rng() % 20;
            const int32_t row = int32_t(rng() % 20), col = int32_t(rng() % 20);
            if (action == 0 && f.Enabled(Menu_Undo)) {
                g.Menu_Undo_Click();
            } else if (action == 1 && g.Board(row, col) == Empty) {
                g.PlacePiece(row, col, 0); // a human move anywhere
            } else {
                const auto [r, c, score, found] = g.ChooseMove();
                ASSERT_TRUE(found && OnBoard(r, c) && g.Board(r, c) == Empty) << "seed " << seed;
                EXPECT_TRUE(g.MoveCount == 0 || (g.NearPiece[size_t(r)][size_t(c)] && r >= g.SearchMinRow &&
                                                 c >= g.SearchMinCol && r <= g.SearchMaxRow && c <= g.SearchMaxCol))
                    << "seed " << seed;
                g.PlacePiece(r, c, score);
            }
        }
    }
}

TEST_F(Computer, OpensInRowsAndColumns5To14AtEveryLevelAndPicksEachTiedCellByItsShareOfTheRandomRange)
{
    const auto chosen = [this] { const Game::Choice c = game.ChooseMove(); return Cell(c.row, c.col); };
    for (const Level& level : Levels) {
        (game.*level.choose)();
        random.Push({0.0f, 0.0f, 0.0f, JustBelowOne, JustBelowOne, 0.0f});
        EXPECT_EQ(chosen(), Cell(5, 5));
        EXPECT_EQ(chosen(), Cell(14, 14));
    }
    ClickCell(10, 10); // blue to move: the eight neighbours of the red piece tie, in scan order
    const Cell tied[] = {{9, 9}, {9, 10}, {9, 11}, {10, 9}, {10, 11}, {11, 9}, {11, 10}, {11, 11}};
    for (int k = 0; k < 8; ++k) {
        random.Push({(float(k) + 0.5f) / 8.0f});
        EXPECT_EQ(chosen(), tied[k]);
    }
}

TEST_F(Computer, AtTheRandomLevelPicksAnyFreeMarkedCellInTheSearchBoxWithScoreOne)
{
    game.Menu_Easy_Click();
    ClickCell(10, 10); // marks rows and columns 8 to 12
    game.Menu_Stupid_Click();
    ClickCell(12, 14); // the search box is now rows 9 to 13, columns 9 to 15
    std::set<Cell> expected, seen;
    for (int32_t r = 9; r <= 13; ++r)
        for (int32_t c = 9; c <= 15; ++c)
            if (game.Board(r, c) == Empty && ((r <= 12 && c <= 12) || (r >= 11 && c >= 13)))
                expected.insert({r, c});
    for (int i = 0; i < 3000; ++i) {
        const Game::Choice choice = game.ChooseMove();
        EXPECT_EQ(choice.score, 1);
        seen.insert({choice.row, choice.col});
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(Computer, EachLevelItemChecksOnlyItselfAndSetsItsMarginAndEachGameDrawsItsWeightsOverTheirRanges)
{
    EXPECT_TRUE(game.Checked(Menu_Hard) && game.SearchMargin == 4);
    // Each game's coin toss, then the weights' numbers in the order they are drawn, lowest or highest.
    const std::array<float, 5> script[] = {{0.25f, 0.0f, JustBelowOne, JustBelowOne, 0.0f},
                                           {0.25f, JustBelowOne, 0.0f, 0.0f, JustBelowOne}};
    const std::array<int32_t, 5> own[] = {{0, 8, 27, 400, 10000}, {0, 11, 18, 400, 10000}};
    const std::array<int32_t, 5> opp[] = {{0, 7, 20, 140, 3000}, {0, 4, 29, 140, 3000}};
    for (size_t k = 0; k < 4; ++k) {
        (game.*Levels[k].choose)();
        random.script.assign(script[k % 2].begin(), script[k % 2].end());
        game.Menu_HumanComputer_Click();
        for (const Level& other : Levels)
            EXPECT_EQ(game.Checked(other.item), &other == &Levels[k]);
        EXPECT_EQ(game.SearchMargin, Levels[k].margin);
        EXPECT_EQ(game.CurrentWeights().Own, own[k % 2]);
        EXPECT_EQ(game.CurrentWeights().Opp, opp[k % 2]);
        EXPECT_EQ(game.CurrentWeights().Bonus, 0);
    }
}

} // namespace
} // namespace brindle::testing
