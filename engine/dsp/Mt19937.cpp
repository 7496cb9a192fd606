#include "engine/dsp/Mt19937.h"

namespace {

constexpr int kN = Mt19937::kWords;
constexpr int kM = 397;
constexpr uint32_t kMatrix = 0x9908b0dfu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7fffffffu;

inline uint32_t Mix(uint32_t current, uint32_t next, uint32_t far)
{
    const uint32_t y = (current & kUpper) | (next & kLower);
    return far ^ (y >> 1) ^ ((0u - (y & 1u)) & kMatrix);
}

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
void Mt19937::Refill()
{
    // The twist in three runs so that no index needs wrapping: words whose
    // partner M places on is still old, words whose partner is already new,
    // and the last word, whose successor is word 0.
    uint32_t* s = mState;
    for (int i = 0; i < kN - kM; ++i)
        s[i] = Mix(s[i], s[i + 1], s[i + kM]);
    for (int i = kN - kM; i < kN - 1; ++i)
        s[i] = Mix(s[i], s[i + 1], s[i + kM - kN]);
    s[kN - 1] = Mix(s[kN - 1], s[0], s[kM - 1]);

    for (int i = 0; i < kN; ++i)
    {
        uint32_t y = s[i];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        y ^= y >> 18;
        mOut[i] = y;
    }
    mIndex = 0;
}

//------------------------------------------------------------------------------
void Mt19937::Fill(uint32_t* out, int n)
{
    while (n > 0)
    {
        if (mIndex >= kN)
            Refill();
        const int run = n < kN - mIndex ? n : kN - mIndex;
        for (int i = 0; i < run; ++i)
            out[i] = mOut[mIndex + i];
        mIndex += run;
        out += run;
        n -= run;
    }
}
