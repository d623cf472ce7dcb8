#pragma once
// Judging a reviewed game: which moves threw the most away for the side that
// made them, from the engine's value of every position.

#include <cstddef>
#include <vector>

#include "record.h"

namespace brindle::review {

// How much of the game a move may throw away before it is marked, on the
// scale of record::Note's values (-1 to 1).
inline constexpr double DoubtfulLoss = 0.2; // a mistake
inline constexpr double BadLoss = 0.5;      // a blunder
// A side at or past this value has the game decided, and its moves go
// unmarked: lost anyway, or still winning. With the values kept to -1..1 no
// such move can lose a mistake's worth, so no test of its own is needed.
inline constexpr double Decided = 0.95;
static_assert(1 - Decided < DoubtfulLoss && DoubtfulLoss <= BadLoss);

// values[i]: the position after i moves (values[0] is the empty board), from
// red's side, -1..1 as in record::Note; values outside are taken as -1 or 1.
// `first`: the mark that opened (MarkX red or MarkO blue). Gives one mark per
// move, values.size() - 1 of them; none for fewer than two values.
std::vector<record::Note::Mark> judge(const std::vector<double>& values, char first);

// How far move n (from 1) threw the game away for the side that made it:
// the value before it less the value after, from the mover's side; never
// below 0, and 0 for a move the values do not reach or do not know (NaN).
double loss(const std::vector<double>& values, char first, size_t move);

} // namespace brindle::review
