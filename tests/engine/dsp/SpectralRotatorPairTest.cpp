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
