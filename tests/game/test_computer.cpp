// The computer player against a plain count; the opening, ties, the random level, levels and weights.

#include <algorithm>
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
using Cells = ComputerPlayer::Cells;
constexpr float JustBelowOne = 0.99999994f;

struct Plain {
    int32_t score = 0;
    std::vector<Cell> cells; // the best candidates, in scan order
    bool open = false;       // some window of five holds pieces of at most one side
};

// Adds each window of five's weights to the cells in it, one window at a time.
Plain plainCount(const Cells& board, const ComputerPlayer& cp, char mover)
{
    const Weights& w = cp.weights();
    const auto at = [&board](int r, int c) { return board[size_t(r)][size_t(c)]; };
    int32_t score[BoardSize][BoardSize] = {};
    Plain plain;
    for (int r = 0; r < BoardSize; ++r)
        for (int c = 0; c < BoardSize; ++c)
            for (const auto& [dr, dc] : {Cell{0, 1}, Cell{1, 0}, Cell{1, 1}, Cell{1, -1}}) {
                if (!onBoard(r + 4 * dr, c + 4 * dc))
                    continue;
                size_t own = 0, opp = 0, blank = 0;
                for (int k = 0; k < 5; ++k) {
                    own += at(r + k * dr, c + k * dc) == mover;
                    opp += at(r + k * dr, c + k * dc) == otherMark(mover);
                    blank += at(r + k * dr, c + k * dc) == Empty;
                }
                plain.open = plain.open || blank + own == 5 || blank + opp == 5;
                for (int k = 0; k < 5 && blank > 0; ++k)
                    score[r + k * dr][c + k * dc] += (opp ? 0 : w.OwnWeight[own] + w.WindowBonus) +
                                                     (own ? 0 : w.OppWeight[opp] + w.WindowBonus);
            }
    for (int32_t r = cp.SearchMinRow; r <= cp.SearchMaxRow; ++r)
        for (int32_t c = cp.SearchMinCol; c <= cp.SearchMaxCol; ++c)
            if (at(r, c) == Empty && cp.NearPiece[size_t(r)][size_t(c)] && score[r][c] >= plain.score) {
                if (score[r][c] > plain.score)
                    plain = {score[r][c], {}, plain.open};
                plain.cells.push_back({r, c});
            }
    return plain;
}

const MenuId Levels[] = {Menu_Stupid, Menu_Easy, Menu_Normal, Menu_Hard};

struct Computer : ::testing::Test, GameFixture {
    void SetUp() override { startHumanHuman(); }
    Cell chosen()
    {
        const auto c = game.chooseMove();
        return {c.row, c.col};
    }
};

TEST(ComputerPlayerAlone, AgreesWithThePlainCountOnBestCellsAndOnFivePossibleOverThousandsOfRandomBoards)
{
    Cells board{};
    ScriptedRandom random;
    ComputerPlayer cp(board, random);
    std::mt19937 rng(2024);
    const auto below = [&rng](uint32_t n) { return int32_t(rng() % n); };
    const auto set = [&](int32_t r, int32_t c, char v) { cp.cellChanged(r, c, board[size_t(r)][size_t(c)], v), board[size_t(r)][size_t(c)] = v; };
    // "3" is a mark of the new-game wipe that belongs to neither side.
    const char values[] = {Empty, Empty, Empty, MarkX, MarkX, MarkX, MarkO, MarkO, MarkO, WipeBar};
    int open = 0;
    for (int n = 0; n < 3000; ++n) {
        if (n % 25 == 0) // start again, so that every density occurs
            std::ranges::for_each(board, [](auto& row) { row.fill(Empty); }), cp.recount();
        if (n % 50 == 10 || n % 50 == 26) // counted afresh over a busy board, and one with every window closed
            cp.setWeights({{below(5), below(50), below(90), below(900), below(20000)},
                           {below(5), below(50), below(90), below(900), below(9000)}, below(4)});
        if (n % 50 == 25) // every window holds both colours
            for (int r = 0; r < BoardSize; ++r)
                for (int c = 0; c < BoardSize; ++c)
                    set(r, c, (r + 2 * c) % 4 < 2 ? MarkX : MarkO);
        // The same board keeps changing, so the counts are kept up in place.
        for (int32_t i = below(n % 50 < 25 ? 40 : 3); i > 0; --i)
            set(below(20), below(20), values[below(10)]);
        std::ranges::for_each(cp.NearPiece, [&](auto& row) { std::ranges::generate(row, [&] { return below(4) != 0; }); });
        std::tie(cp.SearchMinRow, cp.SearchMinCol) = std::tuple(below(20), below(20));
        cp.SearchMaxRow = cp.SearchMinRow + below(uint32_t(20 - cp.SearchMinRow));
        cp.SearchMaxCol = cp.SearchMinCol + below(uint32_t(20 - cp.SearchMinCol));
        const char mover = below(2) ? MarkX : MarkO;

        const Plain plain = plainCount(board, cp, mover);
        SCOPED_TRACE(n);
        ASSERT_EQ(cp.fivePossible(), plain.open);
        ASSERT_EQ(cp.choose(mover, 1, false).found, !plain.cells.empty());
        ASSERT_TRUE(plain.cells.empty() || random.log.ends_with("Rr")) << "each pick draws from a fresh seed";
        std::vector<Cell> best;
        for (int32_t k = 1; k <= cp.BestCount; ++k)
            best.push_back({cp.BestCells[size_t(k)][0], cp.BestCells[size_t(k)][1]});
        ASSERT_EQ(std::pair(cp.BestScore, best), std::pair(plain.score, plain.cells));
        ASSERT_EQ(cp.choose(mover, 1, true).found, !plain.cells.empty()) << "the random level";
        open += plain.open;
    }
    EXPECT_GT(std::min(open, 3000 - open), 1000) << "both answers put to the test";
}

