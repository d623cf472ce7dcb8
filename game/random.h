#pragma once
// The program's random numbers: a small, fast generator that Randomize() stirs
// with the clock, so that reseeding twice within one clock tick still moves on.

#include <cstdint>

#include "ports.h"

namespace brindle {

class ClockRandom final : public RandomSource {
public:
    ClockRandom();
    // A fixed seed gives a repeatable sequence until the next Randomize().
    explicit ClockRandom(uint64_t seed) : state_(seed) {}
    void Randomize() override;
    float Rnd() override;

private:
    uint64_t Next();
    uint64_t state_;
};

} // namespace brindle
