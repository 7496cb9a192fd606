// The Juice table, the reported latency and the measured alignment of the
// output with the input.
#include "tests/engine/ostrand/OstrandTestSupport.h"

#include "engine/ostrand/OstrandMapping.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace ostrand_test;

TEST(OstrandLatency, JuiceTableByRate)
{
    JuiceSettings j1 = JuiceFor(1, 44100.0);
    EXPECT_EQ(j1.factor, 2);
    EXPECT_TRUE(j1.simpleDetector);
    EXPECT_FALSE(j1.singleStage);
    EXPECT_EQ(JuiceFor(1, 96000.0).factor, 1);
    EXPECT_EQ(JuiceFor(5, 48000.0).factor, 12);
    EXPECT_EQ(JuiceFor(5, 88200.0).factor, 6);
    EXPECT_EQ(JuiceFor(3, 44100.0).factor, 4);
    EXPECT_EQ(JuiceFor(4, 96000.0).factor, 4);
    JuiceSettings j0 = JuiceFor(0, 44100.0);
    EXPECT_TRUE(j0.singleStage && j0.simpleDetector && j0.integerDelay);
    EXPECT_EQ(j0.frameMultiple, 1);
    EXPECT_TRUE(JuiceFor(2, 44100.0).integerDelay);
    EXPECT_FALSE(JuiceFor(2, 44100.0).simpleDetector);
    EXPECT_FALSE(JuiceFor(3, 44100.0).integerDelay);
}

TEST(OstrandLatency, ReportedValues)
{
    EXPECT_EQ(LatencyFor(44100.0, 2, 2, kRegularStyle), 4132);
    EXPECT_EQ(LatencyFor(96000.0, 1, 2, kRegularStyle), 8264);
    EXPECT_EQ(LatencyFor(44100.0, 2, 1, kRegularStyle), 36 + 2048);
    // "Clear" below 50 kHz: 2 × ((L/2 + 512)/F) with the rate adjustments.
    EXPECT_EQ(ResamplerDelay(kClearStyle, 44100.0, 2), 660);
    EXPECT_EQ(ResamplerDelay(kClearStyle, 44100.0, 4), 403);  // 404 - 1
    EXPECT_EQ(ResamplerDelay(kClearStyle, 44100.0, 8), 275);  // 274 + 1
    EXPECT_EQ(ResamplerDelay(kClearStyle, 44100.0, 12), 233); // 232 + 1
    EXPECT_EQ(ResamplerDelay(kClearStyle, 48000.0, 12), 167); // 166 + 1
    EXPECT_EQ(ResamplerDelay(kClearStyle, 48000.0, 4), 338);
    // Other rates below 50 kHz use the 44100 tables, with their delays.
    EXPECT_EQ(ResamplerDelay(kClearStyle, 32000.0, 4), 403);
    EXPECT_EQ(ResamplerDelay(kClearStyle, 22050.0, 12), 233);
    // Above 50 kHz: (L - 1)/F.
    EXPECT_EQ(ResamplerDelay(kClearStyle, 96000.0, 2), 23);
    EXPECT_EQ(ResamplerDelay(kClearStyle, 88200.0, 6), 25);
    EXPECT_EQ(ResamplerDelay(kClearStyle, 96000.0, 1), 0);
    EXPECT_EQ(ResamplerDelay(kRegularStyle, 44100.0, 12), 0);

    auto plug = MakeReady(44100.0);
    EXPECT_EQ(plug->Latency(), 4132);
    plug->SetSampleRate(96000.0);
    plug->ResetProcessing();
    Settle(*plug, 3);
    EXPECT_EQ(plug->FrameSize(), 4096);
    EXPECT_EQ(plug->Latency(), 8264);
}

