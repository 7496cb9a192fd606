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

    // The SSE2 twist gives the same words as the AVX2 one (where present),
    // over several twists, whether drawn one by one or in runs.
    Mt19937 wide(2024u);
    Mt19937 narrow(2024u);
    narrow.AllowWideVectors(false);
    uint32_t run[1000];
    for (int round = 0; round < 5; ++round)
    {
        wide.Fill(run, 1000);
        for (uint32_t word : run)
            ASSERT_EQ(narrow.Next(), word) << "round " << round;
    }
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

// Method-3 pairs drawn in batches (sums straight from the words, two-lane
// or four-lane) are exactly the sequential sums of 12 uniforms from the
// generator's words, also when single draws have left the twist out of
// step with the 24-word groups and when a batch spans two twists.
TEST(NoiseSource, BatchedSumsAreTheSequentialSumsOfTheWords)
{
    for (bool wide : {true, false})
    {
        NoiseSource noise(3, 0.0, false);
        noise.AllowWideVectors(wide);
        noise.Seed(4242u);
        Mt19937 words(4242u);
        const auto uniform = [&] { return static_cast<double>(words.Next()) * (1.0 / 4294967295.0); };
        double a[16], b[16];
        for (int round = 0; round < 120; ++round)
        {
            if (round == 50 || round == 51)
            {
                EXPECT_EQ(noise.Uniform(), uniform()); // off the group boundary, then back
                continue;
            }
            const int count = 1 + round % 16;
            noise.NextPairs(a, b, count);
            for (int j = 0; j < count; ++j)
            {
                double sa = 0.0, sb = 0.0;
                for (int i = 0; i < 12; ++i)
                    sa += uniform();
                for (int i = 0; i < 12; ++i)
                    sb += uniform();
                ASSERT_EQ(a[j], sa - 6.0) << "round " << round << " pair " << j << (wide ? " wide" : "");
                ASSERT_EQ(b[j], sb - 6.0) << "round " << round << " pair " << j << (wide ? " wide" : "");
            }
        }
    }
}

// NextPairs is documented as `count` calls of NextPair on zeros: the batch
// path (grouped sums, colouring of several pairs in a row) must give the
// same bits as the one-pair path, at every batch size and for every method.
TEST(NoiseSource, BatchesMatchSinglePairsWithColouring)
{
    for (int method : {1, 2, 3})
    {
        for (bool wide : {true, false})
        {
            NoiseSource batched(method, -20.0, true);
            NoiseSource single(method, -20.0, true);
            batched.SetRate(529200);
            single.SetRate(529200);
            batched.AllowWideVectors(wide);
            batched.Seed(31u);
            single.Seed(31u);
            double a[16], b[16];
            for (int round = 0; round < 200; ++round)
            {
                const int count = 1 + (round * 7) % 16;
                batched.NextPairs(a, b, count);
                for (int j = 0; j < count; ++j)
                {
                    double sa = 0.0, sb = 0.0;
                    single.NextPair(sa, sb);
                    ASSERT_EQ(a[j], sa) << "method " << method << " round " << round << " pair " << j;
                    ASSERT_EQ(b[j], sb) << "method " << method << " round " << round << " pair " << j;
                }
            }
        }
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
