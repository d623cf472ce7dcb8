#include "engine/strength.h"

#include <algorithm>
#include <cmath>

#include "engine/search.h"

namespace brindle::engine {

const StrengthStep& strengthStep(int32_t strength)
{
    return StrengthSteps[static_cast<size_t>(std::clamp(strength, 1, Strengths) - 1)];
}

size_t pickCandidate(const Thinking& thinking, int32_t temperature, double uniform)
{
    const auto& c = thinking.candidates;
    if (c.size() <= 1 || temperature <= 0 || c.front().eval.winIn != 0)
        return 0; // the best, or a certain win, or nothing to choose between
    // A certain loss weighs nothing beside any other move.
    std::vector<double> weights(c.size(), 0.0);
    const double best = c.front().eval.score;
    double total = 0;
    for (size_t i = 0; i < c.size(); ++i)
        if (c[i].eval.winIn == 0)
            total += weights[i] = std::exp((c[i].eval.score - best) / temperature);
    if (total <= 0)
        return 0;
    double at = std::clamp(uniform, 0.0, 1.0) * total;
    for (size_t i = 0; i < c.size(); ++i) {
        if (weights[i] > 0 && at < weights[i])
            return i;
        at -= weights[i];
    }
    // Rounding left a sliver past the last weight: the last move that has one.
    size_t last = 0;
    for (size_t i = 0; i < c.size(); ++i)
        if (weights[i] > 0)
            last = i;
    return last;
}

Candidate playAtStrength(Search& search, int32_t player, int32_t strength, std::chrono::milliseconds masterTime,
                         const std::atomic<bool>* stop, double uniform)
{
    const StrengthStep& step = strengthStep(strength);
    const Search::Limits limits{std::max(masterTime * step.timePercent / 100, std::chrono::milliseconds(1)), step.depth, 0,
                                stop};
    const Thinking t = search.analyse(player, limits, step.candidates);
    if (t.candidates.empty())
        return {};
    return t.candidates[pickCandidate(t, step.temperature, uniform)];
}

} // namespace brindle::engine
