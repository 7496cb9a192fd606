#include "engine/dsp/EnvelopeFollower.h"
#include "engine/dsp/EnvelopeFollowerPair.h"
#include "engine/dsp/TransientEnvelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

TEST(EnvelopeFollower, AttackAndReleaseTimesReachOnePercent)
{
    EnvelopeFollower f;
    f.SetTimes(0.0, 10.0, 44100);
    EXPECT_EQ(f.AttackCoefficient(), 0.0);
    EXPECT_EQ(f.ProcessSample(-0.7, 0.0, 1.0), 0.7); // instant attack

    // With no drive the release falls to 1 % of the distance in 10 ms.
    for (int i = 0; i < 441; ++i)
        f.ProcessSample(0.1, 0.0, 1.0);
    EXPECT_NEAR(f.State(), 0.1 + 0.01 * 0.6, 1e-9);

    f.SetTimes(5.0, 10.0, 48000);
    f.Reset();
    for (int i = 0; i < 240; ++i)
        f.ProcessSample(1.0, 0.0, 1.0);
    EXPECT_NEAR(f.State(), 0.99, 1e-9);
}

TEST(EnvelopeFollower, DriveShapesTheReleaseAndStateStaysNormal)
{
    auto releaseAfter = [](double drive) {
        EnvelopeFollower f;
        f.SetTimes(0.0, 1000.0, 44100);
        f.ProcessSample(1.0, 0.0, 1.0);
        for (int i = 0; i < 1000; ++i)
            f.ProcessSample(0.0, drive, 0.001);
        return f.State();
    };
    const double plain = releaseAfter(0.0);
    EXPECT_LT(releaseAfter(2000.0), plain);   // drive speeds the release
    EXPECT_GT(releaseAfter(-2000.0), plain);  // negative drive slows it

    // Decaying toward zero never leaves a subnormal number in the state,
    // and absurd drive never leaves a non-finite one.
    EnvelopeFollower f;
    f.SetTimes(0.0, 0.01, 44100);
    f.ProcessSample(1.0, 0.0, 1.0);
    for (int i = 0; i < 2000; ++i)
    {
        const double s = f.ProcessSample(0.0, 0.0, 1.0);
        ASSERT_NE(std::fpclassify(s), FP_SUBNORMAL);
    }
    EXPECT_EQ(f.State(), 0.0);
    f.ProcessSample(1.0, 0.0, 1.0);
    EXPECT_TRUE(std::isfinite(f.ProcessSample(0.5, -1e300, 1e-300)));
}

TEST(TransientEnvelope, WindowLengthsAndDelaysFollowTheRate)
{
    TransientEnvelope t;
    t.Configure(88200);
    EXPECT_EQ(t.WindowLength(0), 154);
    EXPECT_EQ(t.WindowLength(1), 221);
    EXPECT_EQ(t.WindowLength(2), 353);
    EXPECT_EQ(t.DelayLength(0), 199);
    EXPECT_EQ(t.DelayLength(1), 132);

    t.Configure(44100);
    EXPECT_EQ(t.WindowLength(0), 77);
    EXPECT_EQ(t.WindowLength(1), 110);
    EXPECT_EQ(t.WindowLength(2), 176);
    EXPECT_NEAR(t.ReleaseCoefficient(), std::exp(std::log(0.01) / (44100 * 0.0264375)), 1e-15);

    // Absurd rates are held to a usable range instead of dividing by zero.
    t.Configure(0);
    EXPECT_GE(t.WindowLength(0), 1);
    double x = 0.5;
    t.ProcessSample(x, 0.0, 1.0, true);
    EXPECT_TRUE(std::isfinite(x));
}

// Silence falls at the window's rate and stops at its floor instead of
// reaching minus infinity.
TEST(TransientEnvelope, ZeroInputStopsAtTheFloorLevels)
{
    TransientEnvelope t;
    t.Configure(1000);
    double x = 0.0;
    t.ProcessSampleSimple(x, false);
    EXPECT_DOUBLE_EQ(t.WindowLevel(0), -15.0 / 1000);
    EXPECT_DOUBLE_EQ(t.WindowLevel(2), -0.46875 / 1000);
    for (int i = 0; i < 500000; ++i)
    {
        x = 0.0;
        t.ProcessSampleSimple(x, false);
        ASSERT_EQ(x, 0.0);
    }
    EXPECT_EQ(t.WindowLevel(0), -96.0);
    EXPECT_EQ(t.WindowLevel(1), -256.0);
    EXPECT_EQ(t.WindowLevel(2), -223.0);
}

namespace {

std::vector<double> StepResponse(TransientEnvelope& t, int quiet, int loud, bool reconfigure)
{
    std::vector<double> out;
    for (int i = 0; i < quiet + loud; ++i)
    {
        if (reconfigure)
            t.Configure(44100);
        double x = i < quiet ? 0.01 : -1.0;
        t.ProcessSample(x, 0.0, 1.0, false);
        out.push_back(x);
    }
    return out;
}

} // namespace

