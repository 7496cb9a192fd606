#include "engine/dsp/BlockConvolver.h"
#include "engine/dsp/FirTables.h"
#include "engine/dsp/PairBlockConvolver.h"
#include "engine/dsp/ResampleBiquad.h"
#include "engine/dsp/ResampleBiquadPair.h"
#include "engine/dsp/ResampleBlockFir.h"
#include "engine/dsp/ResampleBlockFirPair.h"
#include "engine/dsp/ResampleFir.h"
#include "engine/dsp/ResampleFirPair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

double Magnitude(const FirTable& t, double fractionOfNyquist)
{
    double re = 0.0, im = 0.0;
    for (int n = 0; n < t.length; ++n)
    {
        re += t.taps[n] * std::cos(kPi * fractionOfNyquist * n);
        im -= t.taps[n] * std::sin(kPi * fractionOfNyquist * n);
    }
    return std::hypot(re, im);
}

std::vector<double> Noise(size_t count, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(count);
    for (double& x : v)
        x = dist(gen);
    return v;
}

double Convolve(const FirTable& t, const std::vector<double>& x, long at)
{
    double y = 0.0;
    for (int j = 0; j < t.length && at - j >= 0; ++j)
        y += t.taps[j] * x[static_cast<size_t>(at - j)];
    return y;
}

struct TableCase
{
    bool block;
    int rate, factor, length;
    double cutoff;
};

const TableCase kTables[] = {
    {false, 88200, 2, 50, 0.32},     {false, 88200, 4, 101, 0.16},   {false, 88200, 6, 152, 0.1075},
    {false, 96000, 2, 47, 0.3075},   {false, 96000, 4, 95, 0.155},   {false, 96000, 6, 142, 0.1025},
    {true, 48000, 2, 166, 0.445},    {true, 48000, 4, 331, 0.2225},  {true, 48000, 8, 660, 0.1125},
    {true, 48000, 12, 990, 0.075},   {true, 44100, 2, 297, 0.47},    {true, 44100, 4, 592, 0.235},
    {true, 44100, 8, 1183, 0.1175},  {true, 44100, 12, 1774, 0.08},
};

FirTable Table(const TableCase& c)
{
    return c.block ? BlockFirTable(c.rate, c.factor) : DirectFirTable(c.rate, c.factor);
}

} // namespace

// Every table: its length, exact symmetry, unity DC gain, half amplitude at
// the stated -6 dB point and a deep stop band from the base-rate Nyquist
// frequency up.
TEST(FirTables, ShapeOfEveryTable)
{
    for (const TableCase& c : kTables)
    {
        const FirTable t = Table(c);
        ASSERT_EQ(t.length, c.length) << c.rate << " x" << c.factor;
        double sum = 0.0;
        for (int n = 0; n < t.length; ++n)
        {
            EXPECT_EQ(t.taps[n], t.taps[t.length - 1 - n]);
            sum += t.taps[n];
        }
        EXPECT_NEAR(sum, 1.0, 1e-14) << c.length;
        EXPECT_NEAR(Magnitude(t, c.cutoff), 0.5, 0.005) << c.length;
        EXPECT_NEAR(Magnitude(t, 0.5 * c.cutoff), 1.0, 1e-3) << c.length;
        double stop = 0.0;
        for (int i = 0; i <= 400; ++i)
            stop = std::max(stop, Magnitude(t, 1.0 / c.factor + (1.0 - 1.0 / c.factor) * i / 400.0));
        EXPECT_LT(20.0 * std::log10(stop), -90.0) << c.length;
    }
    // Factors without a table of their own use the longest one.
    EXPECT_EQ(DirectFirTable(96000, 3).length, 142);
    EXPECT_EQ(DirectFirTable(88200, 12).length, 152);
    EXPECT_EQ(BlockFirTable(44100, 6).length, 1774);
    EXPECT_EQ(BlockFirTable(48000, 5).length, 990);
}

TEST(ResampleFir, IsTheDirectConvolutionAndPushOnlyStores)
{
    const std::vector<double> x = Noise(600, 1);
    for (int factor : {2, 4, 6})
    {
        ResampleFir fir;
        fir.Configure(96000, factor);
        const FirTable t = DirectFirTable(96000, factor);
        EXPECT_EQ(fir.Length(), t.length);
        for (size_t i = 0; i < x.size(); ++i)
        {
            if (i % 3 != 2)
            {
                fir.Push(x[i]);
                continue;
            }
            ASSERT_NEAR(fir.ProcessSample(x[i]), Convolve(t, x, static_cast<long>(i)), 1e-14);
        }
        // Configuring again clears the history.
        fir.Configure(96000, factor);
        EXPECT_EQ(fir.ProcessSample(1.0), t.taps[0]);
    }
}

