// The product bundle, loaded as a host loads it: its identity, buses,
// parameters, presets, state stream, latency report and processing.
#include "HarnessFixture.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const char* const kBundle = TARVO_PRODUCT_BUNDLE;
constexpr ParamID kBypass = 0x62706173;
constexpr ParamID kPreset = 0x70727374;

TEST(TarvoBundle, FactoryReportsTheProductIdentity)
{
    IPluginFactory* factory = harness::LoadedModule(kBundle).Factory();
    ASSERT_NE(factory, nullptr);
    PFactoryInfo info;
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "quenby audio");
    EXPECT_EQ(info.flags, 16);
    IPluginFactory2* factory2 = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)), kResultOk);
    PClassInfo2 ci;
    ASSERT_EQ(factory2->getClassInfo2(0, &ci), kResultOk);
    factory2->release();
    const unsigned char expected[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                        0x51, 0x65, 0x6E, 0x62, 0x74, 0x41, 0x72, 0x56};
    EXPECT_EQ(std::memcmp(ci.cid, expected, 16), 0);
    EXPECT_STREQ(ci.name, "Tarvo");
    EXPECT_STREQ(ci.category, "Audio Module Class");
    EXPECT_STREQ(ci.subCategories, "Fx|Dynamics");
    EXPECT_STREQ(ci.vendor, "");
    EXPECT_STREQ(ci.version, "1.0.2");
    EXPECT_STREQ(ci.sdkVersion, "VST 3.5.2");
    EXPECT_EQ(ci.classFlags, 2u);
    EXPECT_EQ(ci.cardinality, 0x7FFFFFFF);
}

class TarvoPlugin : public harness::PluginTest {
protected:
    void SetUp() override { Open(kBundle); }
};

TEST_F(TarvoPlugin, ShowsItsBusesParametersAndPresets)
{
    EXPECT_EQ(plug->component->getBusCount(kAudio, kInput), 2);
    EXPECT_EQ(plug->component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(plug->component->getBusCount(kEvent, kInput), 0);
    EXPECT_EQ(plug->controller->getParameterCount(), 17);
    ParameterInfo info{};
    ASSERT_EQ(plug->controller->getParameterInfo(0, info), kResultTrue);
    EXPECT_EQ(info.id, kPreset);
    EXPECT_EQ(info.stepCount, 11);
    ASSERT_EQ(plug->controller->getParameterInfo(1, info), kResultTrue);
    EXPECT_EQ(info.id, kBypass);
    IUnitInfo* units = nullptr;
    ASSERT_EQ(plug->component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)), kResultOk);
    EXPECT_EQ(units->getUnitCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultTrue);
    EXPECT_EQ(harness::ToUtf8(list.name), "Factory Presets");
    EXPECT_EQ(list.programCount, 11);
    units->release();
}

TEST_F(TarvoPlugin, StateIs124BytesAndRoundTrips)
{
    std::string error;
    ASSERT_TRUE(plug->Prepare(44100.0, 512, false, false, false, &error)) << error;
    auto state = GetState();
    ASSERT_EQ(state.size(), 124u);
    ASSERT_EQ(SetState(state), kResultOk);
    EXPECT_EQ(GetState(), state);
    EXPECT_EQ(GetState(false), state);
    // Bypass word set: restored and reported.
    state[120] = 1;
    ASSERT_EQ(SetState(state, false), kResultOk);
    EXPECT_EQ(Normalized(kBypass), 1.0);
    EXPECT_EQ(GetState(), state);
}

TEST_F(TarvoPlugin, SettlesReportsItsLatencyAndProcesses)
{
    std::string error;
    ASSERT_TRUE(plug->Prepare(44100.0, 512, false, false, false, &error)) << error;
    // The latency report arrives from the timer once the engine has settled.
    ASSERT_TRUE(PumpUntil([&] {
        auto restarts = plug->handler.Restarts();
        return std::any_of(restarts.begin(), restarts.end(), [](int32 f) { return (f & kLatencyChanged) != 0; });
    }, 5000));
    EXPECT_EQ(plug->processor->getLatencySamples(), 4132u);
    EXPECT_EQ(plug->handler.CallsOffMainThread(), 0);

    harness::Block<float> in(2, 512), out(2, 512);
    std::vector<float*> none;
    double peak = 0.0;
    for (int block = 0; block < 40; ++block) {
        for (int i = 0; i < 512; ++i) {
            float s = static_cast<float>(0.5 * std::sin(2.0 * 3.14159265358979323846 * 220.0 * (block * 512 + i) / 44100.0));
            in.channels[0][static_cast<std::size_t>(i)] = s;
            in.channels[1][static_cast<std::size_t>(i)] = s;
        }
        ASSERT_EQ(plug->Process<float>(in.Pointers(), none, out.Pointers(), 512, nullptr), kResultOk);
        for (auto& c : out.channels)
            for (float v : c) {
                ASSERT_TRUE(std::isfinite(v));
                peak = std::max(peak, static_cast<double>(std::fabs(v)));
            }
    }
    // Past the latency the signal comes through, bounded.
    EXPECT_GT(peak, 0.05);
    EXPECT_LT(peak, 4.0);
}

} // namespace
