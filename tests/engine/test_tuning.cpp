// Learning the evaluation's weights: what a position counts, which positions
// are samples, and that the fit finds what the results say.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "engine/eval_weights.h"
#include "engine/tuning.h"

namespace brindle::engine::tuning {
namespace {

ShapeBoard boardOf(const std::vector<std::pair<int, int>>& red, const std::vector<std::pair<int, int>>& blue)
{
    ShapeBoard board;
    for (const auto& [x, y] : red)
        board.set(x, y, 1);
    for (const auto& [x, y] : blue)
        board.set(x, y, 2);
    return board;
}

TEST(Tuning, TheEvaluationWeighsTheFeaturesItCounts)
{
    // Red's three in a row, open at both ends: two cells make an open four
    // and two more a four, one at each end.
    const ShapeBoard three = boardOf({{8, 10}, {9, 10}, {10, 10}}, {{9, 12}});
    const auto red = three.features(1);
    EXPECT_EQ(red[OpenFour - 1], 2);
    EXPECT_EQ(red[Four - 1], 2);
    EXPECT_EQ(red[Five - 1], 0);
    EXPECT_EQ(three.features(2)[OpenFour - 1], 0);

    // After play and take-back, evaluate() is the weighed counts, either side to move.
    ShapeBoard board = boardOf({{8, 10}, {9, 11}, {10, 9}, {12, 12}}, {{9, 10}, {10, 10}, {11, 11}});
    board.set(7, 7, 1);
    board.set(7, 7, 0);
    for (const int mover : {1, 2}) {
        const auto own = board.features(mover), other = board.features(3 - mover);
        int64_t expected = 0;
        for (size_t f = 0; f < own.size(); ++f)
            expected += int64_t{MoverWeights[f]} * own[f] - int64_t{WaitingWeights[f]} * other[f];
        EXPECT_EQ(board.evaluate(mover), expected) << "mover " << mover;
    }
}

TEST(Tuning, OnlyPositionsTheEvaluationWouldJudgeAreSamples)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> red, blue;
        int mover;
        bool sample;
    };
    const std::vector<Case> cases = {
        {"quiet", {{9, 9}, {10, 10}}, {{9, 10}, {11, 8}}, 1, true},
        {"the waiting side's open three", {{8, 10}, {9, 10}, {10, 10}}, {{9, 12}, {3, 3}}, 2, false},
        {"the mover's open three: a win in one", {{8, 10}, {9, 10}, {10, 10}}, {{9, 12}, {3, 3}}, 1, false},
        {"the waiting side's four", {{8, 10}, {9, 10}, {10, 10}, {11, 10}}, {{7, 10}, {9, 12}, {3, 3}}, 2, false},
        {"a closed three either side", {{8, 10}, {9, 10}, {10, 10}}, {{7, 10}, {9, 12}}, 1, true},
    };
    for (const Case& c : cases) {
        const auto sample = sampleOf(boardOf(c.red, c.blue), c.mover, 0.25);
        ASSERT_EQ(sample.has_value(), c.sample) << c.what;
        if (sample) {
            EXPECT_EQ(sample->result, 0.25) << c.what;
            EXPECT_EQ(sample->mover, boardOf(c.red, c.blue).features(c.mover)) << c.what;
        }
    }
}

TEST(Tuning, TheFitFindsTheScaleAndTheWeightsTheResultsFollow)
{
    // Results drawn exactly from sigmoid(evaluation / 500) with known weights.
    Weights mover{}, waiting{};
    mover[Four - 1] = 300, waiting[Four - 1] = 600, mover[Two - 1] = 100, waiting[Two - 1] = 50;
    std::vector<Sample> samples;
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            for (int c = 0; c < 3; ++c) {
                Sample s;
                s.mover[Four - 1] = a, s.waiting[Four - 1] = b, s.mover[Two - 1] = c, s.waiting[Two - 1] = 2 - c;
                s.result = 1 / (1 + std::exp(-evaluate(s, mover, waiting) / 500));
                samples.push_back(s);
            }
    EXPECT_NEAR(fitScale(samples, mover, waiting), 500, 1);

    // From flat weights the fit comes back close to them; a feature no sample
    // shows keeps its weight, and none goes below zero.
    Weights flat{};
    flat.fill(200);
    const Fit learned = fit(samples, flat, flat, 500, 4000);
    EXPECT_LT(learned.lossAfter, learned.lossBefore);
    EXPECT_NEAR(learned.mover[Four - 1], 300, 30);
    EXPECT_NEAR(learned.waiting[Four - 1], 600, 30);
    EXPECT_NEAR(learned.mover[Two - 1] + learned.waiting[Two - 1], 150, 30);
    EXPECT_EQ(learned.mover[OpenTwo - 1], 200);
    for (size_t f = 0; f < flat.size(); ++f) {
        EXPECT_GE(learned.mover[f], 0) << f;
        EXPECT_GE(learned.waiting[f], 0) << f;
    }

    Weights shown{};
    shown[0] = 1.4, shown[1] = 2.6;
    const std::string source = weightsSource(shown, flat, "Learned from a test.");
    EXPECT_NE(source.find("MoverWeights = {1, 3, 0, 0, 0, 0, 0, 0, 0, 0};"), std::string::npos) << source;
    EXPECT_NE(source.find("WaitingWeights = {200, 200, 200, "), std::string::npos) << source;
    EXPECT_NE(source.find("// Learned from a test.\n"), std::string::npos) << source;
}

} // namespace
} // namespace brindle::engine::tuning
