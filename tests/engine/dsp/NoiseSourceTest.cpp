#include "engine/dsp/Mt19937.h"
#include "engine/dsp/NoiseSource.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Mt19937, MatchesTheReferenceSequenceForTheStandardSeed)
{
    Mt19937 mt(5489u);
    const uint32_t first[] = {3499211612u, 581869302u, 3890346734u, 3586334585u, 545404204u};
    for (uint32_t expected : first)
        EXPECT_EQ(mt.Next(), expected);
    for (int i = 6; i < 10000; ++i)
        mt.Next();
    EXPECT_EQ(mt.Next(), 4123659995u); // the 10000th value

    Mt19937 again;
    again.Seed(5489u);
    EXPECT_EQ(again.Next(), 3499211612u);
}

namespace {

void Moments(NoiseSource& n, int pairs, double& mean, double& variance)
{
    double sum = 0.0, sumSq = 0.0;
    for (int i = 0; i < pairs; ++i)
    {
        double a, b;
        n.RawPair(a, b);
        ASSERT_TRUE(std::isfinite(a) && std::isfinite(b));
        sum += a + b;
        sumSq += a * a + b * b;
    }
    mean = sum / (2.0 * pairs);
    variance = sumSq / (2.0 * pairs) - mean * mean;
}

} // namespace

TEST(NoiseSource, EveryMethodHasZeroMeanAndUnitVariance)
{
    for (int method : {1, 2, 3})
    {
        NoiseSource n(method, 0.0, false);
        n.Seed(12345u);
        double mean = 0.0, variance = 0.0;
        Moments(n, 200000, mean, variance);
        EXPECT_NEAR(mean, 0.0, 0.01) << "method " << method;
        EXPECT_NEAR(variance, 1.0, 0.02) << "method " << method;
    }
    // Method 3 is a sum of 12 uniforms: bounded by ±6.
    NoiseSource sum(3, 0.0, false);
    for (int i = 0; i < 10000; ++i)
    {
        double a, b;
        sum.RawPair(a, b);
        ASSERT_LE(std::fabs(a), 6.0);
        ASSERT_LE(std::fabs(b), 6.0);
    }
}

TEST(NoiseSource, InverseNormalIsAccurateAndFiniteAtTheEnds)
{
    EXPECT_NEAR(InverseNormal(0.975), 1.959963984540054, 1e-8);
    EXPECT_NEAR(InverseNormal(0.01), -2.326347874040841, 1e-8);
    EXPECT_NEAR(InverseNormal(0.5), 0.0, 1e-15);
    EXPECT_TRUE(std::isfinite(InverseNormal(0.0)));
    EXPECT_TRUE(std::isfinite(InverseNormal(1.0)));
}

TEST(NoiseSource, LevelScalesAndColouringStaysBounded)
{
    NoiseSource plain(3, -148.5, false);
    NoiseSource reference(3, -148.5, false);
    plain.Seed(7u);
    reference.Seed(7u);
    const double level = std::exp(-148.5 / 8.685889638065037);
    EXPECT_DOUBLE_EQ(plain.Level(), level);
    double a = 1.0, b = -1.0, ra, rb;
    plain.NextPair(a, b);
    reference.RawPair(ra, rb);
    EXPECT_DOUBLE_EQ(a, 1.0 + level * ra);
    EXPECT_DOUBLE_EQ(b, -1.0 + level * rb);

    // The seven gentle peaking filters (at most 6 dB, mostly far below)
    // keep the power near that of the raw noise, at every rate.
    for (int rate : {44100, 96000, 705600})
    {
        NoiseSource coloured(3, 0.0, true);
        coloured.SetRate(rate);
        coloured.Seed(99u);
        double power = 0.0;
        const int count = 100000;
        for (int i = 0; i < count; ++i)
        {
            double x = 0.0, y = 0.0;
            coloured.NextPair(x, y);
            ASSERT_TRUE(std::isfinite(x) && std::isfinite(y));
            ASSERT_NE(std::fpclassify(x), FP_SUBNORMAL);
            power += x * x + y * y;
        }
        power /= 2.0 * count;
        EXPECT_GT(power, 0.5) << rate;
        EXPECT_LT(power, 2.0) << rate;
    }
}
