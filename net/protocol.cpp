#include "protocol.h"

namespace brindle::protocol {

namespace {

std::string lastDigits(int32_t value, size_t count)
{
    const std::string s = std::string(count, '0') + std::to_string(value);
    return s.substr(s.size() - count);
}

} // namespace

std::string twoDigits(int32_t value)
{
    return lastDigits(value, 2);
}

std::string moveMessage(int32_t row, int32_t col)
{
    return std::string(Marker) + twoDigits(row) + twoDigits(col);
}

std::string newGameMessage(int32_t timeLimitSec, char firstMark, std::string_view hostName)
{
    return std::string(Marker) + lastDigits(timeLimitSec, 4) + "NEWGAME" + firstMark + std::string(hostName);
}

std::string timeWinnerMessage(char winner)
{
    return std::string(Marker) + "TimeWinner" + winner;
}

} // namespace brindle::protocol