TEST_F(Computer, OpensInRowsAndColumns5To14AtEveryLevelAndPicksEachTiedCellByItsShareOfTheRandomRange)
{
    for (MenuId level : Levels) {
        choose(level);
        random.push({0.0f, 0.0f, 0.0f, JustBelowOne, JustBelowOne, 0.0f});
        EXPECT_EQ(chosen(), Cell(5, 5));
        EXPECT_EQ(chosen(), Cell(14, 14));
    }
    clickCell(10, 10); // blue to move: the eight neighbours of the red piece tie, in scan order
    const Cell tied[] = {{9, 9}, {9, 10}, {9, 11}, {10, 9}, {10, 11}, {11, 9}, {11, 10}, {11, 11}};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ((random.push({(float(k) + 0.5f) / 8.0f}), chosen()), tied[k]);
    choose(Menu_Stupid); // any free marked cell in the search box, with score one
    clickCell(12, 14);   // the box: rows 9 to 13, columns 9 to 15; column 15 marked from row 11
    std::set<Cell> seen;
    for (int i = 0; i < 3000; ++i) {
        const auto [r, c, score, found] = game.chooseMove();
        ASSERT_TRUE(score == 1 && game.Board(r, c) == Empty && r >= 9 && r <= 13 && c >= 9 && (c < 15 || r >= 11)) << r << "," << c;
        seen.insert({r, c});
    }
    EXPECT_EQ(seen.size(), 5 * 6 + 3 - 2u);
    // At the board's edges the box and the cells near a piece stop at the last row and column.
    choose(Menu_New), clickCell(0, 19), clickCell(19, 19);
    const ComputerPlayer& cp = game.computer();
    EXPECT_EQ((std::array{cp.SearchMinRow, cp.SearchMinCol, cp.SearchMaxRow, cp.SearchMaxCol}), (std::array{0, 18, 19, 19}));
    EXPECT_FALSE(cp.NearPiece[1][0] || cp.NearPiece[2][0] || cp.NearPiece[19][0]);
}

TEST_F(Computer, EachLevelItemChecksOnlyItselfAndSetsItsMarginAndEachGameDrawsItsWeightsOverTheirRanges)
{
    EXPECT_TRUE(game.checked(Menu_Hard) && game.computer().SearchMargin == 4);
    // Each game's coin toss, then the weights' numbers in the order they are drawn, lowest or highest.
    const std::array<float, 5> script[] = {{0.25f, 0.0f, JustBelowOne, JustBelowOne, 0.0f},
                                           {0.25f, JustBelowOne, 0.0f, 0.0f, JustBelowOne}};
    const std::array<int32_t, 5> own[] = {{0, 8, 27, 400, 10000}, {0, 11, 18, 400, 10000}};
    const std::array<int32_t, 5> opp[] = {{0, 7, 20, 140, 3000}, {0, 4, 29, 140, 3000}};
    for (size_t k = 0; k < 4; ++k) {
        choose(Levels[k]);
        random.script.assign(script[k % 2].begin(), script[k % 2].end());
        choose(Menu_HumanComputer);
        EXPECT_EQ(std::count_if(std::begin(Levels), std::end(Levels), [this](MenuId m) { return game.checked(m); }), 1);
        EXPECT_TRUE(game.checked(Levels[k]));
        const Weights& w = game.computer().weights();
        EXPECT_EQ(std::tuple(game.computer().SearchMargin, w.OwnWeight, w.OppWeight, w.WindowBonus),
                  std::tuple(int32_t(k) + 1, own[k % 2], opp[k % 2], 0));
    }
}

} // namespace
} // namespace brindle::testing
