#pragma once
// The steps of strength between Hard and Master. A step looks ahead like
// Master but less far and for less time, and then picks among its near-best
// root moves, each weighted by how close its value comes to the best one's
// and the step's temperature, so that a weaker step errs as a player does:
// a good move that is not the best, never a random one. Every step blocks a
// four and an open three, and takes a certain win, as Master does.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>

#include "engine/analysis.h"

namespace brindle::engine {

class Search;

struct StrengthStep {
    int32_t depth;       // the deepest look-ahead
    int32_t candidates;  // how many of the best root moves it chooses among
    int32_t temperature; // in the search's units: a move this far below the best is chosen e (2.7) times less often
    int32_t timePercent; // of Master's time for a move
};

// The steps, weakest first; the last is Master itself.
inline constexpr int32_t Strengths = 8;
inline constexpr std::array<StrengthStep, Strengths> StrengthSteps = {{
    {1, 8, 600, 20},
    {2, 6, 400, 25},
    {2, 5, 250, 30},
    {3, 4, 150, 40},
    {4, 4, 100, 50},
    {5, 3, 60, 60},
    {6, 3, 25, 80},
    {30, 1, 0, 100},
}};
// Step 1 to Strengths; out-of-range numbers are clamped.
const StrengthStep& strengthStep(int32_t strength);

// Which of `thinking`'s candidates to play: candidate i is weighted by
// exp((value_i - value_best) / temperature). A certain win is always taken;
// a certain loss is chosen only when every candidate is one. `uniform` is a
// number in [0, 1) that makes the choice; the same number chooses the same.
size_t pickCandidate(const Thinking& thinking, int32_t temperature, double uniform);

// The move for `player` at `strength` (1 to Strengths), Master's own time
// being `masterTime`: x < 0 on a full board.
Candidate playAtStrength(Search& search, int32_t player, int32_t strength, std::chrono::milliseconds masterTime,
                         const std::atomic<bool>* stop, double uniform);

} // namespace brindle::engine
