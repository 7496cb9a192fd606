#include "engine/dsp/ComplexFft.h"
#include "engine/dsp/SpectralRotator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// The rotator done the straightforward way: complex frames holding x·(1+j),
// a complex transform of N points, bins below N/2 turned by +φ and the rest
// by -φ. The production rotator takes a real-transform shortcut and must
// agree with this.
class ComplexRotator
{
public:
    explicit ComplexRotator(int n)
        : mN(n), mWindow(static_cast<size_t>(n / 2)), mA(2 * static_cast<size_t>(n)),
          mB(2 * static_cast<size_t>(n)), mFft(n)
    {
        for (int i = 0; i < n / 2; ++i)
            mWindow[static_cast<size_t>(i)] = 0.42 - 0.5 * std::cos(2 * kPi * i / n) + 0.08 * std::cos(4 * kPi * i / n);
    }

    void SetPhase(double c, double s) { mC = c, mS = s; }

    double Process(double x)
    {
        if (mPos >= mN)
        {
            std::swap(mA, mB);
            mFft.Forward(mA.data());
            for (int k = 0; k < mN; ++k)
            {
                const double sign = k < mN / 2 ? 1.0 : -1.0;
                const double re = mA[2 * static_cast<size_t>(k)], im = mA[2 * static_cast<size_t>(k) + 1];
                mA[2 * static_cast<size_t>(k)] = re * mC - im * sign * mS;
                mA[2 * static_cast<size_t>(k) + 1] = re * sign * mS + im * mC;
            }
            mFft.Inverse(mA.data());
            mPos = 0;
        }
        const size_t k = static_cast<size_t>(mPos / 2);
        const size_t half = static_cast<size_t>(mN / 2);
        const double rise = mWindow[k], fall = mWindow[half - 1 - k];
        const double out = 0.5 * (mA[2 * k] + mA[2 * k + 1] + mB[2 * (half + k)] + mB[2 * (half + k) + 1]) /
                           (mN * (rise + fall));
        mA[2 * k] = mA[2 * k + 1] = rise * x;
        mB[2 * (half + k)] = mB[2 * (half + k) + 1] = fall * x;
        mPos += 2;
        return out;
    }

private:
    int mN;
    int mPos = 0;
    double mC = 1.0, mS = 0.0;
    std::vector<double> mWindow, mA, mB;
    ComplexFft mFft;
};

std::vector<double> Noise(size_t count, unsigned seed)
{
    std::mt19937 gen(seed);
    std::normal_distribution<double> dist(0.0, 0.3);
    std::vector<double> v(count);
    for (double& x : v)
        x = dist(gen);
    return v;
}

std::vector<double> Rotate(SpectralRotator& r, const std::vector<double>& in)
{
    std::vector<double> out(in);
    for (double& x : out)
        r.ProcessSample(x);
    return out;
}

SpectralRotator MakeRotator(int n, double angleDegrees)
{
    SpectralRotator r;
    EXPECT_TRUE(r.SetSize(n));
    const double phi = -angleDegrees * kPi / 180.0;
    r.SetPhase(std::cos(phi), std::sin(phi));
    return r;
}

} // namespace

TEST(SpectralRotator, MatchesStraightforwardComplexRotation)
{
    for (int n : {64, 1024, 4096})
    {
        for (double angle : {0.0, 37.0, 90.0, -135.0, 180.0})
        {
            SpectralRotator fast = MakeRotator(n, angle);
            ComplexRotator reference(n);
            const double phi = -angle * kPi / 180.0;
            reference.SetPhase(std::cos(phi), std::sin(phi));

            const std::vector<double> in = Noise(4 * static_cast<size_t>(n) + 77, static_cast<unsigned>(n));
            const std::vector<double> out = Rotate(fast, in);
            double worst = 0.0, peak = 0.0;
            for (size_t i = 0; i < in.size(); ++i)
            {
                const double expected = reference.Process(in[i]);
                worst = std::max(worst, std::fabs(out[i] - expected));
                peak = std::max(peak, std::fabs(expected));
            }
            EXPECT_LE(worst, 1e-12 * peak) << "N = " << n << ", angle " << angle;
        }
    }
}

// Angle 0 is a pure delay of N samples and Angle 180 an inverted one.
TEST(SpectralRotator, ZeroAndHalfTurnAreDelaysOfExactlyN)
{
    const int n = 1024;
    const std::vector<double> in = Noise(5 * n, 3);
    for (double angle : {0.0, 180.0})
    {
        SpectralRotator r = MakeRotator(n, angle);
        const std::vector<double> out = Rotate(r, in);
        const double sign = angle == 0.0 ? 1.0 : -1.0;
        for (int i = 0; i < n; ++i)
            ASSERT_NEAR(out[static_cast<size_t>(i)], 0.0, 1e-15) << i;
        for (size_t i = n; i < in.size(); ++i)
            ASSERT_NEAR(out[i], sign * in[i - n], 1e-12) << "angle " << angle << " at " << i;
    }
}