TEST(ResampleBlockFir, IsTheDirectConvolutionDelayedByOneBlock)
{
    const std::vector<double> x = Noise(6000, 2);
    for (int rate : {44100, 48000})
    {
        for (int factor : {2, 4, 8, 12})
        {
            ResampleBlockFir fir;
            ASSERT_TRUE(fir.Configure(512, rate, factor));
            const FirTable t = BlockFirTable(rate, factor);
            EXPECT_EQ(fir.Length(), t.length);
            double worst = 0.0;
            for (size_t i = 0; i < x.size(); ++i)
            {
                const double y = i % 5 == 0 ? (fir.Push(x[i]), 0.0) : fir.ProcessSample(x[i]);
                if (i % 5 == 0)
                    continue;
                const double expected = i >= 512 ? Convolve(t, x, static_cast<long>(i) - 512) : 0.0;
                worst = std::max(worst, std::fabs(y - expected));
            }
            EXPECT_LT(worst, 1e-12) << rate << " x" << factor;
        }
    }

    ResampleBlockFir bad;
    EXPECT_FALSE(bad.Configure(500, 44100, 2));
    EXPECT_EQ(bad.ProcessSample(1.0), 0.0);
}

// Two unrelated streams through one pair: each lane is its own direct
// convolution, delayed by one block, with nothing leaking across; the AVX
// products (where present) give the same bits as the SSE2 ones.
TEST(ResampleBlockFirPair, EachLaneIsItsOwnDirectConvolutionDelayedByOneBlock)
{
    const std::vector<double> m = Noise(6000, 3);
    std::vector<double> s = Noise(6000, 4);
    for (size_t i = 0; i < 1500; ++i)
        s[i] = 0.0; // side silent at first: any leak from mid would show
    for (int rate : {44100, 48000})
    {
        for (int factor : {2, 8, 12})
        {
            ResampleBlockFirPair pair;
            ASSERT_TRUE(pair.Configure(512, rate, factor));
            ResampleBlockFirPair narrow;
            narrow.AllowWideVectors(false);
            ASSERT_TRUE(narrow.Configure(512, rate, factor));
            const FirTable t = BlockFirTable(rate, factor);
            EXPECT_EQ(pair.Length(), t.length);
            double worst = 0.0;
            for (size_t i = 0; i < m.size(); ++i)
            {
                double ym = m[i], ys = s[i];
                double nm = m[i], ns = s[i];
                if (i % 5 == 0)
                {
                    pair.PushPair(ym, ys);
                    narrow.PushPair(nm, ns);
                    continue;
                }
                pair.ProcessPair(ym, ys);
                narrow.ProcessPair(nm, ns);
                ASSERT_EQ(ym, nm) << i;
                ASSERT_EQ(ys, ns) << i;
                const long at = static_cast<long>(i) - 512;
                const double em = at >= 0 ? Convolve(t, m, at) : 0.0;
                const double es = at >= 0 ? Convolve(t, s, at) : 0.0;
                worst = std::max({worst, std::fabs(ym - em), std::fabs(ys - es)});
            }
            EXPECT_LT(worst, 1e-12) << rate << " x" << factor;
        }
    }

    ResampleBlockFirPair bad;
    EXPECT_FALSE(bad.Configure(500, 44100, 2));
    double m0 = 1.0, s0 = 1.0;
    bad.ProcessPair(m0, s0);
    EXPECT_EQ(m0, 0.0);
    EXPECT_EQ(s0, 0.0);
}

