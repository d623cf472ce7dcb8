// Master's search on positions with one right answer, and at the edges of
// its work: an empty or full board, a small one, a stop from outside.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
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

TEST(Search, FindsAWinByFoursAndPlaysItFirst)
{
    // Two closed threes crossing at (10,10): each four there is answered
    // where it must be, the second four wins. The other's stones close one
    // end of each line, so neither three is open.
    const struct {
        const char* what;
        Cells mine, theirs;
        bool wins;
    } cases[] = {
        {"four then four-four", {{7, 10}, {8, 10}, {9, 10}, {10, 7}, {10, 8}, {10, 9}}, {{6, 10}, {10, 6}, {0, 0}, {19, 19}, {0, 19}, {19, 0}}, true},
        {"a lone closed three", {{7, 10}, {8, 10}, {9, 10}}, {{6, 10}, {15, 15}, {15, 16}}, false},
        {"a four the other answers with five", {{7, 10}, {8, 10}, {9, 10}}, {{6, 10}, {3, 3}, {3, 4}, {3, 5}, {3, 6}}, false},
    };
    for (const auto& c : cases) {
        Search s = position(c.mine, c.theirs);
        const Search::Move m = s.winByFours(1, 20, 1s);
        EXPECT_EQ(m.x >= 0, c.wins) << c.what;
        if (!c.wins)
            continue;
        // Playing it out: every answer forced, a five at the end.
        ASSERT_EQ(s.at(m.x, m.y), 0) << c.what;
        Search played = position(c.mine, c.theirs);
        int player = 1;
        bool five = false;
        for (int ply = 0; ply < 12 && !five; ++ply, player = 3 - player) {
            const Search::Move r = played.best(player, 200ms);
            ASSERT_TRUE(r.x >= 0 && played.at(r.x, r.y) == 0) << c.what << " ply " << ply;
            played.set(r.x, r.y, player);
            five = player == 1 && played.winByFours(2, 0, 10ms).x < 0 && [&] {
                for (const auto& [dx, dy] : {std::pair(1, 0), {0, 1}, {1, 1}, {1, -1}}) {
                    int run = 1;
                    for (int sign : {1, -1})
                        for (int k = 1; k < 5; ++k) {
                            const int x = r.x + sign * k * dx, y = r.y + sign * k * dy;
                            if (x < 0 || y < 0 || x >= 20 || y >= 20 || played.at(x, y) != 1)
                                break;
                            ++run;
                        }
                    if (run >= 5)
                        return true;
                }
                return false;
            }();
        }
        EXPECT_TRUE(five) << c.what << ": no five";
    }
}

TEST(Search, BreaksTheOthersWinByFours)
{
    // The other has the four-four of the test above waiting at (10,10); a
    // quiet move of ours must take one of the cells of that win.
    Search s = position({{0, 0}, {19, 19}, {0, 19}, {19, 0}, {15, 3}, {3, 15}},
                        {{7, 10}, {8, 10}, {9, 10}, {10, 7}, {10, 8}, {10, 9}});
    s.set(6, 10, 1), s.set(10, 6, 1);
    ASSERT_GE(s.winByFours(2, 20, 1s).x, 0) << "the other wins if left alone";
    const Search::Move m = s.best(1, 300ms);
    ASSERT_TRUE(m.x >= 0 && s.at(m.x, m.y) == 0);
    s.set(m.x, m.y, 1);
    EXPECT_LT(s.winByFours(2, 20, 1s).x, 0) << "played " << m.x << "," << m.y;
}

TEST(Search, RandomPositionsGetAFreeCellInTimeAndTakebacksLeaveNoTrace)
{
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        const int size = round % 3 == 0 ? 9 + round : 20;
        Search s, fresh;
        s.reset(size), fresh.reset(size);
        std::vector<std::pair<int, int>> placed;
        int last = 0; // the colour of the last stone
        const int stones = 10 + static_cast<int>(random() % 60);
        for (int i = 0; i < stones && static_cast<int>(placed.size()) < size * size - 1; ++i) {
            const int x = static_cast<int>(random() % size), y = static_cast<int>(random() % size);
            if (s.at(x, y) != 0)
                continue;
            s.set(x, y, 1 + i % 2), fresh.set(x, y, 1 + i % 2);
            placed.emplace_back(x, y);
            last = 1 + i % 2;
        }
        s.set(-1, 3, 1), s.set(size, 0, 2); // off the board: ignored
        // A stone put down and taken back must leave the same answer as a
        // board that never had it.
        s.set(placed.back().first, placed.back().second, 0);
        s.set(placed.back().first, placed.back().second, 2);
        s.set(placed.back().first, placed.back().second, last);
        const auto start = std::chrono::steady_clock::now();
        const Search::Move m = s.best(1 + round % 2, 50ms);
        // A loose bound that only a search ignoring its time would pass; the
        // strength bench measures the real margin.
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << round;
        ASSERT_TRUE(m.x >= 0 && m.y >= 0 && m.x < size && m.y < size) << round;
        EXPECT_EQ(s.at(m.x, m.y), 0) << round;
        EXPECT_EQ(s.winByFours(1, 3, 5s).x, fresh.winByFours(1, 3, 5s).x) << round;
    }
}

TEST(Search, AWinByFoursNeedsItsDepthAndATakebackRestoresTheCell)
{
    // Row 7's four at (10,7) forces (11,7) and leaves (10,10) a four-four:
    // one four deep, not none.
    const Cells mine{{7, 10}, {8, 10}, {9, 10}, {10, 8}, {10, 9}, {7, 7}, {8, 7}, {9, 7}};
    const Cells theirs{{6, 10}, {6, 7}, {0, 0}, {19, 19}, {0, 19}, {19, 0}};
    const struct {
        int depth;
        bool wins;
    } cases[] = {{0, false}, {1, true}, {3, true}};
    for (const auto& c : cases) {
        Search s = position(mine, theirs);
        EXPECT_EQ(s.winByFours(1, c.depth, 1s).x >= 0, c.wins) << "depth " << c.depth;
    }
    // A stone on the five's cell, the four laid around it, then taken back:
    // the cell must make five again.
    Search s = position({}, {{2, 3}, {15, 15}});
    s.set(7, 3, 2);
    for (const int x : {3, 4, 5, 6})
        s.set(x, 3, 1);
    s.set(7, 3, 0);
    const Search::Move m = s.winByFours(1, 0, 1s);
    EXPECT_EQ(std::pair(m.x, m.y), std::pair(7, 3));
}

TEST(Search, StopsWhenTheFlagTurns)
{
    Search s = position({{9, 9}, {10, 10}, {8, 11}, {11, 9}}, {{9, 10}, {10, 9}, {11, 11}, {8, 8}});
    std::atomic<bool> stop{false};
    std::chrono::steady_clock::duration took{};
    std::thread stopper([&] {
        std::this_thread::sleep_for(50ms);
        stop = true;
    });
    const auto start = std::chrono::steady_clock::now();
    const Search::Move m = s.best(1, 5s, &stop);
    took = std::chrono::steady_clock::now() - start;
    stopper.join();
    EXPECT_LT(took, 1s) << "the flag, not the five seconds, ended it";
    EXPECT_TRUE(m.x >= 0 && s.at(m.x, m.y) == 0);
}

} // namespace
} // namespace brindle::engine
