#include "protocol.h"

namespace brindle::protocol {

namespace {

std::string LastDigits(int32_t value, size_t count)
{
    const std::string s = std::string(count, '0') + std::to_string(value);
    return s.substr(s.size() - count);
}

} // namespace

std::string TwoDigits(int32_t value)
{
    return LastDigits(value, 2);
}

std::string MoveMessage(int32_t row, int32_t col)
{
    return std::string(Marker) + TwoDigits(row) + TwoDigits(col);
}

std::string NewGameMessage(int32_t timeLimitSec, char firstMark, std::string_view hostName)
{
    return std::string(Marker) + LastDigits(timeLimitSec, 4) + "NEWGAME" + firstMark + std::string(hostName);
}

std::string TimeWinnerMessage(char winner)
{
    return std::string(Marker) + "TimeWinner" + winner;
}

} // namespace brindle::protocol