// Impulse responses of 1 to 18 partitions (the products run up to eight
// partitions per pass over the bins, with a kernel per partition count),
// at block sizes whose transforms end on a radix-2 and on a radix-4 stage
// (the spectra stay in the transform's bit-reversed bin order): each lane
// is its direct convolution, and the AVX products (where present) give
// the same bits as the SSE2 ones.
TEST(PairBlockConvolver, EveryPartitionCountConvolvesExactlyWideOrNarrow)
{
    constexpr int kBlocks = 40;
    for (int block : {16, 32})
    {
        const std::vector<double> x = Noise(static_cast<size_t>(kBlocks * block), 5);
        const std::vector<double> y = Noise(static_cast<size_t>(kBlocks * block), 6);
        for (int parts = 1; parts <= 18; ++parts)
        {
            const int length = parts * block - (parts % 3) * 7; // full and partial last partitions
            const std::vector<double> taps = Noise(static_cast<size_t>(length), 100 + parts);
            PairBlockConvolver wide;
            PairBlockConvolver narrow;
            narrow.AllowWideVectors(false);
            ASSERT_TRUE(wide.SetImpulse(block, taps.data(), length));
            ASSERT_TRUE(narrow.SetImpulse(block, taps.data(), length));
            std::vector<double> previous(2 * static_cast<size_t>(block), 0.0), in(2 * static_cast<size_t>(block));
            double worst = 0.0;
            for (int b = 0; b < kBlocks; ++b)
            {
                for (int i = 0; i < block; ++i)
                {
                    in[2 * static_cast<size_t>(i)] = x[static_cast<size_t>(b * block + i)];
                    in[2 * static_cast<size_t>(i) + 1] = y[static_cast<size_t>(b * block + i)];
                }
                const double* outWide = wide.ProcessBlock(previous.data(), in.data());
                const double* outNarrow = narrow.ProcessBlock(previous.data(), in.data());
                for (int i = 0; i < 2 * block; ++i)
                    ASSERT_EQ(outWide[i], outNarrow[i]) << block << "/" << parts << " partitions, block " << b;
                for (int i = 0; i < block; ++i)
                {
                    const long at = static_cast<long>(b * block + i);
                    double ex = 0.0, ey = 0.0;
                    for (long j = 0; j < length && at - j >= 0; ++j)
                    {
                        ex += taps[static_cast<size_t>(j)] * x[static_cast<size_t>(at - j)];
                        ey += taps[static_cast<size_t>(j)] * y[static_cast<size_t>(at - j)];
                    }
                    worst = std::max(
                        {worst, std::fabs(outWide[2 * i] - ex), std::fabs(outWide[2 * i + 1] - ey)});
                }
                previous = in;
            }
            EXPECT_LT(worst, 1e-11) << block << "-sample blocks, " << parts << " partitions";
        }
    }
}

// The single-stream convolver pairs bin k with bin B-k in its split
// passes while the bins sit in bit-reversed order: at block sizes whose
// transforms end on a radix-2 and on a radix-4 stage, with one to several
// partitions, the output is the direct convolution, in place as well.
TEST(BlockConvolver, ConvolvesExactlyAtEveryBlockSizeAndPartitionCount)
{
    constexpr int kBlocks = 24;
    for (int block : {16, 32, 64})
    {
        const std::vector<double> x = Noise(static_cast<size_t>(kBlocks * block), 7);
        for (int parts : {1, 2, 9})
        {
            const int length = parts * block - 5;
            const std::vector<double> taps = Noise(static_cast<size_t>(length), 200 + parts);
            BlockConvolver conv;
            ASSERT_TRUE(conv.SetImpulse(block, taps.data(), length));
            std::vector<double> out(x.size());
            for (int b = 0; b < kBlocks; ++b)
            {
                double* chunk = &out[static_cast<size_t>(b * block)];
                std::copy_n(&x[static_cast<size_t>(b * block)], block, chunk);
                conv.ProcessBlock(chunk, chunk);
            }
            double worst = 0.0;
            for (long i = 0; i < static_cast<long>(x.size()); ++i)
            {
                double e = 0.0;
                for (long j = 0; j < length && i - j >= 0; ++j)
                    e += taps[static_cast<size_t>(j)] * x[static_cast<size_t>(i - j)];
                worst = std::max(worst, std::fabs(out[static_cast<size_t>(i)] - e));
            }
            EXPECT_LT(worst, 1e-11) << block << "-sample blocks, " << parts << " partitions";
        }
    }
    BlockConvolver bad;
    const double tap = 1.0;
    EXPECT_FALSE(bad.SetImpulse(24, &tap, 1));
}

TEST(ResampleBiquad, CornerSitsAtNineTenthsOfTheBaseNyquist)
{
    // At F = 2 the corner is 0.45π per sub-sample, where a Q of 1/1.414
    // gives a gain of 0.7072.
    ResampleBiquad q;
    q.Configure(2);
    const double w = 0.45 * kPi;
    double peak = 0.0;
    for (int i = 0; i < 4000; ++i)
    {
        const double y = q.ProcessSample(std::sin(w * i));
        if (i > 3000)
            peak = std::max(peak, std::fabs(y));
    }
    EXPECT_NEAR(peak, 1.0 / 1.414, 2e-3);

    // F = 1 leaves a pass-through.
    ResampleBiquad through;
    through.Configure(1);
    EXPECT_EQ(through.ProcessSample(0.3), 0.3);
}