namespace {

struct Alignment {
    int peakLag = -1;       // lag of the cross-correlation maximum
    double sineDelay = 0.0; // delay of a low sine, in samples
};

// Output against input with Angle 0 (the rotators only delay) and Delay 0.
Alignment MeasureAlignment(double rate, int juice, int style, int latency)
{
    auto plug = MakeReady(rate);
    SetPlain(*plug, kParamAngle, 0.0);
    SetPlain(*plug, kParamJuice, juice);
    SetPlain(*plug, kParamOversampleMode, style);
    Settle(*plug, 10);
    EXPECT_EQ(plug->Latency(), latency);

    const std::size_t window = 3200; // eight periods of the sine below
    const std::size_t n = static_cast<std::size_t>(latency) + window + 600;
    Stereo in = Noise(n, 0.05);
    Stereo out = Render(*plug, in);
    Alignment result;
    double best = -1.0;
    for (int lag = latency - 40; lag <= latency + 40; ++lag) {
        double sum = 0.0;
        for (std::size_t i = n - window; i < n; ++i)
            sum += out.left[i] * in.left[i - static_cast<std::size_t>(lag)];
        if (sum > best) {
            best = sum;
            result.peakLag = lag;
        }
    }

    // A low sine (a period of 400 samples) through a fresh instance: the
    // phase of the output gives the delay to a fraction of a sample.
    auto sinePlug = MakeReady(rate);
    SetPlain(*sinePlug, kParamAngle, 0.0);
    SetPlain(*sinePlug, kParamJuice, juice);
    SetPlain(*sinePlug, kParamOversampleMode, style);
    Settle(*sinePlug, 10);
    const double freq = rate / 400.0;
    Stereo sine = Sine(n, freq, rate, 0.3);
    Stereo sineOut = Render(*sinePlug, sine);
    double re = 0.0, im = 0.0;
    const double w = 2.0 * std::numbers::pi * freq / rate;
    for (std::size_t i = n - window; i < n; ++i) {
        re += sineOut.left[i] * std::sin(w * static_cast<double>(i));
        im += sineOut.left[i] * std::cos(w * static_cast<double>(i));
    }
    // out = sin(w(i - d)) → phase -w·d
    double phase = std::atan2(im, re);
    double d = -phase / w;
    double period = rate / freq;
    while (d < latency - period / 2)
        d += period;
    while (d > latency + period / 2)
        d -= period;
    result.sineDelay = d;
    return result;
}

} // namespace

// The host delays every other track by the reported latency; the output
// must line up with the input at exactly that latency.
TEST(OstrandLatency, OutputLinesUpAtTheReportedLatency)
{
    for (double rate : {44100.0, 96000.0}) {
        for (int juice = 0; juice <= 5; ++juice) {
            for (int style : {kRegularStyle, kClearStyle}) {
                JuiceSettings js = JuiceFor(juice, rate);
                int latency = LatencyFor(rate, js.factor, js.frameMultiple, style);
                SCOPED_TRACE(testing::Message() << rate << " Hz, Juice " << juice << ", style " << style);
                Alignment a = MeasureAlignment(rate, juice, style, latency);
                if (style == kClearStyle || js.factor == 1) {
                    EXPECT_EQ(a.peakLag, latency);
                    EXPECT_NEAR(a.sineDelay, latency, 0.5);
                } else {
                    // The "Regular" biquads are not linear-phase: together
                    // they add a little over half a sample that an integer
                    // latency cannot express.
                    EXPECT_GE(a.peakLag, latency);
                    EXPECT_LE(a.peakLag, latency + 1);
                    EXPECT_GT(a.sineDelay, latency);
                    EXPECT_LT(a.sineDelay, latency + 1.0);
                }
            }
        }
    }
}

// The "Clear" tables of 44100 Hz serve every other rate below 50 kHz too,
// and so does their delay correction.
TEST(OstrandLatency, ClearStyleLinesUpAtOtherRatesBelow50k)
{
    for (double rate : {32000.0, 22050.0}) {
        for (int juice = 3; juice <= 5; ++juice) {
            JuiceSettings js = JuiceFor(juice, rate);
            int latency = LatencyFor(rate, js.factor, js.frameMultiple, kClearStyle);
            SCOPED_TRACE(testing::Message() << rate << " Hz, Juice " << juice);
            Alignment a = MeasureAlignment(rate, juice, kClearStyle, latency);
            EXPECT_EQ(a.peakLag, latency);
            EXPECT_NEAR(a.sineDelay, latency, 0.5);
        }
    }
}
