#pragma once
// Program-wide values shared by the main window and the network dialogs. One
// object per running copy, owned by the application.

#include <array>
#include <cstdint>
#include <string>

namespace brindle {

struct Globals {
    // Score(1) red wins, Score(2) blue wins, Score(3) draws; Score(0) unused.
    std::array<int32_t, 4> Score{};

    std::string NetRole; // "HOST" or "CLIENT"
    bool NetPending = false;
    std::string HostName;   // the red player
    std::string PlayerName; // the blue player
    bool TimeLimitOn = false;
    int32_t TimeLimitSec = 60;
};

} // namespace brindle
