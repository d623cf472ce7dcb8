// Master's search on positions with one right answer, and at the edges of
// its work: an empty or full board, a small one, a stop from outside.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <utility>
#include <vector>

#include "engine/search.h"

namespace brindle::engine {
namespace {

using namespace std::chrono_literals;
using Cells = std::vector<std::pair<int, int>>;

Search position(const Cells& mine, const Cells& theirs, int size = 20)
{
    Search s;
    s.reset(size);
    for (const auto& [x, y] : mine)
        s.set(x, y, 1);
    for (const auto& [x, y] : theirs)
        s.set(x, y, 2);
    return s;
}

TEST(Search, TakesAFiveStopsTheOthersAndPrefersItsOwn)
{
    const struct {
        const char* what;
        Cells mine, theirs;
        std::vector<std::pair<int, int>> answers;
    } cases[] = {
        {"its four, open at one end", {{3, 3}, {4, 3}, {5, 3}, {6, 3}}, {{2, 3}, {9, 9}, {9, 10}}, {{7, 3}}},
        {"a four with a gap", {{3, 3}, {4, 4}, {6, 6}, {7, 7}}, {{9, 0}, {9, 1}, {9, 2}}, {{5, 5}}},
        {"the other's four", {{0, 0}, {1, 0}, {19, 19}}, {{10, 5}, {10, 6}, {10, 7}, {10, 8}, {10, 4}}, {{10, 9}, {10, 3}}},
        {"its five before blocking", {{3, 3}, {4, 3}, {5, 3}, {6, 3}}, {{10, 5}, {10, 6}, {10, 7}, {10, 8}}, {{2, 3}, {7, 3}}},
        {"an open three of the other's", {{0, 19}, {19, 0}}, {{8, 8}, {9, 8}, {10, 8}}, {{7, 8}, {11, 8}, {6, 8}, {12, 8}}},
    };
    for (const auto& c : cases) {
        Search s = position(c.mine, c.theirs);
        const Search::Move m = s.best(1, 200ms);
        EXPECT_NE(std::find(c.answers.begin(), c.answers.end(), std::pair(m.x, m.y)), c.answers.end())
            << c.what << ": played " << m.x << "," << m.y;
    }
}

TEST(Search, TurnsAnOpenThreeIntoAFiveWhateverTheOtherDoes)
{
    Search s = position({{8, 10}, {9, 10}, {10, 10}}, {{8, 12}, {15, 3}});
    int player = 1;
    for (int ply = 0; ply < 7; ++ply, player = 3 - player) {
        const Search::Move m = s.best(player, 150ms);
        ASSERT_TRUE(m.x >= 0 && s.at(m.x, m.y) == 0) << ply;
        s.set(m.x, m.y, player);
        int run = 1; // red's row 10 only, where its three lies
        for (int x = m.x + 1; m.y == 10 && x < 20 && s.at(x, 10) == 1; ++x)
            ++run;
        for (int x = m.x - 1; m.y == 10 && x >= 0 && s.at(x, 10) == 1; --x)
            ++run;
        if (player == 1 && run >= 5)
            return;
    }
    FAIL() << "no five within four moves";
}

TEST(Search, AlwaysAnswersAFreeCellInTimeAndNothingOnAFullBoard)
{
    Search s;
    s.reset(20);
    EXPECT_EQ(std::pair(s.best(1, 10ms).x, s.best(1, 10ms).y), std::pair(10, 10)) << "the centre opens";
    s.reset(5);
    for (int i = 0; i < 25; ++i) { // a small board filled to the last cell, both sides searching
        const Search::Move m = s.best(1 + i % 2, 20ms);
        ASSERT_TRUE(m.x >= 0 && m.x < 5 && m.y >= 0 && m.y < 5 && s.at(m.x, m.y) == 0) << i;
        s.set(m.x, m.y, 1 + i % 2);
    }
    EXPECT_LT(s.best(1, 10ms).x, 0) << "a full board has no move";

    Search busy = position({{9, 9}, {10, 10}, {8, 11}}, {{9, 10}, {10, 9}, {11, 11}});
    const std::atomic<bool> stop{true};
    const auto start = std::chrono::steady_clock::now();
    const Search::Move m = busy.best(1, 10s, &stop);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "a stop from outside ends the thinking";
    EXPECT_TRUE(m.x >= 0 && busy.at(m.x, m.y) == 0);
}

} // namespace
} // namespace brindle::engine
