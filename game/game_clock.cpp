#include "game_clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>

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

int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string localDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16] = "";
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

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
    ++timer_.Restarts;
    GameSeconds = 0;
    startedAt_ = now_();
    RedTime = BlueTime = timeLimitSec;
}

void GameClock::resume()
{
    if (timer_.Enabled)
        return;
    timer_.Enabled = true;
    ++timer_.Restarts;
    startedAt_ = now_() - int64_t{GameSeconds} * 1000;
}

char GameClock::tick(bool network, char mover, bool timeLimitOn, bool host)
{
    // Ticks come about a whole second after the start, a few milliseconds
    // early or late: the nearest whole second is the one that has passed.
    const int64_t passed = (now_() - startedAt_ + 500) / 1000;
    const int64_t due = std::min<int64_t>(passed, std::numeric_limits<int32_t>::max());
    if (due <= GameSeconds)
        return 0;
    const auto seconds = static_cast<int32_t>(due - GameSeconds);
    GameSeconds = static_cast<int32_t>(due);
    if (!network)
        return 0;
    const bool red = mover == MarkX;
    int32_t& time = red ? RedTime : BlueTime;
    if (!timeLimitOn) {
        time += seconds;
        return 0;
    }
    // A clock that has run out shows zero, never less.
    time = std::max(time - seconds, 0);
    if (host && time == 0)
        return red ? 'B' : 'R';
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
