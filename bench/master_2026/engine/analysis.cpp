#include "engine/analysis.h"

#include <cmath>
#include <cstdlib>

namespace brindle::engine {

namespace {

// The search's units in a stone's worth of advantage, for the number shown;
// and how far from even each of the words begins.
constexpr double UnitsPerPoint = 1000.0;
constexpr int32_t Slightly = 400;
constexpr int32_t Better = 1500;
constexpr int32_t Winning = 6000;

std::string movesText(int32_t moves)
{
    return std::to_string(moves) + (moves == 1 ? " move" : " moves");
}

} // namespace

double redValue(const Evaluation& eval, bool redToMove)
{
    double mover;
    if (eval.winIn != 0)
        mover = eval.winIn > 0 ? 1.0 : -1.0;
    else
        mover = std::tanh(eval.score / (2.0 * Winning));
    return redToMove ? mover : -mover;
}

std::string verdict(const Evaluation& eval, bool redToMove)
{
    const bool moverWins = eval.winIn > 0 || (eval.winIn == 0 && eval.score > 0);
    const std::string leader = moverWins == redToMove ? "Red" : "Blue";
    if (eval.winIn != 0)
        return leader + " wins in " + movesText(std::abs(eval.winIn));
    const int32_t lead = std::abs(eval.score);
    if (lead < Slightly)
        return "Even";
    if (lead < Better)
        return leader + " is slightly better";
    if (lead < Winning)
        return leader + " is better";
    return leader + " is winning";
}

std::string figure(const Evaluation& eval)
{
    if (eval.winIn != 0)
        return (eval.winIn > 0 ? "Win in " : "Loss in ") + std::to_string(std::abs(eval.winIn));
    // In tenths, rounded away from the halves alike for either side; the
    // same in every locale, and a lead too small to show has no sign of loss.
    const long tenths = std::lround(eval.score / (UnitsPerPoint / 10));
    return std::string(tenths < 0 ? "-" : "+") + std::to_string(std::abs(tenths) / 10) + "." +
           std::to_string(std::abs(tenths) % 10);
}

} // namespace brindle::engine
