#include "engine/dsp/GlideCoefficient.h"
#include "engine/dsp/StereoDelay.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(StereoDelay, LengthZeroPassesThroughAndLengthNDelaysByN)
{
    StereoDelay pass(250000);
    pass.SetLength(0);
    double a = 0.25, b = -0.5;
    pass.ProcessSample(a, b);
    EXPECT_EQ(a, 0.25);
    EXPECT_EQ(b, -0.5);

    StereoDelay one(1);
    double prevA = 0.0, prevB = 0.0;
    for (int i = 1; i <= 5; ++i)
    {
        double x = i, y = -i;
        one.ProcessSample(x, y);
        EXPECT_EQ(x, prevA);
        EXPECT_EQ(y, prevB);
        prevA = i, prevB = -i;
    }

    StereoDelay seven(7);
    for (int i = 0; i < 30; ++i)
    {
        double x = i + 1.0, y = 100.0 + i;
        seven.ProcessSample(x, y);
        EXPECT_EQ(x, i >= 7 ? i - 6.0 : 0.0);
        EXPECT_EQ(y, i >= 7 ? 93.0 + i : 0.0);
    }
}

TEST(StereoDelay, CapacityAndLengthRules)
{
    StereoDelay d(100);
    EXPECT_EQ(d.Length(), 100);
    d.Reallocate(0);
    EXPECT_EQ(d.Length(), 0);
    EXPECT_EQ(d.Capacity(), 1);
    d.Reallocate(4000000);
    EXPECT_EQ(d.Length(), 0);

    d.Reallocate(500000);
    d.SetLength(399999);
    EXPECT_EQ(d.Length(), 399999);
    d.SetLength(400000);
    EXPECT_EQ(d.Length(), 0);
    d.SetLength(-3);
    EXPECT_EQ(d.Length(), 0);

    // A length beyond the buffer is held to the capacity instead of writing
    // past its end.
    d.Reallocate(10);
    d.SetLength(50);
    EXPECT_EQ(d.Length(), 10);
}

// SetLength keeps the content; shrinking below the write position restarts
// the cycle instead of running past the new end.
TEST(StereoDelay, ShrinkingKeepsContentAndStaysInside)
{
    MonoDelay d(8);
    for (int i = 1; i <= 6; ++i)
    {
        double x = i;
        d.ProcessSample(x);
    }
    d.SetLength(3);
    for (int i = 0; i < 12; ++i)
    {
        double x = 50.0 + i;
        d.ProcessSample(x);
        if (i == 0)
        {
            EXPECT_EQ(x, 1.0); // the oldest slot of the old content
        }
        else if (i >= 3)
        {
            EXPECT_EQ(x, 50.0 + i - 3);
        }
    }
    d.Clear();
    double x = 9.0;
    d.ProcessSample(x);
    EXPECT_EQ(x, 0.0);
}

TEST(GlideCoefficient, PerSampleCoefficientKeepsTheGlideTimeAcrossRates)
{
    GlideCoefficient g;
    EXPECT_EQ(g.base, 0.99);
    EXPECT_EQ(g.oneMinusCoefficient, 0.01);
    EXPECT_EQ(g.state, 0.0);

    EXPECT_DOUBLE_EQ(g.Coefficient(44100.0), 0.99);
    EXPECT_DOUBLE_EQ(g.Coefficient(96000.0), std::pow(0.99, 1.0 / (96000.0 / 44100.0)));
    EXPECT_DOUBLE_EQ(g.Coefficient(96000.7), g.Coefficient(96000.0)); // rate truncated

    // After the same time span the glide has moved equally far at any rate.
    GlideCoefficient slow, fast;
    for (int i = 0; i < 441; ++i)
        slow.Step(1.0, 44100.0);
    for (int i = 0; i < 960; ++i)
        fast.Step(1.0, 96000.0);
    EXPECT_NEAR(slow.state, 1.0 - std::pow(0.99, 441), 1e-12);
    EXPECT_NEAR(fast.state, slow.state, 1e-3);
    EXPECT_DOUBLE_EQ(fast.oneMinusCoefficient, 1.0 - g.Coefficient(96000.0));

    // A nonsensical rate makes the glide instant, never unstable.
    GlideCoefficient bad;
    EXPECT_EQ(bad.Step(0.5, -44100.0), 0.5);
}

// A clear empties everything a length used since the previous clear, also
// where a shorter length no longer reaches: growing back reads silence.
TEST(StereoDelay, ClearEmptiesWhatEarlierLengthsFilled)
{
    StereoDelay d(1000);
    d.SetLength(600);
    for (int i = 0; i < 600; ++i)
    {
        double a = 1.0 + i, b = -1.0 - i;
        d.ProcessSample(a, b);
    }
    d.SetLength(20);
    d.Clear();
    d.SetLength(900);
    for (int i = 0; i < 900; ++i)
    {
        double a = 5.0, b = 6.0;
        d.ProcessSample(a, b);
        ASSERT_EQ(a, 0.0) << i;
        ASSERT_EQ(b, 0.0) << i;
    }
    // Cleared again after that: the 900 written pairs are gone as well.
    d.Clear();
    d.SetLength(1000);
    for (int i = 0; i < 1000; ++i)
    {
        double a = 0.5, b = 0.5;
        d.ProcessSample(a, b);
        ASSERT_EQ(a, 0.0) << i;
    }
}

// The vector step is the pair step with a in lane 0, through length changes
// (0 included) that move the read position; both delays advance in turn.
TEST(StereoDelay, VectorStepMatchesThePairStep)
{
    StereoDelay byPair(64);
    StereoDelay byVector(64);
    int n = 0;
    for (int length : {7, 3, 0, 12, 5})
    {
        byPair.SetLength(length);
        byVector.SetLength(length);
        for (int i = 0; i < 40; ++i, ++n)
        {
            double a = n + 0.5, b = -3.0 * n;
            __m128d v = _mm_set_pd(b, a);
            byPair.ProcessSample(a, b);
            byVector.ProcessPair(v);
            ASSERT_EQ(_mm_cvtsd_f64(v), a) << "step " << n;
            ASSERT_EQ(_mm_cvtsd_f64(_mm_unpackhi_pd(v, v)), b) << "step " << n;
        }
    }
}
