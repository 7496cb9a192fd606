#include "engine/dsp/ResampleBiquadPair.h"

#include "engine/dsp/ResampleBiquad.h"

//------------------------------------------------------------------------------
void ResampleBiquadPair::Configure(int factor)
{
    if (factor > 1)
    {
        const ResampleBiquad::Coefficients c = ResampleBiquad::Design(factor);
        mB0 = _mm_set1_pd(c.b0);
        mB1 = _mm_set1_pd(c.b1);
        mB2 = _mm_set1_pd(c.b2);
        mA1 = _mm_set1_pd(c.a1);
        mA2 = _mm_set1_pd(c.a2);
    }
    mX1 = mX2 = mY1 = mY2 = _mm_setzero_pd();
}
