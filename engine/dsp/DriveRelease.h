#pragma once
// The release factor of the drive-dependent followers, scalar and per lane
// of a (mid, side) vector.

#include <emmintrin.h>

#include <cmath>

// Per-sample factor of the drive-dependent release, q = k0^(drive/strength)
// with k0 = 0.9999999999708188, i.e. e^y with y = ln k0 · drive/strength.
// In the engine |y| stays far below 1e-5, where the series to y^3 is exact
// to well within one rounding step (the next term is below 1e-21), so the
// exponential call is needed only for absurd drive/strength ratios.
inline const double kLogDriveBase = std::log(0.9999999999708188);

inline double DriveReleaseFactor(double drive, double strength)
{
    const double y = kLogDriveBase * (drive / strength);
    if (y > -1e-5 && y < 1e-5)
        return 1.0 + y * (1.0 + y * (0.5 + y * (1.0 / 6.0)));
    return std::exp(y);
}

// DriveReleaseFactor per lane: the series where it applies, std::exp for
// the other lanes one by one, so each lane equals the scalar result.
inline __m128d DriveReleaseFactorPair(__m128d drive, double strength)
{
    const __m128d y = _mm_mul_pd(_mm_set1_pd(kLogDriveBase), _mm_div_pd(drive, _mm_set1_pd(strength)));
    __m128d q = _mm_add_pd(_mm_set1_pd(0.5), _mm_mul_pd(y, _mm_set1_pd(1.0 / 6.0)));
    q = _mm_add_pd(_mm_set1_pd(1.0), _mm_mul_pd(y, q));
    q = _mm_add_pd(_mm_set1_pd(1.0), _mm_mul_pd(y, q));
    const int inRange =
        _mm_movemask_pd(_mm_and_pd(_mm_cmpgt_pd(y, _mm_set1_pd(-1e-5)), _mm_cmplt_pd(y, _mm_set1_pd(1e-5))));
    if (inRange != 3)
    {
        alignas(16) double lanes[2];
        alignas(16) double ys[2];
        _mm_store_pd(lanes, q);
        _mm_store_pd(ys, y);
        for (int lane = 0; lane < 2; ++lane)
            if ((inRange & (1 << lane)) == 0)
                lanes[lane] = std::exp(ys[lane]);
        q = _mm_load_pd(lanes);
    }
    return q;
}
