#pragma once
// The texts that travel between two copies of the game. Every control message
// begins with the marker; anything else is chat.

#include <cstdint>
#include <string>
#include <string_view>

namespace brindle::protocol {

inline constexpr std::string_view Marker = "~-~";

// A placed piece: the marker, then row and column as two digits each.
std::string moveMessage(int32_t row, int32_t col);
// The host's new game: the time limit as four digits ("0000" without one),
// "NEWGAME", the mark that opens, the host's name.
std::string newGameMessage(int32_t timeLimitSec, char firstMark, std::string_view hostName);
// The host's clock has decided: 'R' red wins, 'B' blue wins.
std::string timeWinnerMessage(char winner);

// The last two characters of "0" followed by the decimal digits.
std::string twoDigits(int32_t value);

} // namespace brindle::protocol
