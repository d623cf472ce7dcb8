#pragma once
// What Master thinks of a position, in terms a window can show: how good it
// is for the side to move (a forced win counted in moves), its best line and
// its best few moves. Nothing here knows how the search finds them.

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace brindle::engine {

struct Evaluation {
    // The side to move's advantage in the search's own units, when no win is certain.
    int32_t score = 0;
    // Above 0: the side to move wins in that many of its own moves. Below 0:
    // the other side wins in -winIn of its moves. 0: no win is certain.
    int32_t winIn = 0;

    bool operator==(const Evaluation&) const = default;
};

struct Candidate {
    int32_t x = -1; // column, from 0
    int32_t y = -1; // row, from 0
    Evaluation eval;
    int32_t depth = 0;
};

struct Thinking {
    int32_t depth = 0; // the deepest look-ahead that finished
    int64_t nodes = 0;
    std::chrono::milliseconds elapsed{0};
    Evaluation eval; // of the best move, for the side to move
    // The best move and the moves expected after it, {x, y} each.
    std::vector<std::array<int32_t, 2>> line;
    // The best moves, best first; the first is the line's first move.
    std::vector<Candidate> candidates;
    // The search has ended on its own limits or on a certain result, and no
    // more will come; false when it was stopped from outside.
    bool finished = false;
};

// The evaluation from red's side on a scale from -1 (blue wins) to 1 (red
// wins): what a graph draws and a record keeps.
double redValue(const Evaluation& eval, bool redToMove);
// A player's words for it: "Red wins in 4 moves", "Blue is better", "Even".
std::string verdict(const Evaluation& eval, bool redToMove);
// The number beside the words, for the side to move: "+1.4", "-0.3", "Win in 4", "Loss in 2".
std::string figure(const Evaluation& eval);

} // namespace brindle::engine
