#pragma once
// Learning Master's evaluation weights from finished games: logistic
// regression of each quiet position's result, as the side to move saw it,
// on the features that ShapeBoard::evaluate weighs. brindle-tune (bench/)
// reads the games and writes engine/eval_weights.h from what this learns.
// Standard C++.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/shape_board.h"

namespace brindle::engine::tuning {

using Weights = std::array<double, ShapeBoard::Features>;

struct Sample {
    ShapeBoard::FeatureCounts mover{}, waiting{};
    double result = 0.5; // for the side to move: 1 won, 0.5 drawn, 0 lost
};

// The position as a sample when the evaluation would judge it: nobody has a
// five, a four or an open three to make or to stop, and the side to move has
// no certain win in one. Otherwise nothing.
std::optional<Sample> sampleOf(const ShapeBoard& board, int32_t mover, double result);

// What the weights make of a sample: the evaluation for the side to move.
double evaluate(const Sample& sample, const Weights& mover, const Weights& waiting);

// The mean cross-entropy of the results against sigmoid(evaluation / scale).
double loss(const std::vector<Sample>& samples, const Weights& mover, const Weights& waiting, double scale);

// The scale that fits the weights best, between 1 and 1e6.
double fitScale(const std::vector<Sample>& samples, const Weights& mover, const Weights& waiting);

struct Fit {
    Weights mover{}, waiting{};
    double lossBefore = 0, lossAfter = 0;
};
// Weights that lower the loss from `mover` and `waiting`, by full-batch
// gradient descent at a fixed scale. A feature that no sample shows keeps its
// weight, and no weight goes below zero.
Fit fit(const std::vector<Sample>& samples, const Weights& mover, const Weights& waiting, double scale,
        int32_t iterations);

// engine/eval_weights.h for these weights, rounded, with a line on where they came from.
std::string weightsSource(const Weights& mover, const Weights& waiting, const std::string& origin);

} // namespace brindle::engine::tuning
