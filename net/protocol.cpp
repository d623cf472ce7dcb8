#include "protocol.h"

namespace brindle::protocol {

std::string TwoDigits(int32_t value)
{
    std::string s(1, '0');
    s += std::to_string(value);
    return s.substr(s.size() - 2);
}

std::string MoveMessage(int32_t row, int32_t col)
{
    return std::string(Marker) + TwoDigits(row) + TwoDigits(col);
}

} // namespace brindle::protocol
