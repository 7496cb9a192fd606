// Processing through the host interfaces: parameter queues, presets, bypass
// with its latency-compensated delay, sidechain routing, both sample sizes,
// inactive outputs and blocks the host should not have sent.
#include "HarnessFixture.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;
using harness::Block;
using tarvo::host::ParameterChanges;

namespace {

constexpr ParamID kBypass = 0x62706173;
constexpr ParamID kPreset = 0x70727374;
constexpr ParamID kGain = 0, kSideMix = 1;
constexpr int kMaxBlock = 256;
constexpr int kLatency = 64;

class Vst3Process : public harness::PluginTest {
protected:
    void SetUp() override { Open(TARVO_TEST_GAIN_BUNDLE); }

    void Prepare(bool use64, bool sidechain = false)
    {
        std::string error;
        ASSERT_TRUE(plug->Prepare(44100.0, kMaxBlock, use64, sidechain, false, &error)) << error;
    }

    // Runs one block of in (+ side) and returns the output; the input is a
    // ramp starting at start so delays are easy to read.
    template <typename T>
    Block<T> Run(int frames, ParameterChanges* changes = nullptr, double start = 1.0, T sideValue = T(0))
    {
        Block<T> in(2, frames), side(2, frames, sideValue), out(2, frames, T(-99));
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i)
                in.channels[static_cast<std::size_t>(c)][static_cast<std::size_t>(i)] = static_cast<T>(start + i + 1000 * c);
        auto sidePtrs = side.Pointers();
        EXPECT_EQ(plug->Process<T>(in.Pointers(), sidePtrs, out.Pointers(), frames, changes), kResultOk);
        return out;
    }
};

TEST_F(Vst3Process, AutomationTakesEachQueuesLastPoint)
{
    Prepare(false);
    ParameterChanges changes;
    changes.Add(kGain, 1.0, 0);    // plain 4
    changes.Add(kGain, 0.5, 100);  // plain 1 ...
    changes.Add(kGain, 1.0 / std::sqrt(2.0), 200);  // ... last point wins: plain 2
    changes.Add(777, 0.9);         // unknown IDs are ignored
    auto out = Run<float>(64, &changes);
    EXPECT_FLOAT_EQ(out.channels[0][0], 2.0f);
    EXPECT_FLOAT_EQ(out.channels[1][63], 2.0f * 1064.0f);
    EXPECT_NEAR(Normalized(kGain), 1.0 / std::sqrt(2.0), 1e-12);
}

TEST_F(Vst3Process, DoublePrecisionRunsInPlaceOfHostBuffers)
{
    Prepare(true);
    ParameterChanges changes;
    changes.Add(kGain, std::sqrt(0.75));  // plain 3
    auto out = Run<double>(kMaxBlock, &changes, 0.1);
    EXPECT_DOUBLE_EQ(out.channels[0][5], 3.0 * 5.1);
    EXPECT_DOUBLE_EQ(out.channels[1][255], 3.0 * 1255.1);
}

TEST_F(Vst3Process, PresetParameterRecallsFactoryPresets)
{
    Prepare(false);
    ParameterChanges recall;
    recall.Add(kPreset, 0.4);  // index 1: "Double"
    auto out = Run<float>(16, &recall);
    EXPECT_FLOAT_EQ(out.channels[0][3], 2.0f * 4.0f);
    ParameterChanges beyond;
    beyond.Add(kGain, 0.5);
    beyond.Add(kPreset, 1.0);  // index 3 of 3: restores nothing
    out = Run<float>(16, &beyond);
    EXPECT_FLOAT_EQ(out.channels[0][3], 4.0f);
    ParameterChanges last;
    last.Add(kPreset, 0.95);  // index 2: "Side Only", gain 0
    out = Run<float>(16, &last);
    EXPECT_FLOAT_EQ(out.channels[0][3], 0.0f);
}

TEST_F(Vst3Process, PresetParameterReadsTheLoadedSlotAndTheHostHearsOfIt)
{
    Prepare(false);
    EXPECT_EQ(Normalized(kPreset), 0.0);
    ParameterChanges last;
    last.Add(kPreset, 0.95);  // slot 2 of 3: "Side Only", gain 0
    Run<float>(16, &last);
    double read = Normalized(kPreset);
    EXPECT_NEAR(read, 2.0 / 3.0, 1e-12);
    // The host hears that the preset changed values, and asks again.
    ASSERT_TRUE(PumpUntil([&] {
        auto restarts = plug->handler.Restarts();
        return std::any_of(restarts.begin(), restarts.end(), [](int32 f) { return (f & kParamValuesChanged) != 0; });
    }));
    EXPECT_EQ(Normalized(kGain), 0.0);

    // Another slot, then back by handing over the value the host read: the
    // same slot comes back, whatever the rounding of slot / presets.
    ParameterChanges first;
    first.Add(kPreset, 0.0);
    auto out = Run<float>(16, &first);
    EXPECT_FLOAT_EQ(out.channels[0][3], 4.0f);
    EXPECT_EQ(Normalized(kPreset), 0.0);
    ParameterChanges back;
    back.Add(kPreset, read);
    out = Run<float>(16, &back);
    EXPECT_FLOAT_EQ(out.channels[0][3], 0.0f);
    EXPECT_NEAR(Normalized(kPreset), read, 1e-12);

    // A value past the last slot restores nothing and keeps the slot.
    ParameterChanges beyond;
    beyond.Add(kPreset, 1.0);
    Run<float>(16, &beyond);
    EXPECT_NEAR(Normalized(kPreset), read, 1e-12);
}

