// The steps of strength between Hard and Master: which near-best move a step
// picks, and that what it plays is legal, among the moves it weighed, and a
// block wherever a block is needed. Every search here is bounded by depth.

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <utility>
#include <vector>

#include "engine/search.h"
#include "engine/strength.h"

namespace brindle::engine {
namespace {

using Cells = std::vector<std::pair<int, int>>;

Thinking candidates(std::vector<Evaluation> evals)
{
    Thinking t;
    for (size_t i = 0; i < evals.size(); ++i)
        t.candidates.push_back({static_cast<int32_t>(i), 0, evals[i], 3});
    return t;
}

TEST(Strength, PicksANearBestMoveByItsWeight)
{
    // Values 0, -100 and -200 at temperature 100 weigh 1, 1/e and 1/e²:
    // together 1.5032, so the first takes [0, 0.665), the second up to 0.910.
    const Thinking three = candidates({{0, 0}, {-100, 0}, {-200, 0}});
    const struct {
        const char* what;
        Thinking thinking;
        int32_t temperature;
        double uniform;
        size_t chosen;
    } cases[] = {
        {"the low end takes the best", three, 100, 0.0, 0},
        {"just below the best's share", three, 100, 0.66, 0},
        {"just past it, the second", three, 100, 0.67, 1},
        {"just below the second's end", three, 100, 0.90, 1},
        {"past it, the third", three, 100, 0.92, 2},
        {"the top end", three, 100, 0.9999999, 2},
        {"no temperature: always the best", three, 0, 0.99, 0},
        {"a hotter step spreads wider", three, 1000, 0.40, 1},
        {"a certain win is always taken", candidates({{0, 3}, {500, 0}}), 100, 0.99, 0},
        {"a certain loss is never chosen beside a move that is not", candidates({{0, 0}, {0, -2}, {-50, 0}}), 100, 0.7,
         2},
        {"every move loses: the first", candidates({{0, -2}, {0, -3}}), 100, 0.9, 0},
        {"one candidate", candidates({{10, 0}}), 100, 0.9, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pickCandidate(c.thinking, c.temperature, c.uniform), c.chosen) << c.what;
}

TEST(Strength, TheStepsGrowStrongerUpToMaster)
{
    for (int32_t s = 2; s <= Strengths; ++s) {
        const StrengthStep &weaker = strengthStep(s - 1), &stronger = strengthStep(s);
        EXPECT_GE(stronger.depth, weaker.depth) << s;
        EXPECT_LE(stronger.temperature, weaker.temperature) << s;
        EXPECT_GE(stronger.timePercent, weaker.timePercent) << s;
        EXPECT_LE(stronger.candidates, weaker.candidates) << s;
    }
    EXPECT_EQ(strengthStep(Strengths).candidates, 1) << "the last step is Master";
    EXPECT_EQ(strengthStep(Strengths).timePercent, 100);
    EXPECT_EQ(&strengthStep(0), &strengthStep(1)) << "numbers below the steps are the weakest";
    EXPECT_EQ(&strengthStep(99), &strengthStep(Strengths));
}

void place(Search& s, const Cells& first, const Cells& second)
{
    s.reset(20);
    for (const auto& [x, y] : first)
        s.set(x, y, 1);
    for (const auto& [x, y] : second)
        s.set(x, y, 2);
}

// Time enough for every step below Master to stop at its depth, never at its time.
constexpr std::chrono::hours Unhurried{1};

// One test a step below Master, each with time of its own under the sanitizers.
class EveryStep : public ::testing::TestWithParam<int32_t> {};

TEST_P(EveryStep, PlaysALegalMoveAmongTheBestItWeighed)
{
    const Cells red{{9, 11}, {9, 12}, {7, 12}, {10, 10}}, blue{{8, 11}, {9, 10}, {8, 12}, {11, 11}};
    Search s;
    {
        const int32_t step = GetParam();
        place(s, red, blue);
        const Thinking weighed =
            s.analyse(1, Search::Limits{{}, strengthStep(step).depth, 0, nullptr}, strengthStep(step).candidates);
        std::set<std::pair<int32_t, int32_t>> allowed;
        for (const Candidate& c : weighed.candidates)
            allowed.insert({c.x, c.y});
        EXPECT_EQ(allowed.size(), static_cast<size_t>(strengthStep(step).candidates)) << "step " << step;
        std::set<std::pair<int32_t, int32_t>> played;
        for (const double uniform : {0.0, 0.3, 0.6, 0.95}) {
            const Candidate c = playAtStrength(s, 1, step, Unhurried, nullptr, uniform);
            ASSERT_EQ(s.at(c.x, c.y), 0) << "step " << step << " played on a taken cell";
            EXPECT_TRUE(allowed.count({c.x, c.y})) << "step " << step << " played " << c.x << "," << c.y;
            played.insert({c.x, c.y});
        }
        if (step <= 2) {
            EXPECT_GT(played.size(), 1u) << "step " << step << " always plays the same move";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Strength, EveryStep, ::testing::Range(1, Strengths));

TEST(Strength, EveryStepBlocksAndTakesWhatMasterWould)
{
    const struct {
        const char* what;
        Cells red, blue;
        std::set<std::pair<int32_t, int32_t>> answers;
    } cases[] = {
        {"a four to block", {{2, 2}, {9, 9}, {14, 4}}, {{5, 5}, {6, 5}, {7, 5}, {8, 5}}, {{4, 5}, {9, 5}}},
        {"an open three to block", {{2, 2}, {9, 9}, {14, 4}}, {{5, 5}, {6, 5}, {7, 5}}, {{4, 5}, {8, 5}, {3, 5}, {9, 5}}},
        {"a five to make", {{5, 7}, {6, 7}, {7, 7}, {8, 7}}, {{5, 5}, {6, 5}, {7, 5}, {4, 7}}, {{9, 7}}},
        {"an open four to make", {{5, 7}, {6, 7}, {7, 7}, {14, 14}}, {{5, 5}, {6, 5}, {1, 1}, {4, 8}}, {{4, 7}, {8, 7}}},
    };
    Search s;
    for (const auto& c : cases)
        for (int32_t step = 1; step < Strengths; ++step)
            for (const double uniform : {0.0, 0.99}) {
                place(s, c.red, c.blue);
                const Candidate m = playAtStrength(s, 1, step, Unhurried, nullptr, uniform);
                EXPECT_TRUE(c.answers.count({m.x, m.y})) << c.what << ", step " << step << ": " << m.x << "," << m.y;
            }
}

} // namespace
} // namespace brindle::engine
