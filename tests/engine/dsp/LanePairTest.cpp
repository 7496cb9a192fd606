#include "engine/dsp/Denormal.h"
#include "engine/dsp/LanePair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Same bits (so -0.0 differs from +0.0 and NaN equals NaN).
bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

// The lane helpers stand in for scalar expressions in code that must stay
// bit-identical per lane: every pairing of awkward values (signed zeros,
// the clamp bounds, subnormals, infinities, NaN) in either lane must give
// exactly the scalar result.
TEST(LanePair, HelpersMatchTheirScalarCounterparts)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.0, -0.0, 0.5, -0.5, 0.25, 0.7, -1e-300, DBL_MIN, -DBL_MIN / 4, DBL_TRUE_MIN,
                             DBL_MAX, -inf, inf, nan, 1e-5, -3.0};
    for (double a : values)
    {
        for (double b : values)
        {
            const __m128d v = LanePair(a, b);
            const __m128d w = LanePair(b, a);
            const double lanes[2] = {a, b};
            const double others[2] = {b, a};
            const __m128d clamp = LaneClamp(v, _mm_setzero_pd(), _mm_set1_pd(0.5));
            const __m128d max = LaneMax(v, w);
            const __m128d flush = LaneFlushDenormal(v);
            const __m128d absolute = LaneAbs(v);
            const __m128d finite = LaneIsFinite(v);
            const __m128d sum = LaneSum(v, w, v);
            for (int lane = 0; lane < 2; ++lane)
            {
                auto at = [lane](__m128d x) { return lane == 0 ? LaneMid(x) : LaneSide(x); };
                const double x = lanes[lane];
                const double y = others[lane];
                EXPECT_TRUE(SameBits(at(clamp), std::clamp(x, 0.0, 0.5))) << x;
                EXPECT_TRUE(SameBits(at(max), std::max(x, y))) << x << " " << y;
                EXPECT_TRUE(SameBits(at(flush), FlushDenormal(x))) << x;
                EXPECT_TRUE(SameBits(at(absolute), std::fabs(x))) << x;
                EXPECT_EQ((_mm_movemask_pd(finite) >> lane) & 1, std::isfinite(x) ? 1 : 0) << x;
                EXPECT_TRUE(SameBits(at(sum), x + y + x)) << x << " " << y;
            }
        }
    }
}