TEST_F(Vst3Process, BypassDelaysInputByTheLatency)
{
    Prepare(false);
    ParameterChanges half;
    half.Add(kBypass, 0.5);
    Run<float>(8, &half);
    EXPECT_EQ(Normalized(kBypass), 0.0);
    ParameterChanges on;
    on.Add(kBypass, 0.51);
    auto out = Run<float>(200, &on, 1.0);
    EXPECT_EQ(Normalized(kBypass), 1.0);
    for (int i = 0; i < kLatency; ++i)
        ASSERT_EQ(out.channels[0][static_cast<std::size_t>(i)], 0.0f) << i;
    for (int i = kLatency; i < 200; ++i) {
        ASSERT_EQ(out.channels[0][static_cast<std::size_t>(i)], static_cast<float>(1 + i - kLatency)) << i;
        ASSERT_EQ(out.channels[1][static_cast<std::size_t>(i)], static_cast<float>(1001 + i - kLatency)) << i;
    }
    // The delay line carries over to the next block.
    out = Run<float>(10, nullptr, 201.0);
    EXPECT_EQ(out.channels[0][0], static_cast<float>(201 - kLatency));

    // A new processing setup keeps bypass (hosts set up again after
    // restoring a project) but starts the delay line afresh.
    Prepare(false);
    EXPECT_EQ(Normalized(kBypass), 1.0);
    out = Run<float>(kLatency + 1, nullptr, 500.0);
    EXPECT_EQ(out.channels[0][kLatency - 1], 0.0f);
    EXPECT_EQ(out.channels[0][kLatency], 500.0f);
}

TEST_F(Vst3Process, SidechainFollowsItsBusActivation)
{
    Prepare(true, true);
    ParameterChanges mix;
    mix.Add(kSideMix, 1.0);
    mix.Add(kGain, 0.0);
    auto out = Run<double>(32, &mix, 1.0, 0.25);
    EXPECT_DOUBLE_EQ(out.channels[0][0], 0.25);
    EXPECT_DOUBLE_EQ(out.channels[1][31], 0.25);

    // Deactivated, the sidechain channels read silence from that block on.
    plug->component->activateBus(kAudio, kInput, 1, false);
    out = Run<double>(32, nullptr, 1.0, 0.25);
    EXPECT_DOUBLE_EQ(out.channels[0][0], 0.0);
    EXPECT_DOUBLE_EQ(out.channels[1][31], 0.0);
    plug->component->activateBus(kAudio, kInput, 1, true);
    out = Run<double>(32, nullptr, 1.0, 0.5);
    EXPECT_DOUBLE_EQ(out.channels[0][7], 0.5);

    // 32-bit samples go through the same routing.
    Prepare(false, true);
    ParameterChanges again;
    again.Add(kSideMix, 1.0);
    again.Add(kGain, 0.0);
    auto floats = Run<float>(32, &again, 1.0, 0.75f);
    EXPECT_FLOAT_EQ(floats.channels[1][9], 0.75f);
}

TEST_F(Vst3Process, InactiveOutputBusKeepsHostBuffersUntouched)
{
    Prepare(false);
    plug->component->activateBus(kAudio, kOutput, 0, false);
    auto out = Run<float>(32);
    EXPECT_EQ(out.channels[0][0], -99.0f);
    EXPECT_EQ(out.channels[1][31], -99.0f);
}

TEST_F(Vst3Process, OversizedBlocksAreProcessedInSlices)
{
    Prepare(false);
    const int frames = kMaxBlock * 3 + 17;
    ParameterChanges changes;
    changes.Add(kGain, std::sqrt(0.5));  // plain 2
    auto out = Run<float>(frames, &changes);
    for (int i = 0; i < frames; ++i)
        ASSERT_FLOAT_EQ(out.channels[0][static_cast<std::size_t>(i)], 2.0f * static_cast<float>(1 + i)) << i;
    auto wide = Run<float>(frames);
    EXPECT_FLOAT_EQ(wide.channels[1][static_cast<std::size_t>(frames - 1)], 2.0f * static_cast<float>(1000 + frames));
}

TEST_F(Vst3Process, RefusesUnusableSetupsAndCallsBeforeSetup)
{
    // Before any setup nothing is sized: the call is refused, not run.
    {
        Block<float> in(2, 64, 1.0f), out(2, 64, -5.0f);
        std::vector<float*> none;
        EXPECT_EQ(plug->Process<float>(in.Pointers(), none, out.Pointers(), 64, nullptr), kNotInitialized);
    }
    for (double rate : {0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()}) {
        ProcessSetup setup{kRealtime, kSample32, 512, rate};
        EXPECT_EQ(plug->processor->setupProcessing(setup), kResultFalse) << rate;
    }
    ProcessSetup badSize{kRealtime, 3, 512, 44100.0};
    EXPECT_EQ(plug->processor->setupProcessing(badSize), kResultFalse);
    ProcessSetup good{kOffline, kSample64, 512, 96000.0};
    EXPECT_EQ(plug->processor->setupProcessing(good), kResultOk);
}

} // namespace
