#include "review.h"

#include <algorithm>

namespace brindle::review {

double loss(const std::vector<double>& values, char first, size_t move)
{
    if (move == 0 || move >= values.size())
        return 0;
    const bool red = (move % 2 == 1) == (first != MarkO);
    const double drop = std::clamp(values[move - 1], -1.0, 1.0) - std::clamp(values[move], -1.0, 1.0);
    const double own = red ? drop : -drop;
    // Written so that NaN, a value not known, is no loss either.
    return own > 0 ? own : 0;
}

std::vector<record::Note::Mark> judge(const std::vector<double>& values, char first)
{
    using Mark = record::Note::Mark;
    std::vector<Mark> marks;
    for (size_t move = 1; move < values.size(); ++move) {
        const double lost = loss(values, first, move);
        marks.push_back(lost >= BadLoss ? Mark::Bad : lost >= DoubtfulLoss ? Mark::Doubtful : Mark::None);
    }
    return marks;
}

} // namespace brindle::review
