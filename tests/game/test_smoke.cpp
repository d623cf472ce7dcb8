#include <gtest/gtest.h>

#include "support/fakes.h"

namespace brindle::testing {

TEST(Smoke, StartsAndPlaces)
{
    GameFixture f;
    f.StartHumanHuman();
    f.ClickCell(3, 4);
    EXPECT_EQ(f.game.Board(3, 4), MarkX);
}

} // namespace brindle::testing
