#include "game_clock.h"

namespace brindle {

namespace {

// The last two characters of "0" followed by the decimal digits.
std::string twoDigits(int32_t value)
{
    std::string s(1, '0');
    s += std::to_string(value);
    return s.substr(s.size() - 2);
}

} // namespace

std::string GameClock::SekToTime(int32_t Seconds)
{
    int32_t h = 0;
    int32_t m = 0;
    int32_t r = Seconds;
    if (r >= 3600) {
        h = r / 3600;
        r -= h * 3600;
    }
    if (r >= 60) {
        m = r / 60;
        r -= m * 60;
    }
    return twoDigits(h) + ":" + twoDigits(m) + ":" + twoDigits(r);
}

void GameClock::ShowTidSekNet()
{
    txtTime_.Caption = "Red " + SekToTime(RedTime) + " - Blue " + SekToTime(BlueTime);
}

void GameClock::start(int32_t timeLimitSec)
{
    txtTime_.Caption.clear();
    timer_.Enabled = true;
    GameSeconds = 0;
    RedTime = BlueTime = timeLimitSec;
}

char GameClock::tick(bool network, char mover, bool timeLimitOn, bool host)
{
    ++GameSeconds;
    if (!network)
        return 0;
    const bool red = mover == MarkX;
    int32_t& time = red ? RedTime : BlueTime;
    if (!timeLimitOn) {
        ++time;
        return 0;
    }
    --time;
    if (host)
        return time == 0 ? (red ? 'B' : 'R') : 0;
    if (time < 0)
        time = 0;
    return 0;
}

void GameClock::show(bool network)
{
    if (network)
        ShowTidSekNet();
    else
        txtTime_.Caption = SekToTime(GameSeconds);
}

} // namespace brindle
