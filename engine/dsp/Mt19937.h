#pragma once
// 32-bit Mersenne Twister (MT19937): 624-word state, the standard seeding
// recurrence (multiplier 1812433253) and the standard output tempering.
// The words are twisted and tempered 624 at a time (SSE2 four words at a
// time, AVX2 eight where the processor has it) and then handed out one by
// one; the sequence is the standard one either way.
//
// Real-time: allocation-free and never throws.

#include <cstdint>

class Mt19937
{
public:
    static constexpr uint32_t kDefaultSeed = 5489u;
    static constexpr int kWords = 624;

    explicit Mt19937(uint32_t seed = kDefaultSeed);

    void Seed(uint32_t seed);
    uint32_t Next()
    {
        if (mIndex >= kWords)
            Refill();
        return mOut[mIndex++];
    }

    // The next n words, as n calls of Next would return them.
    void Fill(uint32_t* out, int n);
    // When the generator stands at the end of a twist (after Seed or after
    // all words of the last twist were drawn): the next kWords words, as
    // kWords calls of Next would return them, in the generator's own buffer,
    // valid until it is used again. Otherwise nullptr (use Fill).
    const uint32_t* NextTwist()
    {
        if (mIndex != kWords)
            return nullptr;
        Refill();
        mIndex = kWords;
        return mOut;
    }

    // Lets the twist use AVX2 where present (the default) or keeps it to
    // SSE2, for tests that compare the two.
    void AllowWideVectors(bool allow);

private:
    void Refill();

    uint32_t mState[kWords];
    uint32_t mOut[kWords]; // tempered words of the current state
    int mIndex = kWords;
    bool mWide = false; // AVX2 twist
};
