// The arithmetic behind brindle-match's report and records.

#include <gtest/gtest.h>

#include "engine/match_stats.h"

namespace brindle::engine {
namespace {

TEST(MatchStats, EloFollowsTheScoreWithAMarginThatShrinksWithGames)
{
    struct Case {
        Tally tally;
        double difference, margin;
        const char* text;
    };
    const Case cases[] = {
        {{50, 0, 50}, 0.0, 69.0, "0 +/- 69 (95 %)"},           // even: the margin of 100 coin tosses
        {{75, 0, 25}, 190.8, 81.15, "+191 +/- 81 (95 %)"},     // 75 %
        {{30, 40, 30}, 0.0, 53.16, "0 +/- 53 (95 %)"},         // draws narrow it
        {{190, 0, 10}, 511.5, 127.05, "+512 +/- 127 (95 %)"},  // 95 %
        {{1000, 0, 1001}, -0.17, 15.2, "0 +/- 15 (95 %)"},     // a zero has no sign
        {{25, 0, 75}, -190.8, 81.15, "-191 +/- 81 (95 %)"},
    };
    for (const Case& c : cases) {
        const Elo e = eloOf(c.tally);
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(e.bounded);
        EXPECT_NEAR(e.difference, c.difference, 0.1);
        EXPECT_NEAR(e.margin, c.margin, 0.1);
        EXPECT_EQ(toText(e), c.text);
    }
    EXPECT_EQ(toText(eloOf({10, 0, 0})), "+inf (one side took every point)");
    EXPECT_EQ(toText(eloOf({0, 0, 10})), "-inf (one side took every point)");
    EXPECT_DOUBLE_EQ(Tally({3, 2, 5}).score(), 0.4);
}

TEST(MatchStats, FiveOfTheMoversOwnStonesWin)
{
    // Red plays the even moves, blue the odd ones; blue's stones sit far away.
    const auto game = [](std::vector<Stone> red, Stone last) {
        std::vector<Stone> moves;
        for (size_t i = 0; i < red.size(); ++i)
            moves.push_back(red[i]), moves.push_back({int32_t(i), 19});
        moves.push_back(last);
        return moves;
    };
    EXPECT_TRUE(makesFive(game({{5, 5}, {5, 6}, {5, 8}, {5, 9}}, {5, 7}), 8)) << "a column filled in the middle";
    EXPECT_FALSE(makesFive(game({{0, 0}, {1, 0}, {2, 0}}, {4, 0}), 6)) << "a gap";
    std::vector<Stone> blue = game({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, {4, 0});
    EXPECT_FALSE(makesFive(blue, 7)) << "blue's own stones only";
    EXPECT_FALSE(makesFive(blue, 9)) << "past the end";
}

TEST(MatchStats, OpeningsAreReadAsStonesOnTheBoardOrRefused)
{
    EXPECT_EQ(parseOpening("9,9 10,10"), (std::vector<Stone>{{9, 9}, {10, 10}}));
    EXPECT_EQ(parseOpening("  "), std::vector<Stone>{});
    EXPECT_EQ(parseOpening("0,0 19,19"), (std::vector<Stone>{{0, 0}, {19, 19}}));
    for (const char* bad : {"20,1", "1,-1", "9,9 9,9", "9;9", "9,9x", "a,b", "9,"})
        EXPECT_FALSE(parseOpening(bad)) << bad;
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        const auto o = randomOpening(random);
        ASSERT_EQ(o.size(), 2u);
        EXPECT_NE(o[0], o[1]);
        for (const Stone& s : o)
            EXPECT_TRUE(s[0] >= 8 && s[0] <= 11 && s[1] >= 8 && s[1] <= 11);
    }
}

} // namespace
} // namespace brindle::engine
