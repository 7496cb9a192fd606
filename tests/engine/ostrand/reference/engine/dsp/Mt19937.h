#pragma once
// 32-bit Mersenne Twister (MT19937): 624-word state, the standard seeding
// recurrence (multiplier 1812433253) and the standard output tempering.
//
// Real-time: allocation-free and never throws.

#include <cstdint>

class Mt19937
{
public:
    static constexpr uint32_t kDefaultSeed = 5489u;

    explicit Mt19937(uint32_t seed = kDefaultSeed) { Seed(seed); }

    void Seed(uint32_t seed);
    uint32_t Next();

private:
    void Twist();

    uint32_t mState[624];
    int mIndex = 624;
};
