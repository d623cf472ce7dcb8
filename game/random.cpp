#include "random.h"

#include <chrono>

namespace brindle {

namespace {

uint64_t ClockTicks()
{
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace

ClockRandom::ClockRandom() : state_(ClockTicks()) {}

void ClockRandom::Randomize()
{
    state_ = (state_ ^ ClockTicks()) * 0x9E3779B97F4A7C15ull + 1;
}

uint64_t ClockRandom::Next()
{
    // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float ClockRandom::Rnd()
{
    // 24 random bits fill a float's mantissa exactly, so the result stays below 1.
    return static_cast<float>(Next() >> 40) * (1.0f / 16777216.0f);
}

} // namespace brindle
