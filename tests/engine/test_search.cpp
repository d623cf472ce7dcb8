// Master's board and search, at a fixed depth or node count so that every
// answer is the same on any machine: positions with one right answer, wins
// by fours, the edges of its work, and the board's shapes against the rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <utility>
#include <vector>

#include "engine/search.h"
#include "game/types.h"

namespace brindle::engine {
namespace {

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

Search::Limits depth(int d)
{
    Search::Limits limits;
    limits.depth = d;
    return limits;
}

// Two closed threes crossing at (10,10): each four there is answered where it
// must be, the second four wins. The other's stones close one end of each line.
const Cells FourFour{{7, 10}, {8, 10}, {9, 10}, {10, 7}, {10, 8}, {10, 9}};
const Cells FourFourClosed{{6, 10}, {10, 6}, {0, 0}, {19, 19}, {0, 19}, {19, 0}};

TEST(Search, PlaysTheOneRightMoveOfEachPosition)
{
    const struct {
        const char* what;
        Cells mine, theirs;
        Cells answers;
    } cases[] = {
        {"its four, open at one end", {{3, 3}, {4, 3}, {5, 3}, {6, 3}}, {{2, 3}, {9, 9}, {9, 10}}, {{7, 3}}},
        {"a four with a gap", {{3, 3}, {4, 4}, {6, 6}, {7, 7}}, {{9, 0}, {9, 1}, {9, 2}}, {{5, 5}}},
        {"the other's four", {{0, 0}, {1, 0}, {19, 19}}, {{10, 5}, {10, 6}, {10, 7}, {10, 8}, {10, 4}}, {{10, 9}, {10, 3}}},
        {"its five before blocking", {{3, 3}, {4, 3}, {5, 3}, {6, 3}}, {{10, 5}, {10, 6}, {10, 7}, {10, 8}}, {{2, 3}, {7, 3}}},
        {"its open four", {{3, 3}, {4, 3}, {5, 3}}, {{9, 9}, {9, 10}}, {{2, 3}, {6, 3}}},
        {"its win by fours", FourFour, FourFourClosed, {{10, 10}, {11, 10}, {10, 11}}},
        {"an open three of the other's", {{0, 19}, {19, 0}}, {{8, 8}, {9, 8}, {10, 8}}, {{7, 8}, {11, 8}, {6, 8}, {12, 8}}},
    };
    for (const auto& c : cases) {
        Search s = position(c.mine, c.theirs);
        const Search::Move m = s.best(1, depth(4));
        EXPECT_NE(std::find(c.answers.begin(), c.answers.end(), std::pair(m.x, m.y)), c.answers.end())
            << c.what << ": played " << m.x << "," << m.y;
    }
}

TEST(Search, WinsByFoursOnlyWithTheDepthItNeedsAndBreaksTheOthers)
{
    const struct {
        const char* what;
        Cells mine, theirs;
        int fours;
        bool wins;
    } cases[] = {
        {"four then four-four", FourFour, FourFourClosed, 20, true},
        {"a five to make, given no fours", {{7, 10}, {8, 10}, {9, 10}, {10, 10}}, {{6, 10}, {15, 15}, {15, 16}}, 0, true},
        {"a lone closed three", {{7, 10}, {8, 10}, {9, 10}}, {{6, 10}, {15, 15}, {15, 16}}, 20, false},
        {"a four the other answers with five", {{7, 10}, {8, 10}, {9, 10}}, {{6, 10}, {3, 3}, {3, 4}, {3, 5}, {3, 6}}, 20, false},
        {"the other's five waits where no four of its own goes", FourFour,
         {{6, 10}, {10, 6}, {0, 0}, {19, 19}, {0, 19}, {19, 0}, {0, 2}, {1, 2}, {2, 2}, {3, 2}}, 20, false},
        {"the other has two fives waiting", FourFour,
         {{6, 10}, {10, 6}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {16, 17}, {17, 17}, {18, 17}, {19, 17}}, 20, false},
        // Row 7's four at (10,7) forces (11,7) and leaves (10,10) a four-four.
        {"one four deep, given none", {{7, 10}, {8, 10}, {9, 10}, {10, 8}, {10, 9}, {7, 7}, {8, 7}, {9, 7}}, {{6, 10}, {6, 7}}, 0, false},
        {"one four deep, given one", {{7, 10}, {8, 10}, {9, 10}, {10, 8}, {10, 9}, {7, 7}, {8, 7}, {9, 7}}, {{6, 10}, {6, 7}}, 1, true},
        // The same, with the other's one five waiting just where that four goes: the only four, and it still wins.
        {"the one four, blocking", {{7, 10}, {8, 10}, {9, 10}, {10, 8}, {10, 9}, {7, 7}, {8, 7}, {9, 7}, {15, 12}},
         {{6, 10}, {6, 7}, {11, 8}, {12, 9}, {13, 10}, {14, 11}}, 1, true},
    };
    for (const auto& c : cases) {
        Search s = position(c.mine, c.theirs);
        const Search::Move m = s.winByFours(1, c.fours);
        EXPECT_EQ(m.x >= 0, c.wins) << c.what;
        EXPECT_TRUE(c.wins ? s.at(m.x, m.y) == 0 : std::pair(m.x, m.y) == std::pair(-1, -1)) << c.what;
    }
    // The other's one five waiting is where the four-four is: the block wins, and
    // no other four may come first (row 1 has one, nearer the corner).
    Cells diagonal = FourFourClosed;
    diagonal.insert(diagonal.end(), {{11, 11}, {12, 12}, {13, 13}, {14, 14}, {0, 1}});
    Cells closer = FourFour;
    closer.insert(closer.end(), {{15, 15}, {1, 1}, {2, 1}, {3, 1}});
    const Search::Move block = position(closer, diagonal).winByFours(1, 20);
    EXPECT_EQ(std::pair(block.x, block.y), std::pair(10, 10));
    // The other, red, wins by fours if left alone; blue's search is too shallow to see it, and
    // the check of the other's fours keeps it from the move it would have liked best, (14, 9).
    const Cells red{{11, 12}, {13, 10}, {8, 14}, {6, 11}, {12, 11}, {15, 15}, {7, 9}, {11, 4}, {6, 15}, {6, 12}},
        blue{{4, 12}, {9, 15}, {9, 11}, {7, 6}, {15, 14}, {7, 5}, {6, 4}, {14, 6}, {4, 8}};
    Search s = position(red, blue);
    ASSERT_GE(s.winByFours(1, 24).x, 0) << "red wins if left alone";
    const Search::Move m = s.best(2, depth(1));
    s.set(m.x, m.y, 2);
    EXPECT_LT(s.winByFours(1, 24).x, 0) << "played " << m.x << "," << m.y;
}

// Red to move wins by threes and fours, three threats deep, with no win by fours alone.
const Cells ThreatsRed{{9, 9}, {10, 9}, {9, 10}, {11, 11}};
const Cells ThreatsBlue{{8, 8}, {12, 8}, {8, 12}, {5, 5}};

// Plays the game on from `s`: `attacker` follows its win by threats, found
// afresh each move with the fewest threats it needs, and the other side
// answers with the search at `defence` depth. Whether the attacker made five.
bool threatsWinAgainst(Search s, int attacker, int defence)
{
    for (int move = 0, side = attacker; move < 40; ++move, side = 3 - side) {
        Search::Move m;
        if (side == attacker) {
            for (int threats = 1; threats <= 6 && m.x < 0; ++threats)
                m = s.winByThreats(side, threats, 400000);
            if (m.x < 0)
                return false; // it lost the thread
        } else {
            m = s.best(side, depth(defence));
        }
        if (m.x < 0)
            return false;
        const bool five = s.board().threat(side, ShapeBoard::cellAt(m.x, m.y)) & MakesFive;
        s.set(m.x, m.y, side);
        if (five)
            return side == attacker;
    }
    return false;
}

TEST(Search, WinsByThreatsWithTheThreatsItNeedsAndTheWinHoldsAgainstEveryDefence)
{
    Search s = position(ThreatsRed, ThreatsBlue);
    EXPECT_LT(s.winByFours(1, 24).x, 0) << "no win by fours alone";
    EXPECT_LT(s.winByThreats(1, 2, 400000).x, 0) << "two threats are not enough";
    const Search::Move first = s.winByThreats(1, 3, 400000);
    ASSERT_GE(first.x, 0) << "three are";
    EXPECT_LT(s.winByThreats(2, 6, 400000).x, 0) << "blue has none";
    EXPECT_LT(s.winByThreats(1, 3, 100).x, 0) << "a search cut short by its nodes finds nothing";
    for (const int defence : {1, 2, 4})
        EXPECT_TRUE(threatsWinAgainst(s, 1, defence)) << "a defender looking " << defence << " deep";
    // The search plays it at once, whatever its depth, and says so when asked.
    const Search::Move played = s.best(1, depth(1));
    EXPECT_EQ(std::tuple(played.x, played.y, played.depth), std::tuple(first.x, first.y, 0)) << "played before any look-ahead";
    const Thinking t = s.analyse(1, depth(2), 2);
    ASSERT_EQ(t.candidates.size(), 1u);
    EXPECT_EQ(std::pair(t.candidates[0].x, t.candidates[0].y), std::pair(first.x, first.y));
}

TEST(Search, FindsTheDefenceToTheOthersWinByThreats)
{
    // Blue's two twos win by threats, however red blocks them; only red's own
    // column, a counter that blue must answer, holds.
    const Cells red{{2, 7}, {10, 10}, {9, 7}, {2, 4}}, blue{{5, 5}, {6, 5}, {7, 6}, {7, 7}};
    ASSERT_GE(position(red, blue).winByThreats(2, 5, 400000).x, 0) << "blue wins if left alone";
    for (const auto& [x, y] : {std::pair(7, 4), {7, 5}, {4, 5}, {8, 5}}) {
        Search s = position(red, blue);
        s.set(x, y, 1);
        EXPECT_GE(s.winByThreats(2, 6, 400000).x, 0) << "a block at " << x << "," << y << " does not hold";
    }
    // Helping threads, a depth ahead or not, change nothing of it.
    for (const auto& [d, threads] : {std::pair(2, 1), {3, 1}, {2, 3}, {3, 2}}) {
        Search s = position(red, blue);
        s.setThreads(threads);
        const Search::Move m = s.best(1, depth(d));
        s.set(m.x, m.y, 1);
        EXPECT_LT(s.winByThreats(2, 6, 400000).x, 0)
            << "depth " << d << ", " << threads << " threads: " << m.x << "," << m.y << " leaves blue its win";
        EXPECT_LT(s.winByFours(2, 24).x, 0);
    }
}

TEST(Search, AlwaysAnswersAFreeCellWithinItsNodesAndNothingOnAFullBoard)
{
    Search s;
    EXPECT_EQ(std::pair(s.best(1, depth(2)).x, s.best(1, depth(2)).y), std::pair(10, 10)) << "the centre opens";
    s.reset(5);
    for (int i = 0; i < 25; ++i) { // a small board filled to the last cell, both sides searching
        const Search::Move m = s.best(1 + i % 2, depth(3));
        ASSERT_TRUE(m.x >= 0 && m.x < 5 && m.y >= 0 && m.y < 5 && s.at(m.x, m.y) == 0) << i;
        s.set(m.x, m.y, 1 + i % 2);
    }
    EXPECT_LT(s.best(1, depth(3)).x, 0) << "a full board has no move";

    // Unbounded but for its nodes, or a stop already given: either ends it, with a free cell.
    const Cells mine{{9, 9}, {10, 10}, {8, 11}, {11, 9}}, theirs{{9, 10}, {10, 9}, {11, 11}, {8, 8}};
    Search::Limits nodes;
    nodes.nodes = 5000;
    Search bounded = position(mine, theirs), again = position(mine, theirs);
    const Search::Move m = bounded.best(1, nodes);
    EXPECT_TRUE(m.x >= 0 && bounded.at(m.x, m.y) == 0);
    EXPECT_TRUE(m.nodes >= 5000 && m.nodes < 5000 + 64) << m.nodes;
    EXPECT_GT(m.depth, 0);
    const Search::Move n = again.best(1, nodes);
    EXPECT_EQ(std::tuple(n.x, n.y, n.depth, n.nodes), std::tuple(m.x, m.y, m.depth, m.nodes)) << "the same on any machine";
    const std::atomic<bool> stop{true};
    Search::Limits stopped;
    stopped.stop = &stop;
    Search s2 = position(mine, theirs);
    const Search::Move o = s2.best(1, stopped);
    EXPECT_TRUE(o.nodes < 200) << o.nodes;
    EXPECT_EQ(std::pair(o.x, o.y), std::pair(9, 11)) << "the move the ordering ranks first, not the first in the list";
}

TEST(ShapeBoard, AFourAgainstTheEdgeIsClosedAndOneInTheOpenWins)
{
    ShapeBoard board;
    for (const int x : {0, 1, 2, 12, 13, 14})
        board.set(x, 5, 1);
    const uint8_t edge = board.threat(1, ShapeBoard::cellAt(3, 5)), open = board.threat(1, ShapeBoard::cellAt(11, 5));
    EXPECT_TRUE((edge & MakesFour) && !(edge & MakesWin)) << "the wall closes the four";
    EXPECT_TRUE(open & MakesWin) << "an open four";
    EXPECT_EQ(board.shape(1, ShapeBoard::cellAt(3, 5), 0), Four);
    EXPECT_EQ(board.shape(2, ShapeBoard::cellAt(3, 5), 0), Nothing);
}

TEST(ShapeBoard, EachCellsFiveAgreesWithTheRuleAndTakebacksLeaveNoTrace)
{
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const int size = round % 4 == 0 ? 9 + round % 11 : 20;
        ShapeBoard board, fresh;
        board.reset(size), fresh.reset(size);
        const int stones = 10 + static_cast<int>(random() % 120);
        for (int i = 0; i < stones; ++i) {
            const int x = static_cast<int>(random() % size), y = static_cast<int>(random() % size);
            if (board.at(x, y) != 0)
                continue;
            const int player = 1 + static_cast<int>(random() % 2);
            // Half the time a stone of the other colour comes and goes first.
            if (random() % 2)
                board.set(x, y, 3 - player), board.set(x, y, 0);
            board.set(x, y, player), fresh.set(x, y, player);
        }
        board.set(-1, 3, 1), board.set(size, 0, 2), board.set(2, 2, 3); // not on the board, or not a side: ignored
        ASSERT_EQ(board.hash(), fresh.hash()) << round;
        ASSERT_EQ(board.evaluate(1), fresh.evaluate(1)) << round;
        for (const int16_t cell : board.cells()) {
            const int x = ShapeBoard::xOf(cell), y = ShapeBoard::yOf(cell);
            if (board.stone(cell) != 0)
                continue;
            for (int player = 1; player <= 2; ++player) {
                ASSERT_EQ(board.threat(player, cell), fresh.threat(player, cell)) << round;
                const bool five = inLineOfFive(y, x, [&](int32_t r, int32_t c) {
                    return (r == y && c == x) || (r < size && c < size && board.at(c, r) == player);
                });
                ASSERT_EQ((board.threat(player, cell) & MakesFive) != 0, five) << round << ": " << x << "," << y;
            }
        }
    }
}

} // namespace
} // namespace brindle::engine
