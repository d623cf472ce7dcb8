#include "game/review.h"

#include <cmath>

#include <gtest/gtest.h>

namespace brindle::review {
namespace {

TEST(Review, MarksTheMovesThatThrewTheGameAwayForTheSideThatMadeThem)
{
    using enum record::Note::Mark;
    // Each game's values from red's side, the empty board first; its opener; the marks its moves earn.
    const struct { const char* game; std::vector<double> values; char first; std::vector<record::Note::Mark> marks; } cases[] = {
        {"quiet, just", {0, -0.19, 0, 0.1}, MarkX, {None, None, None}}, {"no move", {0}, MarkX, {}},
        {"red's mistakes, just", {0, 0.1, 0.1, -0.1, 0, -0.49}, MarkX, {None, None, Doubtful, None, Doubtful}},
        {"blue's blunder, blue opening", {0, -0.1, -0.1, 0.5, 1}, MarkO, {None, None, Bad, None}},
        {"the same values, red opening: blue's blunder last", {0, -0.1, -0.1, 0.5, 1}, MarkX, {None, None, None, Bad}},
        {"red's blunder, just", {0, 0.1, 0.2, -0.3}, MarkX, {None, None, Bad}}, {"lost anyway, valued past -1", {0, -0.1, -0.96, -1.5}, MarkX, {None, None, None}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(judge(c.values, c.first), c.marks) << c.game;
    // Moves the values do not reach, or reach with a value not known, lose nothing; the value past the end goes unread.
    std::vector<double> values = {0, NAN, 0.5, 1};
    values.pop_back();
    for (size_t move : {0, 1, 2, 3})
        EXPECT_EQ(loss(values, MarkO, move), 0) << move;
    EXPECT_DOUBLE_EQ(loss({0, -0.3}, MarkX, 1), 0.3);
}

} // namespace
} // namespace brindle::review