// A held constant through an up-sampling and a down-sampling filter comes
// out unchanged once the filters have filled, in every style.
TEST(Resampling, ConstantPassesEveryUpDownPair)
{
    const double c = 0.37;
    for (int factor : {2, 4, 6, 8, 12})
    {
        ResampleBiquad bUp, bDown;
        bUp.Configure(factor);
        bDown.Configure(factor);
        ResampleFir dUp, dDown;
        dUp.Configure(96000, factor);
        dDown.Configure(96000, factor);
        ResampleBlockFir kUp, kDown;
        kUp.Configure(512, 44100, factor);
        kDown.Configure(512, 44100, factor);

        double biquad = 0.0, direct = 0.0, block = 0.0;
        for (int n = 0; n < 1200; ++n)
        {
            for (int i = 0; i < factor; ++i)
            {
                const bool last = i == factor - 1;
                biquad = bDown.ProcessSample(bUp.ProcessSample(c));
                const double d = dUp.ProcessSample(c);
                if (last)
                    direct = dDown.ProcessSample(d);
                else
                    dDown.Push(d);
                const double k = kUp.ProcessSample(c);
                if (last)
                    block = kDown.ProcessSample(k);
                else
                    kDown.Push(k);
            }
        }
        EXPECT_NEAR(biquad, c, 1e-12) << "x" << factor;
        EXPECT_NEAR(direct, c, 1e-12) << "x" << factor;
        EXPECT_NEAR(block, c, 1e-12) << "x" << factor;
    }
}

// Each lane of the biquad pair must be bit-identical to a single biquad fed
// the same samples: unrelated lanes, signals that decay into the subnormal
// range (the flush), and redesigns for other factors mid-stream.
TEST(ResampleBiquadPair, LanesMatchSingleFiltersExactly)
{
    ResampleBiquadPair pair;
    ResampleBiquad mid;
    ResampleBiquad side;
    const std::vector<double> a = Noise(4000, 5u);
    const std::vector<double> b = Noise(4000, 6u);
    int n = 0;
    for (int factor : {1, 2, 4, 8, 12, 3})
    {
        pair.Configure(factor);
        mid.Configure(factor);
        side.Configure(factor);
        for (size_t i = 0; i < a.size(); ++i, ++n)
        {
            // The second half of each stretch decays toward zero, side faster.
            const double fade = i < 2000 ? 1.0 : std::pow(1e-30, static_cast<double>(i - 2000) / 300.0);
            const double m = a[i] * fade;
            const double s = b[i] * fade * fade;
            const __m128d y = pair.ProcessPair(LanePair(m, s));
            ASSERT_EQ(LaneMid(y), mid.ProcessSample(m)) << "sample " << n;
            ASSERT_EQ(LaneSide(y), side.ProcessSample(s)) << "sample " << n;
        }
    }
}

// Each lane of the direct FIR pair must be bit-identical to a single direct
// FIR, for every direct table, with store-only steps between filtered ones
// (as the down-sampler runs) and unrelated lanes, by the SSE2 and AVX sums.
TEST(ResampleFirPair, LanesMatchSingleFiltersExactly)
{
    ResampleFirPair pair;
    ResampleFir mid;
    ResampleFir side;
    // A second pair run beside the first in one loop (ProcessTwoPairs) on
    // the filtered steps, with its own singles.
    ResampleFirPair second;
    ResampleFir side2;
    ResampleFir mid2;
    const std::vector<double> a = Noise(1500, 7u);
    const std::vector<double> b = Noise(1500, 8u);
    int n = 0;
    for (int rate : {88200, 96000, 192000, 88200})
    {
        pair.AllowAvx(rate != 96000); // both sums (AVX where the processor has it)
        second.AllowAvx(rate != 96000);
        for (int factor : {2, 4, 6, 1})
        {
            for (ResampleFirPair* p : {&pair, &second})
                p->Configure(rate, factor);
            for (ResampleFir* f : {&mid, &side, &mid2, &side2})
                f->Configure(rate, factor);
            ASSERT_EQ(pair.Length(), mid.Length());
            for (size_t i = 0; i < a.size(); ++i, ++n)
            {
                if (i % 3 != 2)
                {
                    pair.PushPair(LanePair(a[i], b[i]));
                    second.PushPair(LanePair(b[i], -a[i]));
                    mid.Push(a[i]);
                    side.Push(b[i]);
                    side2.Push(b[i]);
                    mid2.Push(-a[i]);
                    continue;
                }
                __m128d y = LanePair(a[i], b[i]);
                __m128d y2 = LanePair(b[i], -a[i]);
                if (i % 2 == 0)
                {
                    ResampleFirPair::ProcessTwoPairs(pair, y, second, y2);
                }
                else
                {
                    y = pair.ProcessPair(y);
                    y2 = second.ProcessPair(y2);
                }
                ASSERT_EQ(LaneMid(y), mid.ProcessSample(a[i])) << "sample " << n;
                ASSERT_EQ(LaneSide(y), side.ProcessSample(b[i])) << "sample " << n;
                ASSERT_EQ(LaneMid(y2), side2.ProcessSample(b[i])) << "sample " << n;
                ASSERT_EQ(LaneSide(y2), mid2.ProcessSample(-a[i])) << "sample " << n;
            }
        }
    }
}
