#pragma once
// The arithmetic of an engine match, standard C++: the Elo difference that a
// score implies with its 95 % margin, the five-in-a-row test of a finished
// move and the random openings.

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace brindle::engine {

struct Tally {
    int wins = 0;
    int draws = 0;
    int losses = 0;
    int games() const { return wins + draws + losses; }
    // Points per game, a draw counting half.
    double score() const;
};

struct Elo {
    double difference = 0; // the first side's, positive when it is stronger
    double margin = 0;     // half the 95 % interval
    bool bounded = true;   // false when one side won or lost every game
};
Elo eloOf(const Tally& tally);
// "+191 +/- 81 (95 %)", "0 +/- 69 (95 %)" (a zero has no sign), or
// "+inf (one side took every point)".
std::string toText(const Elo& elo);

// {x, y}, x the column, both from 0.
using Stone = std::array<int32_t, 2>;

// The stone just played at `last` by the side whose stones are at even
// indices (0, 2 ...) when `last` is even, and odd ones otherwise, makes five
// or more in a row on a 20 x 20 board.
bool makesFive(const std::vector<Stone>& moves, size_t last);

// Two stones, one of each side, on distinct cells of the 4 x 4 middle.
std::vector<Stone> randomOpening(std::mt19937& random);

// "x,y x,y ..." (from 0); none when a stone is off the board, twice on one
// cell, or the text is not a list of stones.
std::optional<std::vector<Stone>> parseOpening(const std::string& text);

} // namespace brindle::engine
