#include "engine/dsp/FeedbackHistoryPair.h"

//------------------------------------------------------------------------------
void FeedbackHistoryPair::Configure(int rate, int factor)
{
    // Above 50 kHz the history follows F = 2, 4, 6...; below it F = 4, 8, 12.
    const bool high = rate > 49999;
    if (factor < (high ? 2 : 3))
        mMode = 2;
    else if (factor == (high ? 2 : 4))
        mMode = 4;
    else if (factor == (high ? 4 : 8))
        mMode = 8;
    else
        mMode = 12;
    mWeight = _mm_set1_pd(mMode == 2 ? 0.0 : mMode == 4 ? 0.5 : mMode == 8 ? 0.25 : 1.0 / 6.0);
    mH = mF1 = mF2 = mF3 = _mm_setzero_pd();
}
