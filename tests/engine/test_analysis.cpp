// What Master says it thinks, at a fixed depth: its value in a player's
// words, its best line and its best few moves, and how often it reports.

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "engine/search.h"

namespace brindle::engine {
namespace {

using Cells = std::vector<std::pair<int, int>>;

void place(Search& s, const Cells& first, const Cells& second)
{
    s.reset(20);
    for (const auto& [x, y] : first)
        s.set(x, y, 1);
    for (const auto& [x, y] : second)
        s.set(x, y, 2);
}

Search::Limits depth(int d)
{
    Search::Limits limits;
    limits.depth = d;
    return limits;
}

// An opening with no forced win for either side, side 1 to move.
const Cells Quiet1{{9, 11}, {9, 12}, {7, 12}};
const Cells Quiet2{{8, 11}, {9, 10}, {8, 12}};

TEST(Analysis, CertainResultsAreCountedInTheWinnersMoves)
{
    const struct {
        const char* what;
        Cells first, second;
        int winIn;
        std::pair<int, int> move;
        size_t lineAtLeast;
    } cases[] = {
        {"a five to make", {{3, 3}, {4, 3}, {5, 3}, {6, 3}}, {{2, 3}, {9, 9}, {9, 10}, {9, 11}}, 1, {7, 3}, 1},
        {"an open four to make", {{4, 3}, {5, 3}, {6, 3}}, {{9, 9}, {8, 3}}, 2, {3, 3}, 1},
        // A closed three's four, its answer, then an open four on the column.
        {"a win by fours", {{3, 5}, {4, 5}, {5, 5}, {6, 6}, {6, 7}}, {{2, 5}, {0, 0}, {19, 19}, {0, 19}, {19, 0}}, 3,
         {6, 5}, 3},
        // Two open twos crossing at (7,5): a double three, a block, an open four,
        // five. A win by threes is certain, but its moves are not counted.
        {"a win by threes", {{5, 5}, {6, 5}, {7, 6}, {7, 7}}, {{0, 0}, {19, 19}, {0, 19}, {19, 0}}, 0, {7, 5}, 1},
        {"two fives of the other's", {{0, 0}, {19, 19}, {0, 19}}, {{5, 5}, {6, 5}, {7, 5}, {8, 5}, {5, 9}, {6, 9}, {7, 9}, {8, 9}}, -1, {-1, -1}, 1},
    };
    Search s;
    for (const auto& c : cases) {
        place(s, c.first, c.second);
        const uint64_t before = s.board().hash();
        const int32_t stones = s.board().stones();
        const Thinking t = s.analyse(1, depth(3), 3);
        EXPECT_TRUE(s.board().hash() == before && s.board().stones() == stones) << c.what << ": the board is left as it was";
        EXPECT_EQ(t.eval.winIn, c.winIn) << c.what;
        if (c.winIn == 0) {
            EXPECT_EQ(verdict(t.eval, true), "Red is winning") << c.what;
        }
        EXPECT_TRUE(t.finished) << c.what;
        ASSERT_FALSE(t.candidates.empty()) << c.what;
        ASSERT_GE(t.line.size(), c.lineAtLeast) << c.what;
        EXPECT_EQ(t.line.front(), (std::array<int32_t, 2>{t.candidates.front().x, t.candidates.front().y})) << c.what;
        if (c.move.first >= 0) {
            EXPECT_EQ(std::make_pair(t.candidates.front().x, t.candidates.front().y), c.move) << c.what;
        }
    }
    // The other's lone four is blocked, and what follows is looked at all the
    // same; an open four of one's own to make (row 3) does not come first.
    for (const bool openThree : {false, true}) {
        Cells own{{0, 0}, {19, 19}, {0, 19}, {4, 5}};
        if (openThree)
            own = {{4, 5}, {4, 3}, {5, 3}, {6, 3}};
        place(s, own, {{5, 5}, {6, 5}, {7, 5}, {8, 5}});
        const Thinking block = s.analyse(1, depth(3), 3);
        EXPECT_EQ(block.depth, 3) << openThree;
        ASSERT_EQ(block.candidates.size(), 1u) << openThree;
        EXPECT_EQ(std::make_pair(block.candidates[0].x, block.candidates[0].y), std::make_pair(9, 5)) << openThree;
        const Search::Move played = s.best(1, depth(3));
        EXPECT_EQ(std::make_pair(played.x, played.y), std::make_pair(9, 5)) << openThree;
        EXPECT_EQ(played.depth, 0) << "a move to play, not to think about, plays at once";
    }
    // The fours' line: the four, its one answer, the open four.
    place(s, cases[2].first, cases[2].second);
    EXPECT_EQ(s.analyse(1, depth(3), 1).line, (std::vector<std::array<int32_t, 2>>{{6, 5}, {7, 5}, {6, 4}}));
}

TEST(Analysis, CandidatesAreTheBestMovesWithExactValuesAndTheLineIsPlayable)
{
    Search s;
    place(s, Quiet1, Quiet2);
    const Thinking one = s.analyse(1, depth(4), 1);
    place(s, Quiet1, Quiet2);
    const Search::Move best = s.best(1, depth(4));
    std::vector<Thinking> heard;
    place(s, Quiet1, Quiet2);
    const Thinking three = s.analyse(1, depth(4), 3, [&](const Thinking& t) { heard.push_back(t); });

    // The first candidate is the move best() plays, at the value one candidate gives.
    ASSERT_EQ(three.candidates.size(), 3u);
    EXPECT_EQ(std::make_pair(three.candidates[0].x, three.candidates[0].y), std::make_pair(best.x, best.y));
    EXPECT_EQ(std::make_pair(one.candidates[0].x, one.candidates[0].y), std::make_pair(best.x, best.y));
    EXPECT_EQ(three.eval, one.eval);
    EXPECT_EQ(three.depth, 4);
    std::set<std::pair<int, int>> cells;
    for (size_t i = 0; i < 3; ++i) {
        const Candidate& c = three.candidates[i];
        EXPECT_EQ(s.at(c.x, c.y), 0);
        EXPECT_EQ(c.depth, 4);
        cells.insert({c.x, c.y});
        if (i > 0) {
            EXPECT_GE(three.candidates[i - 1].eval.score, c.eval.score) << "candidate " << i;
        }
    }
    EXPECT_EQ(cells.size(), 3u);
    // The line alternates on free cells, each once, and the search left the board as it was.
    ASSERT_GE(three.line.size(), 3u);
    std::set<std::array<int32_t, 2>> lineCells(three.line.begin(), three.line.end());
    EXPECT_EQ(lineCells.size(), three.line.size());
    for (const auto& [x, y] : three.line)
        EXPECT_EQ(s.at(x, y), 0);
    EXPECT_EQ(s.board().stones(), 6);

    // One report for each depth, in order; the last is the result.
    ASSERT_EQ(heard.size(), 4u);
    for (size_t d = 0; d < heard.size(); ++d)
        EXPECT_EQ(heard[d].depth, static_cast<int>(d + 1));
    EXPECT_EQ(heard.back().candidates.size(), 3u);
    EXPECT_EQ(heard.back().line, three.line);
    EXPECT_FALSE(heard.back().finished);
    EXPECT_TRUE(three.finished);

    // Stopped from outside, it says so.
    std::atomic<bool> stop{true};
    Search::Limits stopped = depth(4);
    stopped.stop = &stop;
    place(s, Quiet1, Quiet2);
    EXPECT_FALSE(s.analyse(1, stopped, 3).finished);
}

TEST(Analysis, ValuesReadAsAPlayerWouldSayThem)
{
    const struct {
        Evaluation eval;
        bool redToMove;
        const char* verdict;
        const char* figure;
        double red;
    } cases[] = {
        {{0, 4}, true, "Red wins in 4 moves", "Win in 4", 1},
        {{0, 1}, false, "Blue wins in 1 move", "Win in 1", -1},
        {{0, -5}, false, "Red wins in 5 moves", "Loss in 5", 1},
        {{0, -2}, true, "Blue wins in 2 moves", "Loss in 2", -1},
        {{0, 0}, true, "Even", "+0.0", 0},
        {{399, 0}, true, "Even", "+0.4", 0.0332},
        {{-400, 0}, true, "Blue is slightly better", "-0.4", -0.0333},
        {{1500, 0}, false, "Blue is better", "+1.5", -0.1244},
        {{-1499, 0}, false, "Red is slightly better", "-1.5", 0.1243},
        {{6000, 0}, true, "Red is winning", "+6.0", 0.4621},
        {{-30, 0}, true, "Even", "+0.0", -0.0025},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(verdict(c.eval, c.redToMove), c.verdict) << c.verdict;
        EXPECT_EQ(figure(c.eval), c.figure) << c.verdict;
        EXPECT_NEAR(redValue(c.eval, c.redToMove), c.red, 0.0005) << c.verdict;
    }
}

} // namespace
} // namespace brindle::engine
