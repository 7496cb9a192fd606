#pragma once
// Helpers for (mid, side) pairs held in the two lanes of an SSE2 vector
// (lane 0 mid, lane 1 side). Each helper does per lane exactly what its
// scalar counterpart does, so code that keeps the scalar order of
// operations gives bit-identical lanes.

#include <emmintrin.h>

#include <cfloat>

inline __m128d LanePair(double mid, double side) { return _mm_set_pd(side, mid); }
inline double LaneMid(__m128d v) { return _mm_cvtsd_f64(v); }
inline double LaneSide(__m128d v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }

// Lanes of `yes` where the mask is set, of `no` elsewhere.
inline __m128d LaneSelect(__m128d mask, __m128d yes, __m128d no)
{
    return _mm_or_pd(_mm_and_pd(mask, yes), _mm_andnot_pd(mask, no));
}

// std::fabs per lane (clears the sign bit).
inline __m128d LaneAbs(__m128d v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), v); }

// FlushDenormal per lane: a zero or subnormal lane becomes +0, NaN stays.
// The test is a branch that almost never goes the other way, so the value
// passes on without waiting for it (recursive filters and followers feed
// it straight back).
inline __m128d LaneFlushDenormal(__m128d v)
{
    const __m128d tiny = _mm_cmplt_pd(LaneAbs(v), _mm_set1_pd(DBL_MIN));
    if (_mm_movemask_pd(tiny) == 0)
        return v;
    return _mm_andnot_pd(tiny, v);
}

// std::clamp(v, lo, hi) per lane, lo <= hi: v < lo ? lo : (hi < v ? hi : v).
// minpd(a, b) is a < b ? a : b and maxpd(a, b) is a > b ? a : b, so this is
// the same choice, NaN and signed zeros included.
inline __m128d LaneClamp(__m128d v, __m128d lo, __m128d hi) { return _mm_max_pd(lo, _mm_min_pd(hi, v)); }

// std::max(a, b) per lane: a < b ? b : a.
inline __m128d LaneMax(__m128d a, __m128d b) { return _mm_max_pd(b, a); }

// Lanes where v is finite (neither infinite nor NaN).
inline __m128d LaneIsFinite(__m128d v) { return _mm_cmple_pd(LaneAbs(v), _mm_set1_pd(DBL_MAX)); }

// a + b + c + ... added left to right, as the scalar expression does.
inline __m128d LaneSum(__m128d a) { return a; }
template <class... Rest>
inline __m128d LaneSum(__m128d a, __m128d b, Rest... rest)
{
    return LaneSum(_mm_add_pd(a, b), rest...);
}
