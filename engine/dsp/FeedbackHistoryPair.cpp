#include "engine/dsp/FeedbackHistoryPair.h"

#include "engine/dsp/FeedbackHistoryMode.h"

//------------------------------------------------------------------------------
void FeedbackHistoryPair::Configure(int rate, int factor)
{
    mMode = FeedbackHistoryMode(rate, factor);
    mWeight = _mm_set1_pd(FeedbackHistoryWeight(mMode));
    mH = mF1 = mF2 = mF3 = _mm_setzero_pd();
}