// A sudden rise triples the windows' outputs while their average level
// climbs; a steady signal passes at its own level.
TEST(TransientEnvelope, RiseIsEmphasisedAndSteadyLevelPasses)
{
    TransientEnvelope t;
    t.Configure(44100);
    const std::vector<double> out = StepResponse(t, 20000, 20000, false);
    EXPECT_NEAR(out[19999], 0.01, 1e-15);
    double peak = 0.0;
    for (int i = 20000; i < 20400; ++i)
        peak = std::max(peak, out[static_cast<size_t>(i)]);
    EXPECT_NEAR(peak, 3.0, 1e-12);
    EXPECT_NEAR(out.back(), 1.0, 1e-15);

    // Reconfiguring for the same rate at every sample (as the attack and
    // release glide does) leaves the detection unchanged.
    TransientEnvelope a, b;
    a.Configure(44100);
    b.Configure(44100);
    const std::vector<double> plain = StepResponse(a, 3000, 2000, false);
    const std::vector<double> again = StepResponse(b, 3000, 2000, true);
    EXPECT_EQ(plain, again);
}

TEST(TransientEnvelope, ReleaseFollowerFallsToOnePercentIn26Ms)
{
    for (bool simple : {true, false})
    {
        TransientEnvelope t;
        t.Configure(44100);
        auto step = [&](double x) {
            if (simple)
                t.ProcessSampleSimple(x, true);
            else
                t.ProcessSample(x, 0.0, 1.0, true);
            return x;
        };
        for (int i = 0; i < 20000; ++i)
            step(0.5);
        // Once every window sees the silence the blend is 0 and only the
        // follower remains.
        for (int i = 0; i < 176; ++i)
            step(0.0);
        const double start = t.State();
        const int samples = static_cast<int>(std::lround(44100 * 0.0264375));
        for (int i = 0; i < samples; ++i)
            step(0.0);
        EXPECT_NEAR(t.State() / start, std::pow(t.ReleaseCoefficient(), samples), 1e-12);
        EXPECT_NEAR(t.State() / start, 0.01, 1e-4);
    }
}

// Each lane of the follower pair must be bit-identical to a single follower:
// attack and release steps taken by different lanes at once, drives of both
// signs with the release factor's series in one lane and its exponential
// fallback in the other, decay into the subnormal range, non-finite input
// and new times mid-stream.
TEST(EnvelopeFollowerPair, LanesMatchSingleFollowersExactly)
{
    EnvelopeFollowerPair pair;
    EnvelopeFollower mid;
    EnvelopeFollower side;
    struct Stretch
    {
        double attackMs, releaseMs;
        int rate;
        double driveScale, strength;
    };
    const Stretch stretches[] = {
        {1.0, 50.0, 88200, 0.02, 4.0},      // the engine's range: series in both lanes
        {0.0, 0.01, 44100, 0.0, 1.0},       // instant attack, release into subnormals
        {5.0, 200.0, 529200, 3e6, 0.5},     // side's drive/strength leaves the series range
        {2.0, 20.0, 96000, 1e300, 1e-300},  // absurd drive: the non-finite guard
    };
    const double inf = std::numeric_limits<double>::infinity();
    int n = 0;
    for (const Stretch& st : stretches)
    {
        pair.SetTimes(st.attackMs, st.releaseMs, st.rate);
        mid.SetTimes(st.attackMs, st.releaseMs, st.rate);
        side.SetTimes(st.attackMs, st.releaseMs, st.rate);
        EXPECT_EQ(pair.AttackCoefficient(), mid.AttackCoefficient());
        EXPECT_EQ(pair.ReleaseCoefficient(), mid.ReleaseCoefficient());
        for (int i = 0; i < 3000; ++i, ++n)
        {
            // Bursts of different period per lane, silent in between.
            double m = (i % 700) < 200 ? std::sin(0.03 * i) : 0.0;
            double s = (i % 450) < 100 ? -0.6 * std::cos(0.05 * i) : 0.0;
            if (i == 2500)
                m = inf;
            if (i == 2600)
                s = std::numeric_limits<double>::quiet_NaN();
            const double driveM = st.driveScale * 1e-3 * std::sin(0.002 * i);
            const double driveS = st.driveScale * std::cos(0.003 * i);
            const __m128d y = pair.ProcessPair(LanePair(m, s), LanePair(driveM, driveS), st.strength);
            const double expectM = mid.ProcessSample(m, driveM, st.strength);
            const double expectS = side.ProcessSample(s, driveS, st.strength);
            ASSERT_EQ(LaneMid(y), expectM) << "sample " << n;
            ASSERT_EQ(LaneSide(y), expectS) << "sample " << n;
        }
        EXPECT_EQ(pair.State(0), mid.State());
        EXPECT_EQ(pair.State(1), side.State());
    }
}
