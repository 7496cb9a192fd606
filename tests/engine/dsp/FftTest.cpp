#include "engine/dsp/ComplexFft.h"
#include "engine/dsp/RealFft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

namespace {

using Complex = std::complex<double>;

std::vector<Complex> NaiveDft(const std::vector<Complex>& x, double sign)
{
    const size_t n = x.size();
    std::vector<Complex> out(n);
    for (size_t k = 0; k < n; ++k)
    {
        Complex sum = 0.0;
        for (size_t i = 0; i < n; ++i)
        {
            const double angle = sign * 2.0 * std::numbers::pi * static_cast<double>((i * k) % n) / n;
            sum += x[i] * Complex(std::cos(angle), std::sin(angle));
        }
        out[k] = sum;
    }
    return out;
}

std::vector<double> RandomValues(size_t count, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(count);
    for (double& x : v)
        x = dist(gen);
    return v;
}

} // namespace

// Both directions against the textbook DFT, for every size a real frame or
// block convolution uses and the extremes.
TEST(ComplexFft, MatchesNaiveDftInBothDirections)
{
    for (int n : {2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048})
    {
        const std::vector<double> raw = RandomValues(2 * static_cast<size_t>(n), static_cast<unsigned>(n));
        std::vector<Complex> x(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            x[static_cast<size_t>(i)] = Complex(raw[2 * static_cast<size_t>(i)], raw[2 * static_cast<size_t>(i) + 1]);

        ComplexFft fft;
        ASSERT_TRUE(fft.SetSize(n));
        for (int pass = 0; pass < 4; ++pass)
        {
            const double sign = pass % 2 == 0 ? -1.0 : 1.0;
            fft.AllowWideVectors(pass < 2); // the wide path (where present), then the baseline
            std::vector<double> data = raw;
            if (sign < 0)
                fft.Forward(data.data());
            else
                fft.Inverse(data.data());
            const std::vector<Complex> expected = NaiveDft(x, sign);
            double worst = 0.0;
            for (int k = 0; k < n; ++k)
                worst = std::max(worst, std::abs(Complex(data[2 * static_cast<size_t>(k)],
                                                         data[2 * static_cast<size_t>(k) + 1]) -
                                                 expected[static_cast<size_t>(k)]));
            EXPECT_LT(worst, 1e-12 * n) << "n = " << n << " sign " << sign;
        }
    }
}

// The transforms that skip the permutation agree with the ordered ones once
// the bins are put in bit-reversed order, on both paths and in both
// directions, including the smallest sizes and the odd powers of two.
TEST(ComplexFft, BitReversedTransformsMatchTheOrderedOnes)
{
    for (int n : {2, 4, 8, 32, 128, 2048, 4096, 8192})
    {
        int bits = 0;
        while ((1 << bits) < n)
            ++bits;
        const auto reversed = [bits](int i) {
            int r = 0;
            for (int b = 0; b < bits; ++b)
                r |= ((i >> b) & 1) << (bits - 1 - b);
            return static_cast<size_t>(r);
        };
        const std::vector<double> raw = RandomValues(2 * static_cast<size_t>(n), 50u + static_cast<unsigned>(n));
        ComplexFft fft(n);
        for (bool wide : {true, false})
        {
            fft.AllowWideVectors(wide);
            std::vector<double> ordered = raw;
            fft.Forward(ordered.data());
            std::vector<double> split = raw;
            fft.ForwardToBitReversed(split.data());
            double worst = 0.0;
            for (int k = 0; k < n; ++k)
                for (size_t part = 0; part < 2; ++part)
                    worst = std::max(worst, std::fabs(split[2 * reversed(k) + part] - ordered[2 * static_cast<size_t>(k) + part]));
            EXPECT_LT(worst, 1e-14 * n) << "forward, n = " << n << (wide ? " wide" : " baseline");

            // The inverse from bit-reversed bins against Inverse of the same bins.
            std::vector<double> expected = ordered;
            fft.Inverse(expected.data());
            fft.InverseFromBitReversed(split.data());
            worst = 0.0;
            for (size_t i = 0; i < split.size(); ++i)
                worst = std::max(worst, std::fabs(split[i] - expected[i]));
            EXPECT_LT(worst, 1e-13 * n) << "inverse, n = " << n << (wide ? " wide" : " baseline");
        }
    }
}

TEST(ComplexFft, LargestSizeRoundTripsAndRejectsBadSizes)
{
    const int n = ComplexFft::kMaxSize;
    ComplexFft fft;
    ASSERT_TRUE(fft.SetSize(n));
    const std::vector<double> raw = RandomValues(2 * static_cast<size_t>(n), 7);
    std::vector<double> data = raw;
    fft.Forward(data.data());
    fft.Inverse(data.data());
    double worst = 0.0;
    for (size_t i = 0; i < raw.size(); ++i)
        worst = std::max(worst, std::fabs(data[i] / n - raw[i]));
    EXPECT_LT(worst, 1e-13);

    // A single impulse at 1 gives e^(-j2πk/N) at bin k.
    std::fill(data.begin(), data.end(), 0.0);
    data[2] = 1.0;
    fft.Forward(data.data());
    const int k = 12345;
    EXPECT_NEAR(data[2 * k], std::cos(2.0 * std::numbers::pi * k / n), 1e-14);
    EXPECT_NEAR(data[2 * k + 1], -std::sin(2.0 * std::numbers::pi * k / n), 1e-14);

    for (int bad : {0, 1, 3, 48, 65536, -4})
        EXPECT_FALSE(fft.SetSize(bad)) << bad;
    EXPECT_EQ(fft.Size(), n);
}

TEST(RealFft, MatchesComplexTransformOfRealInput)
{
    for (int n : {4, 8, 16, 64, 1024, 8192})
    {
        const std::vector<double> x = RandomValues(static_cast<size_t>(n), 100u + static_cast<unsigned>(n));
        std::vector<double> full(2 * static_cast<size_t>(n), 0.0);
        for (int i = 0; i < n; ++i)
            full[2 * static_cast<size_t>(i)] = x[static_cast<size_t>(i)];
        ComplexFft complexFft(n);
        complexFft.Forward(full.data());

        RealFft fft;
        ASSERT_TRUE(fft.SetSize(n));
        std::vector<double> packed = x;
        fft.Forward(packed.data());
        const double tol = 1e-12 * n;
        EXPECT_NEAR(packed[0], full[0], tol);
        EXPECT_NEAR(packed[1], full[static_cast<size_t>(n)], tol); // Nyquist
        for (int k = 1; k < n / 2; ++k)
        {
            EXPECT_NEAR(packed[2 * static_cast<size_t>(k)], full[2 * static_cast<size_t>(k)], tol);
            EXPECT_NEAR(packed[2 * static_cast<size_t>(k) + 1], full[2 * static_cast<size_t>(k) + 1], tol);
        }

        fft.Inverse(packed.data());
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(packed[static_cast<size_t>(i)] / n, x[static_cast<size_t>(i)], 1e-14) << "n = " << n;
    }
}
