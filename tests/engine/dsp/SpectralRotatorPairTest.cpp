#include "engine/dsp/SpectralRotator.h"
#include "engine/dsp/SpectralRotatorPair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

namespace {

std::vector<double> Noise(size_t count, unsigned seed)
{
    std::mt19937 gen(seed);
    std::normal_distribution<double> dist(0.0, 0.3);
    std::vector<double> v(count);
    for (double& x : v)
        x = dist(gen);
    return v;
}

} // namespace

// Each lane of the pair follows a single rotator fed the same lane, within
// rounding (the pair runs one complex transform of N points where a single
// rotator runs a real one): across sizes and angles, on the wide and the
// baseline path, with the angle moving between blocks, a resize in the
// middle of a block, a same-size resize and lanes of very different level.
// The transform mixes the lanes' rounding: the error of either lane is
// bounded by the peak of the louder one (a loud mid leaves rounding noise of
// its own size in a quiet side, not more).
TEST(SpectralRotatorPair, LanesMatchSingleRotators)
{
    double worstSeen = 0.0;
    for (int n : {8, 64, 1024, 4096})
    {
        for (double angle : {0.0, 37.0, -90.0, 135.0, 180.0})
        {
            SpectralRotatorPair pair(n);
            pair.AllowWideVectors(angle >= 0.0); // the baseline path for one angle
            SpectralRotator mid(n), side(n);
            const auto setAngle = [&](double degrees) {
                const double phi = -degrees * std::numbers::pi / 180.0;
                pair.SetPhase(std::cos(phi), std::sin(phi));
                mid.SetPhase(std::cos(phi), std::sin(phi));
                side.SetPhase(std::cos(phi), std::sin(phi));
            };
            setAngle(angle);
            const size_t length = 6 * static_cast<size_t>(n) + 333;
            const std::vector<double> m = Noise(length, static_cast<unsigned>(n));
            std::vector<double> s = Noise(length, static_cast<unsigned>(n) + 1);
            for (double& v : s)
                v *= 1e-6;

            double worstM = 0.0, worstS = 0.0, peakM = 0.0, peakS = 0.0;
            for (size_t i = 0; i < length; ++i)
            {
                if (i == length / 3)
                {
                    const int other = n == 8 ? 16 : n / 2; // mid-block resize
                    ASSERT_TRUE(pair.SetSize(other) && mid.SetSize(other) && side.SetSize(other));
                }
                if (i == length / 2)
                {
                    ASSERT_TRUE(pair.SetSize(pair.Size()) && mid.SetSize(mid.Size()) && side.SetSize(side.Size()));
                }
                if (i % 97 == 0)
                    setAngle(angle + static_cast<double>(i % 7) * 11.0);
                double pm = m[i], ps = s[i], sm = m[i], ss = s[i];
                pair.ProcessPair(pm, ps);
                mid.ProcessSample(sm);
                side.ProcessSample(ss);
                worstM = std::max(worstM, std::fabs(pm - sm));
                worstS = std::max(worstS, std::fabs(ps - ss));
                peakM = std::max(peakM, std::fabs(sm));
                peakS = std::max(peakS, std::fabs(ss));
            }
            const double peak = std::max(peakM, peakS);
            EXPECT_LE(worstM, 2e-15 * peak) << "mid, N = " << n << ", angle " << angle;
            EXPECT_LE(worstS, 2e-15 * peak) << "side, N = " << n << ", angle " << angle;
            worstSeen = std::max({worstSeen, worstM / peak, worstS / peak});
        }
    }
    std::printf("worst lane difference: %.3g of peak\n", worstSeen);
}

// The pair's own frame bookkeeping: a bad size changes nothing; after any
// resize both lanes are silent for exactly N samples and then, at angle 0,
// carry their own input N samples late, with nothing of the other lane;
// angle 180 inverts both.
TEST(SpectralRotatorPair, ResizeRestartsBothLanesAndKeepsThemApart)
{
    SpectralRotatorPair pair(2048);
    const std::vector<double> warm = Noise(3000, 21); // leaves a block half full
    for (size_t i = 0; i + 1 < warm.size(); i += 2)
    {
        double m = warm[i], s = warm[i + 1];
        pair.ProcessPair(m, s);
    }
    for (int bad : {0, 4, 1000, 65536})
        EXPECT_FALSE(pair.SetSize(bad)) << bad;
    EXPECT_EQ(pair.Size(), 2048);

    for (int n : {256, 256, 64})
    {
        for (double sign : {1.0, -1.0})
        {
            // Each run starts with a resize (the same size discards the
            // buffered audio too) and angle 0 or 180.
            ASSERT_TRUE(pair.SetSize(n));
            pair.SetPhase(sign, 0.0);
            const std::vector<double> m = Noise(5 * static_cast<size_t>(n), static_cast<unsigned>(n));
            // Side carries a signal only in the second half, so a leak from
            // mid would show before that.
            const auto sideIn = [&m](size_t j) { return j >= m.size() / 2 ? 3.0 * m[j] : 0.0; };
            const size_t d = static_cast<size_t>(n);
            for (size_t i = 0; i < m.size(); ++i)
            {
                double outM = m[i], outS = sideIn(i);
                pair.ProcessPair(outM, outS);
                ASSERT_NEAR(outM, i < d ? 0.0 : sign * m[i - d], 1e-12) << "N = " << n << ", mid at " << i;
                ASSERT_NEAR(outS, i < d ? 0.0 : sign * sideIn(i - d), 1e-12) << "N = " << n << ", side at " << i;
            }
        }
    }
}
