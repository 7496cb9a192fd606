// What the effect does to audio: pure gain at Angle 180, the dry path, the
// sidechain, silence sleep and bad input.
#include "tests/engine/ostrand/OstrandTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

using namespace ostrand_test;

namespace {

// Least-squares gain of y against x and the relative residual.
std::pair<double, double> FitGain(const std::vector<double>& y, const std::vector<double>& x, std::size_t from,
                                  std::size_t to, std::size_t lag)
{
    double xy = 0.0, xx = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        xy += y[i] * x[i - lag];
        xx += x[i - lag] * x[i - lag];
    }
    double g = xy / xx;
    double err = 0.0, yy = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        double e = y[i] - g * x[i - lag];
        err += e * e;
        yy += y[i] * y[i];
    }
    return {g, std::sqrt(err / std::max(yy, 1e-300))};
}

} // namespace

// At Angle 180 the rotated signal is the inverted dry one, so the effect is
// a gain on what the unrotated path (Angle 0) delivers.
TEST(OstrandSignal, Angle180IsAPureGain)
{
    for (double rate : {44100.0, 96000.0}) {
        for (int juice : {1, 4}) {
            SCOPED_TRACE(testing::Message() << rate << " Hz, Juice " << juice);
            auto render = [&](double angle, double sensitivity, const Stereo& in) {
                auto plug = MakeReady(rate);
                SetPlain(*plug, kParamAngle, angle);
                SetPlain(*plug, kParamJuice, juice);
                SetPlain(*plug, kParamOutput, 0.0);
                SetPlain(*plug, kParamSensitivity, sensitivity);
                SetPlain(*plug, kParamStrength, 0.0001); // no detector influence
                Settle(*plug, 20);
                return Render(*plug, in);
            };
            const std::size_t n = 14000;
            Stereo in = Noise(n, 0.1);
            Stereo reference = render(0.0, 20.0, in);
            Stereo out = render(180.0, 20.0, in); // mix offset 0.1
            auto [g, residual] = FitGain(out.left, reference.left, n - 4000, n, 0);
            EXPECT_NEAR(g, 1.0 - 2.0 * 0.1, 1e-4);
            EXPECT_LT(residual, 1e-4);
            auto [gr, residualR] = FitGain(out.right, reference.right, n - 4000, n, 0);
            EXPECT_NEAR(gr, 0.8, 1e-4);
            EXPECT_LT(residualR, 1e-4);

            // Mix 0.5 cancels the signal entirely.
            Stereo silent = render(180.0, 100.0, in);
            EXPECT_LT(Rms(silent.left, n - 3000, n), 1e-6 * Rms(reference.left, n - 3000, n));
        }
    }
}

TEST(OstrandSignal, WeakStrengthGivesTheDelayedDrySignal)
{
    auto plug = MakeReady(96000.0);
    SetPlain(*plug, kParamAngle, 97.0);
    SetPlain(*plug, kParamStrength, 0.0001);
    SetPlain(*plug, kParamOutput, 6.0);
    Settle(*plug, 10);
    const std::size_t lat = static_cast<std::size_t>(plug->Latency());
    const std::size_t n = lat + 4000;
    Stereo in = Noise(n, 0.1);
    Stereo out = Render(*plug, in);
    auto [g, residual] = FitGain(out.left, in.left, n - 3000, n, lat);
    EXPECT_NEAR(g, std::pow(10.0, 6.0 / 20.0), 1e-3);
    EXPECT_LT(residual, 1e-3);
}

