#pragma once
// Master's evaluation weights, by feature (see ShapeBoard::features): what
// each empty cell's shape is worth to the side to move and to the side
// waiting. Written by brindle-tune: remake them with scripts/tune-eval.
// Learned from 18696 positions of 1672 games.

#include <array>
#include <cstdint>

namespace brindle::engine {

inline constexpr std::array<int32_t, 10> MoverWeights = {2, 3, 42, 0, 160, 2500, 30000, 2500, 1800, 0};
inline constexpr std::array<int32_t, 10> WaitingWeights = {0, 2, 31, 0, 314, 2500, 30000, 2500, 0, 0};

} // namespace brindle::engine
