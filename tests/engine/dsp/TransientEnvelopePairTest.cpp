#include "engine/dsp/TransientEnvelope.h"
#include "engine/dsp/TransientEnvelopePair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

// Bursts of decaying tone with silent gaps; the two lanes get unrelated
// signals so any leak between them shows.
double Signal(int lane, int n)
{
    const int period = lane == 0 ? 900 : 1370;
    const int phase = n % period;
    if (phase > period / 2)
        return 0.0;
    const double tone = std::sin(0.05 * n * (lane + 1)) * std::exp(-0.01 * phase);
    return lane == 0 ? tone : 0.3 * tone;
}

// Runs of zeros, subnormals, huge and tiny values between ordinary ones:
// levels of -inf, far below every floor, far above, and steep falls.
double Extreme(int lane, int n)
{
    static const double kValues[] = {0.0, 4.9e-324, 1e-310, 1e300, 2.2250738585072014e-308, 0.5, 1e-12, 0.0};
    return kValues[(n / (lane == 0 ? 37 : 53)) % 8] * (n % 2 == 0 ? 1.0 : -1.0);
}

} // namespace

// Each lane must be bit-identical to a single detector fed the same samples,
// through both detector forms, release on and off, varying drive, rate
// changes that grow and shrink the windows mid-stream, and extreme inputs.
TEST(TransientEnvelopePair, LanesMatchSingleDetectorsExactly)
{
    TransientEnvelopePair pair;
    TransientEnvelope mid;
    TransientEnvelope side;
    const int rates[] = {88200, 44100, 352800, 96000, 96000, 48000};
    int n = 0;
    for (int step = 0; step < 6; ++step)
    {
        pair.Configure(rates[step]);
        mid.Configure(rates[step]);
        side.Configure(rates[step]);
        for (int j = 0; j < 3; ++j)
            ASSERT_EQ(pair.WindowLength(j), mid.WindowLength(j));
        const bool simple = step == 3;
        const bool release = step != 1;
        for (int i = 0; i < 6000; ++i, ++n)
        {
            double m = step == 5 ? Extreme(0, n) : Signal(0, n);
            double s = step == 5 ? Extreme(1, n) : Signal(1, n);
            double expectM = m;
            double expectS = s;
            const double driveM = 0.02 * std::sin(0.001 * n);
            const double driveS = -0.5 * driveM;
            if (simple)
            {
                pair.ProcessPairSimple(m, s, release);
                mid.ProcessSampleSimple(expectM, release);
                side.ProcessSampleSimple(expectS, release);
            }
            else
            {
                pair.ProcessPair(m, s, driveM, driveS, 1.5, release);
                mid.ProcessSample(expectM, driveM, 1.5, release);
                side.ProcessSample(expectS, driveS, 1.5, release);
            }
            ASSERT_EQ(m, expectM) << "sample " << n;
            ASSERT_EQ(s, expectS) << "sample " << n;
        }
        EXPECT_EQ(pair.State(0), mid.State());
        EXPECT_EQ(pair.State(1), side.State());
    }
}