TEST(OstrandSignal, SilentSidechainLeavesTheMixToSensitivityAndBalance)
{
    auto plug = MakeReady(96000.0);
    SetPlain(*plug, kParamAngle, 180.0);
    SetPlain(*plug, kParamOutput, 0.0);
    SetPlain(*plug, kParamExtSidechain, 1);
    SetPlain(*plug, kParamSensitivity, 40.0); // offset 0.2
    SetPlain(*plug, kParamBalance, 40.0);     // offset 0.08 (Strength 1)
    Settle(*plug, 10);
    const std::size_t lat = static_cast<std::size_t>(plug->Latency());
    const std::size_t n = lat + 6000;
    for (double level : {0.01, 0.5}) {
        SCOPED_TRACE(level);
        Stereo mid = Sine(n, 300.0, 96000.0, level, 0.0);                  // L = R
        Stereo side = Sine(n, 300.0, 96000.0, level, std::numbers::pi);    // L = -R
        Stereo silent{std::vector<double>(n), std::vector<double>(n)};
        auto gainOf = [&](const Stereo& in) {
            Stereo out = Render(*plug, in, &silent);
            return FitGain(out.left, in.left, n - 3000, n, lat).first;
        };
        EXPECT_NEAR(gainOf(mid), 1.0 - 2.0 * 0.28, 1e-3);
        EXPECT_NEAR(gainOf(side), 1.0 - 2.0 * 0.12, 1e-3);
    }
    EXPECT_NEAR(plug->Meters().mixMid, 0.56, 0.01);
    EXPECT_NEAR(plug->Meters().mixSide, 0.24, 0.01);

    // A loud sidechain now drives the detector instead.
    SetPlain(*plug, kParamSensitivity, 0.0);
    SetPlain(*plug, kParamBalance, 0.0);
    Settle(*plug, 10);
    Stereo in = Sine(n, 300.0, 96000.0, 0.1, 0.0);
    Stereo quietSc{std::vector<double>(n), std::vector<double>(n)};
    Stereo loudSc = Noise(n, 0.5);
    double quiet = Rms(Render(*plug, in, &quietSc).left, n - 3000, n);
    double loud = Rms(Render(*plug, in, &loudSc).left, n - 3000, n);
    EXPECT_LT(loud, 0.95 * quiet);
}

TEST(OstrandSignal, SleepsAfterLongSilenceAndWakes)
{
    auto plug = MakeReady(44100.0);
    Stereo loud = Noise(6000, 0.1);
    Render(*plug, loud);
    const int limit = 2 * 2048 * 2; // P × S × 2
    Stereo quiet{std::vector<double>(limit - 1, 1e-7), std::vector<double>(limit - 1, 1e-7)};
    Render(*plug, quiet);
    EXPECT_EQ(plug->SilenceCount(), limit - 1);
    EXPECT_TRUE(plug->AudioRunning());

    Stereo more{std::vector<double>(100, 0.0), std::vector<double>(100, 0.0)};
    Stereo slept = Render(*plug, more);
    EXPECT_FALSE(plug->AudioRunning());
    EXPECT_EQ(plug->SilenceCount(), limit + 1);
    for (double v : slept.left)
        EXPECT_EQ(v, 0.0);

    Stereo wake = Noise(plug->Latency() + 500, 0.1);
    Stereo out = Render(*plug, wake);
    EXPECT_TRUE(plug->AudioRunning());
    EXPECT_EQ(plug->SilenceCount(), 0);
    EXPECT_GT(Rms(out.left, out.left.size() - 400, out.left.size()), 0.01);
}

TEST(OstrandSignal, NonFiniteInputIsTakenAsSilence)
{
    const std::size_t n = 12000;
    Stereo clean = Noise(n, 0.2);
    Stereo bad = clean;
    for (std::size_t i = 3000; i < 3600; ++i) {
        clean.left[i] = clean.right[i] = 0.0;
        bad.left[i] = i % 3 == 0 ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
        bad.right[i] = -std::numeric_limits<double>::infinity();
    }
    for (int juice : {1, 5}) {
        SCOPED_TRACE(juice);
        auto a = MakeReady(44100.0);
        auto b = MakeReady(44100.0);
        for (auto* plug : {a.get(), b.get()}) {
            SetPlain(*plug, kParamJuice, juice);
            Settle(*plug, 10);
        }
        Stereo outClean = Render(*a, clean);
        Stereo outBad = Render(*b, bad);
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_TRUE(std::isfinite(outBad.left[i]) && std::isfinite(outBad.right[i])) << i;
            ASSERT_EQ(outBad.left[i], outClean.left[i]) << i;
        }
        EXPECT_GT(Rms(outBad.left, n - 1000, n), 0.01);
    }
}

TEST(OstrandSignal, InPlaceBuffersGiveTheSameOutput)
{
    auto a = MakeReady(44100.0);
    auto b = MakeReady(44100.0);
    const std::size_t n = 24 * 256;
    Stereo in = Noise(n, 0.2);
    Stereo expected = Render(*a, in);
    Stereo buffers = in;
    for (std::size_t pos = 0; pos < n; pos += 256) {
        double* io[4] = {buffers.left.data() + pos, buffers.right.data() + pos, nullptr, nullptr};
        b->RenderBlock(io, io, 256);
    }
    EXPECT_EQ(buffers.left, expected.left);
    EXPECT_EQ(buffers.right, expected.right);
}
