#include "engine/dsp/FeedbackHistoryPair.h"

namespace {

inline __m128d Add(__m128d a, __m128d b) { return _mm_add_pd(a, b); }
inline __m128d Mul(__m128d a, __m128d b) { return _mm_mul_pd(a, b); }

} // namespace

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

//------------------------------------------------------------------------------
// The list Q records past values of f1, the term that takes the tight
// envelope in; f2 and f3 are averages over older stretches of it.
void FeedbackHistoryPair::Update(__m128d x, __m128d t)
{
    const __m128d w = mWeight;
    const __m128d oldF1 = mF1;
    const __m128d oldF2 = mF2;
    const __m128d* H = nullptr; // H[0] is the newest past h (H1)
    const __m128d* Q = nullptr; // Q[0] is the newest past f1
    switch (mMode)
    {
    case 4:
        mH = Mul(w, Add(x, mH));
        Q = PushFront<14>(mPastQ, mHeadQ, oldF1);
        mF3 = Mul(w, Add(Q[0], Q[1]));
        mF2 = Mul(w, Add(mF3, oldF2));
        mF1 = Mul(w, Add(t, oldF1));
        break;
    case 8:
        H = PushFront<4>(mPastH, mHeadH, mH);
        mH = Mul(w, Add(Add(Add(x, H[0]), H[0]), H[1]));
        Q = PushFront<14>(mPastQ, mHeadQ, oldF1);
        mF3 = Mul(w, Add(Add(Add(Q[4], Q[5]), Q[6]), Q[7]));
        mF2 = Mul(w, Add(Add(Add(Q[0], Q[1]), Q[2]), Q[3]));
        mF1 = Mul(w, Add(Add(Add(t, oldF1), mF2), mF3));
        break;
    case 12:
        H = PushFront<4>(mPastH, mHeadH, mH);
        mH = Mul(w, Add(Add(Add(Add(Add(x, H[0]), H[0]), H[1]), H[2]), H[3]));
        Q = PushFront<14>(mPastQ, mHeadQ, oldF1);
        mF3 = Mul(w, Add(Add(Add(Add(Add(Q[8], Q[9]), Q[10]), Q[11]), Q[12]), Q[13]));
        mF2 = Mul(w, Add(Add(Add(Add(Add(Q[2], Q[3]), Q[4]), Q[5]), Q[6]), Q[7]));
        mF1 = Mul(w, Add(Add(Add(Add(Add(t, oldF1), mF2), mF3), Q[0]), Q[1]));
        break;
    default: // mode 2: a plain shift register of the tight envelope
        mH = x;
        mF3 = oldF2;
        mF2 = oldF1;
        mF1 = t;
        break;
    }
}
