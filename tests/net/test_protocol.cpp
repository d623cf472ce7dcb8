// The bytes of the messages the game sends: exactly as the other copy reads them.

#include <gtest/gtest.h>

#include "net/protocol.h"

namespace brindle::protocol {
namespace {

TEST(Protocol, BuildsEachMessageWithZeroPaddedFieldsAndTheNameAsStored)
{
    EXPECT_EQ(moveMessage(3, 15), "~-~0315");
    EXPECT_EQ(moveMessage(3, 5), "~-~0305");
    EXPECT_EQ(moveMessage(19, 0), "~-~1900");
    EXPECT_EQ(newGameMessage(60, 'X', "Ann"), "~-~0060NEWGAMEXAnn");
    EXPECT_EQ(newGameMessage(0, 'O', ""), "~-~0000NEWGAMEO");
    EXPECT_EQ(newGameMessage(300, 'O', " Bo b "), "~-~0300NEWGAMEO Bo b ");
    EXPECT_EQ(timeWinnerMessage('R'), "~-~TimeWinnerR");
    EXPECT_EQ(timeWinnerMessage('B'), "~-~TimeWinnerB");
}

} // namespace
} // namespace brindle::protocol