// With φ = -90° a sine comes out as -cos: the same wave a quarter period
// later, after the frame delay.
TEST(SpectralRotator, QuarterTurnDelaysASineByAQuarterPeriod)
{
    const int n = 2048;
    const double period = 64.0;
    std::vector<double> in(8 * n);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = std::sin(2 * kPi * static_cast<double>(i) / period);
    SpectralRotator r = MakeRotator(n, 90.0);
    const std::vector<double> out = Rotate(r, in);
    double worst = 0.0;
    for (size_t i = 3 * n; i < in.size(); ++i)
    {
        const double t = static_cast<double>(i) - n - period / 4.0;
        worst = std::max(worst, std::fabs(out[i] - std::sin(2 * kPi * t / period)));
    }
    EXPECT_LT(worst, 1e-3);
}

// A constant comes out scaled by cos φ on average over every half frame;
// the window halves rotated with it leave a ripple at the half-frame rate of
// about ±0.25·sin φ of the input.
TEST(SpectralRotator, ConstantInputIsScaledByCosPhi)
{
    const int n = 512;
    for (double angle : {0.0, 60.0, 90.0, 150.0, -120.0, 180.0})
    {
        SpectralRotator r = MakeRotator(n, angle);
        const std::vector<double> out = Rotate(r, std::vector<double>(6 * n, 0.8));
        const double expected = 0.8 * std::cos(angle * kPi / 180.0);
        const double ripple = 0.8 * 0.25 * std::fabs(std::sin(angle * kPi / 180.0)) + 1e-12;
        for (int block = 4; block < 12; ++block)
        {
            double sum = 0.0;
            for (int i = 0; i < n / 2; ++i)
            {
                const double v = out[static_cast<size_t>(block * n / 2 + i)];
                sum += v;
                ASSERT_NEAR(v, expected, ripple) << "angle " << angle;
            }
            EXPECT_NEAR(sum / (n / 2), expected, 1e-12) << "angle " << angle;
        }
    }
}

// A resize discards the buffered audio: nothing of the old signal comes out,
// and a new signal appears exactly N samples later at Angle 0.
TEST(SpectralRotator, ResizeRestartsFromSilence)
{
    SpectralRotator r = MakeRotator(2048, 50.0);
    Rotate(r, Noise(3000, 9)); // leaves the block position mid-way
    for (int n : {1024, 4096, 4096})
    {
        ASSERT_TRUE(r.SetSize(n));
        const std::vector<double> quiet = Rotate(r, std::vector<double>(3 * static_cast<size_t>(n), 0.0));
        for (double v : quiet)
            ASSERT_EQ(v, 0.0);
    }

    r.SetPhase(1.0, 0.0);
    ASSERT_TRUE(r.SetSize(256));
    const std::vector<double> in = Noise(2000, 4);
    const std::vector<double> out = Rotate(r, in);
    for (size_t i = 0; i < 256; ++i)
        ASSERT_NEAR(out[i], 0.0, 1e-15);
    for (size_t i = 256; i < in.size(); ++i)
        ASSERT_NEAR(out[i], in[i - 256], 1e-12);

    EXPECT_FALSE(r.SetSize(1000));
    EXPECT_FALSE(r.SetSize(4));
    EXPECT_EQ(r.Size(), 256);
}

// Setting the size it already has discards the buffered audio too, whether
// the last sample completed a block or not: the rotator goes on exactly as one
// of that size that took only silence so far (the block position is kept).
TEST(SpectralRotator, SameSizeResizeDiscardsTheBufferedAudio)
{
    const std::vector<double> in = Noise(3000, 11);
    for (size_t fed : {size_t{256}, size_t{1024}, size_t{1100}})
    {
        SpectralRotator quiet(512);
        quiet.SetPhase(std::cos(0.7), std::sin(0.7));
        Rotate(quiet, std::vector<double>(fed, 0.0));
        const std::vector<double> expected = Rotate(quiet, in);

        SpectralRotator r = MakeRotator(512, 0.0);
        r.SetPhase(std::cos(0.7), std::sin(0.7));
        Rotate(r, Noise(fed, 5));
        ASSERT_TRUE(r.SetSize(512));
        const std::vector<double> out = Rotate(r, in);
        for (size_t i = 0; i < in.size(); ++i)
            ASSERT_EQ(out[i], expected[i]) << "after " << fed << " samples, output " << i;
    }
}
