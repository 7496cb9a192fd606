#pragma once
// Two "Regular" oversampling biquads with the same design, one per lane of a
// (mid, side) vector. Per lane the arithmetic and its order are those of
// ResampleBiquad, so each lane is bit-identical to a single filter.
//
// Real-time: allocation-free, never throws; output flushed when subnormal.

#include "engine/dsp/LanePair.h"

class ResampleBiquadPair
{
public:
    // As ResampleBiquad::Configure, for both lanes.
    void Configure(int factor);

    __m128d ProcessPair(__m128d x)
    {
        __m128d y = _mm_add_pd(_mm_mul_pd(mB0, x), _mm_mul_pd(mB1, mX1));
        y = _mm_add_pd(y, _mm_mul_pd(mB2, mX2));
        y = _mm_sub_pd(y, _mm_mul_pd(mA1, mY1));
        y = LaneFlushDenormal(_mm_sub_pd(y, _mm_mul_pd(mA2, mY2)));
        mX2 = mX1;
        mX1 = x;
        mY2 = mY1;
        mY1 = y;
        return y;
    }

private:
    __m128d mB0 = _mm_set1_pd(1.0);
    __m128d mB1 = _mm_setzero_pd(), mB2 = _mm_setzero_pd(), mA1 = _mm_setzero_pd(), mA2 = _mm_setzero_pd();
    __m128d mX1 = _mm_setzero_pd(), mX2 = _mm_setzero_pd(), mY1 = _mm_setzero_pd(), mY2 = _mm_setzero_pd();
};
