#include "engine/dsp/Mt19937.h"

namespace {

constexpr int kN = 624;
constexpr int kM = 397;
constexpr uint32_t kMatrix = 0x9908b0dfu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7fffffffu;

} // namespace

//------------------------------------------------------------------------------
void Mt19937::Seed(uint32_t seed)
{
    mState[0] = seed;
    for (int i = 1; i < kN; ++i)
        mState[i] = 1812433253u * (mState[i - 1] ^ (mState[i - 1] >> 30)) + static_cast<uint32_t>(i);
    mIndex = kN;
}

//------------------------------------------------------------------------------
void Mt19937::Twist()
{
    for (int i = 0; i < kN; ++i)
    {
        const uint32_t y = (mState[i] & kUpper) | (mState[(i + 1) % kN] & kLower);
        mState[i] = mState[(i + kM) % kN] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
    }
    mIndex = 0;
}

//------------------------------------------------------------------------------
uint32_t Mt19937::Next()
{
    if (mIndex >= kN)
        Twist();
    uint32_t y = mState[mIndex++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}
