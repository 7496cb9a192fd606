#pragma once
// Two direct "Clear" oversampling FIRs with the same table, one per lane of a
// (mid, side) vector. Per lane the products and the two running sums (even
// and odd taps) are those of ResampleFir, so each lane is bit-identical to a
// single filter, while one vector step serves both lanes (two taps of both
// lanes per step where the processor has AVX).
//
// Real-time: the constructor allocates for the longest table; Configure,
// ProcessPair and PushPair never allocate, lock or throw.

#include "engine/dsp/LanePair.h"

#include <vector>

class ResampleFirPair
{
public:
    ResampleFirPair();

    // As ResampleFir::Configure, for both lanes.
    void Configure(int rate, int factor);

    // Stores x and returns the filtered pair.
    __m128d ProcessPair(__m128d x);
    // Stores x only.
    void PushPair(__m128d x);
    // ProcessPair of a with xa and of b with xb, in one interleaved loop when
    // both use the same table (the up-sampling filters of one sub-sample);
    // the results are those of the two separate calls.
    static void ProcessTwoPairs(ResampleFirPair& a, __m128d& xa, ResampleFirPair& b, __m128d& xb);

    int Length() const { return mLength; }
    // The AVX sum is used where the processor has it, unless disallowed
    // (tests compare both forms).
    void AllowAvx(bool allow);

private:
    const double* mTable = nullptr; // the table the taps come from
    std::vector<double> mTaps;      // each tap twice, once per lane
    std::vector<double> mHistory; // (mid, side) pairs, twice the length, each pair stored twice
    int mLength = 0;
    int mIndex = 0;
    bool mUseAvx = false;
};
