// The bytes of the messages the game sends: exactly as the other copy reads them.

#include <gtest/gtest.h>

#include "net/protocol.h"

namespace brindle::protocol {
namespace {

TEST(Protocol, BuildsEachMessageWithZeroPaddedFieldsAndTheNameAsStored)
{
    EXPECT_EQ(MoveMessage(3, 15), "~-~0315");
    EXPECT_EQ(MoveMessage(3, 5), "~-~0305");
    EXPECT_EQ(MoveMessage(19, 0), "~-~1900");
    EXPECT_EQ(NewGameMessage(60, 'X', "Ann"), "~-~0060NEWGAMEXAnn");
    EXPECT_EQ(NewGameMessage(0, 'O', ""), "~-~0000NEWGAMEO");
    EXPECT_EQ(NewGameMessage(300, 'O', " Bo b "), "~-~0300NEWGAMEO Bo b ");
    EXPECT_EQ(TimeWinnerMessage('R'), "~-~TimeWinnerR");
    EXPECT_EQ(TimeWinnerMessage('B'), "~-~TimeWinnerB");
}

} // namespace
} // namespace brindle::protocol
