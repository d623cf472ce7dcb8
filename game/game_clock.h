#pragma once
// The game clock behind Timer1 and the time box: the seconds a game has
// lasted, and in a network game one clock per colour, like a chess clock,
// counting down from the time limit or up without one. Only the host's clock
// ends a game on time.
//
// The seconds are counted on a monotonic clock, not by adding up ticks: a
// tick that comes late because the window was busy catches up every second
// that has passed, and one that comes a little early counts nothing, so the
// time shown never drifts from the real time.

#include <cstdint>
#include <string>
#include <utility>

#include "ports.h"
#include "ui_state.h"

namespace brindle {

class GameClock {
public:
    // The clock runs Timer1 and writes the time box.
    GameClock(Ui& ui, MonotonicClock now) : timer_(ui.Timer1), txtTime_(ui.txtTime), now_(std::move(now)) {}

    // Hours, minutes and seconds, two digits each: 61 is "00:01:01".
    static std::string SekToTime(int32_t Seconds);
    // Both colours' clocks in the time box.
    void ShowTidSekNet();

    // A new game: from zero, or each colour from the time limit (0: none).
    void start(int32_t timeLimitSec);
    void stop() { timer_.Enabled = false; }
    // Goes on from the seconds already counted; the time it stood still
    // does not count. A running clock is left as it is.
    void resume();
    bool running() const { return timer_.Enabled && timer_.Interval > 0; }

    // Timer1 ticked with `mover` ('X' or 'O') to move: every second that has
    // passed since the last one counted goes to the mover's clock. Returns
    // the colour that wins on time ('R' or 'B'), or 0; only the host's clock
    // decides, the joiner's stops at zero and waits to be told.
    char tick(bool network, char mover, bool timeLimitOn, bool host);
    // What the time box shows after a tick.
    void show(bool network);

    int32_t GameSeconds = 0;
    int32_t RedTime = 0;
    int32_t BlueTime = 0;

private:
    // Where the monotonic clock stood when GameSeconds was 0.
    int64_t startedAt_ = 0;
    TimerState& timer_;
    Control& txtTime_;
    MonotonicClock now_;
};

} // namespace brindle
