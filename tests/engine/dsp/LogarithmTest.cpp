#include "engine/dsp/Logarithm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace {

int64_t UlpsApart(double a, double b)
{
    int64_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x > y ? x - y : y - x;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

double Lane(__m128d v, int lane)
{
    return lane == 0 ? _mm_cvtsd_f64(v) : _mm_cvtsd_f64(_mm_unpackhi_pd(v, v));
}

} // namespace

// Within 1 ulp of the library logarithm over every exponent, near 1 (where
// the result is small and cancellation would show) and over the detector's
// range; each lane of the pair has the scalar form's bits, whatever the
// other lane holds; inputs outside the normal range follow the library.
TEST(Logarithm, WithinOneUlpOfTheLibraryAndPairLanesMatchTheScalarForm)
{
    std::mt19937_64 random(7);
    const auto unit = [&] { return static_cast<double>(random() >> 11) * 0x1p-53; };
    int64_t worst = 0;
    for (int i = 0; i < 400000; ++i)
    {
        double x;
        switch (i % 4)
        {
        case 0: x = std::ldexp(1.0 + unit(), static_cast<int>(random() % 2040) - 1020); break;
        case 1: x = 1.0 + (unit() - 0.5) * 0x1p-20; break;
        case 2: x = std::sqrt(0.5) + (unit() - 0.5) * 0x1p-30; break; // where m is halved
        default: x = std::exp(-40.0 * unit()); break;
        }
        const double scalar = Logarithm(x);
        worst = std::max(worst, UlpsApart(scalar, std::log(x)));
        const double other = 1.0 + unit();
        const __m128d pair = LogarithmPair(_mm_set_pd(other, x));
        ASSERT_TRUE(SameBits(Lane(pair, 0), scalar)) << x;
        ASSERT_TRUE(SameBits(Lane(pair, 1), Logarithm(other))) << other;
    }
    EXPECT_LE(worst, 1);
    EXPECT_EQ(Logarithm(1.0), 0.0);

    const double inf = std::numeric_limits<double>::infinity();
    const double special[] = {0.0, 4.9e-324, 1e-310, inf, std::numeric_limits<double>::quiet_NaN(), -1.0};
    for (double x : special)
    {
        EXPECT_TRUE(SameBits(Logarithm(x), std::log(x))) << x;
        for (int i = 0; i < 1000; ++i)
        {
            const double other = std::exp(-30.0 * unit());
            const __m128d pair = LogarithmPair(_mm_set_pd(x, other));
            ASSERT_TRUE(SameBits(Lane(pair, 1), std::log(x))) << x;
            ASSERT_TRUE(SameBits(Lane(pair, 0), Logarithm(other))) << x << " beside " << other;
        }
    }
    EXPECT_EQ(Logarithm(0.0), -inf);
}
