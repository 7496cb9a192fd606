#pragma once
// Two "Classic" followers with the same times, one per lane of a (mid, side)
// vector. Both branches (attack, drive-dependent release) are computed for
// both lanes and chosen per lane by a mask; the release factor's rare
// exponential fallback runs per lane. Per lane the arithmetic and its order
// are those of EnvelopeFollower, so each lane is bit-identical to a single
// follower.
//
// Real-time: allocation-free, never throws; the state is flushed to 0 when
// subnormal and never holds NaN or infinity.

#include "engine/dsp/DriveRelease.h"
#include "engine/dsp/LanePair.h"

class EnvelopeFollowerPair
{
public:
    // As EnvelopeFollower::SetTimes, for both lanes.
    void SetTimes(double attackMs, double releaseMs, int rate);

    // Follows abs(input) per lane with that lane's drive; returns the new states.
    __m128d ProcessPair(__m128d input, __m128d drive, double strength);

    double State(int lane) const { return lane == 0 ? LaneMid(mState) : LaneSide(mState); }
    double AttackCoefficient() const { return LaneMid(mAttack); }
    double ReleaseCoefficient() const { return LaneMid(mRelease); }
    void Reset() { mState = _mm_setzero_pd(); }

private:
    __m128d mState = _mm_setzero_pd();
    __m128d mAttack = _mm_setzero_pd();
    __m128d mRelease = _mm_setzero_pd();
};

inline __m128d EnvelopeFollowerPair::ProcessPair(__m128d input, __m128d drive, double strength)
{
    const __m128d d = LaneAbs(input);
    const __m128d fromD = _mm_sub_pd(mState, d);
    const __m128d attack = _mm_add_pd(_mm_mul_pd(fromD, mAttack), d);
    const __m128d q = DriveReleaseFactorPair(drive, strength);
    const __m128d factor = _mm_mul_pd(_mm_add_pd(_mm_mul_pd(q, mRelease), mRelease), _mm_set1_pd(0.5));
    const __m128d release = _mm_add_pd(_mm_mul_pd(factor, fromD), d);
    __m128d s = LaneSelect(_mm_cmplt_pd(mState, d), attack, release);
    // A non-finite lane falls back to abs(input), or to 0 when that is not
    // finite either (rare: checked once for both lanes).
    const __m128d finite = LaneIsFinite(s);
    if (_mm_movemask_pd(finite) != 3)
        s = LaneSelect(finite, s, _mm_and_pd(LaneIsFinite(d), d));
    mState = LaneFlushDenormal(s);
    return mState;
}
