#pragma once
// The feedback history of mid and side in the two lanes of one vector: the
// same modes, weights and lists of past values as FeedbackHistory, with one
// ring head for both lanes since they always advance together. Per lane the
// arithmetic and its order are those of FeedbackHistory, so each lane is
// bit-identical to the corresponding channel there.
//
// Real-time: allocation-free and never throws. The update is inline: it
// runs once per oversampled sub-sample.

#include "engine/dsp/LanePair.h"

class FeedbackHistoryPair
{
public:
    // As FeedbackHistory::Configure: mode and weight for the base rate and F;
    // zeroes h, f1, f2, f3 and keeps the lists of past values.
    void Configure(int rate, int factor);

    // One sub-sample: x is the fed-back value per lane (the sidechain value
    // when ext is on, else the output value), t the tight envelope.
    void Update(__m128d x, __m128d t);

    __m128d H() const { return mH; }
    __m128d F1() const { return mF1; }
    __m128d F2() const { return mF2; }
    __m128d F3() const { return mF3; }
    int Mode() const { return mMode; }

private:
    // Puts v first in a doubled ring of kCount pairs and returns the
    // newest-first list.
    template <int kCount>
    static const __m128d* PushFront(__m128d (&ring)[2 * kCount], int& head, __m128d v)
    {
        head = head == 0 ? kCount - 1 : head - 1;
        ring[head] = v;
        ring[head + kCount] = v;
        return ring + head;
    }

    __m128d mH = _mm_setzero_pd();
    __m128d mF1 = _mm_setzero_pd(), mF2 = _mm_setzero_pd(), mF3 = _mm_setzero_pd();
    // Past h pairs (four) and past f1 pairs (fourteen), each kept twice.
    __m128d mPastH[8] = {};
    __m128d mPastQ[28] = {};
    int mHeadH = 0;
    int mHeadQ = 0;
    int mMode = 2;
    __m128d mWeight = _mm_setzero_pd();
};

// The list Q records past values of f1, the term that takes the tight
// envelope in; f2 and f3 are averages over older stretches of it.
inline void FeedbackHistoryPair::Update(__m128d x, __m128d t)
{
    const __m128d w = mWeight;
    const __m128d oldF1 = mF1;
    const __m128d oldF2 = mF2;
    const __m128d* H = nullptr; // H[0] is the newest past h (H1)
    const __m128d* Q = nullptr; // Q[0] is the newest past f1
    switch (mMode)
    {
    case 4:
        mH = _mm_mul_pd(w, LaneSum(x, mH));
        Q = PushFront<14>(mPastQ, mHeadQ, oldF1);
        mF3 = _mm_mul_pd(w, LaneSum(Q[0], Q[1]));
        mF2 = _mm_mul_pd(w, LaneSum(mF3, oldF2));
        mF1 = _mm_mul_pd(w, LaneSum(t, oldF1));
        break;
    case 8:
        H = PushFront<4>(mPastH, mHeadH, mH);
        mH = _mm_mul_pd(w, LaneSum(x, H[0], H[0], H[1])); // H1 + H1 + H2
        Q = PushFront<14>(mPastQ, mHeadQ, oldF1);
        mF3 = _mm_mul_pd(w, LaneSum(Q[4], Q[5], Q[6], Q[7]));
        mF2 = _mm_mul_pd(w, LaneSum(Q[0], Q[1], Q[2], Q[3]));
        mF1 = _mm_mul_pd(w, LaneSum(t, oldF1, mF2, mF3));
        break;
    case 12:
        H = PushFront<4>(mPastH, mHeadH, mH);
        mH = _mm_mul_pd(w, LaneSum(x, H[0], H[0], H[1], H[2], H[3])); // H1 + H1 + ... + H4
        Q = PushFront<14>(mPastQ, mHeadQ, oldF1);
        mF3 = _mm_mul_pd(w, LaneSum(Q[8], Q[9], Q[10], Q[11], Q[12], Q[13]));
        mF2 = _mm_mul_pd(w, LaneSum(Q[2], Q[3], Q[4], Q[5], Q[6], Q[7]));
        mF1 = _mm_mul_pd(w, LaneSum(t, oldF1, mF2, mF3, Q[0], Q[1]));
        break;
    default: // mode 2: a plain shift register of the tight envelope
        mH = x;
        mF3 = oldF2;
        mF2 = oldF1;
        mF1 = t;
        break;
    }
}
