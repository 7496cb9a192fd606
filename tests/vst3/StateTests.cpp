// The state stream: parameters as little-endian doubles then the bypass
// word, through the controller and through the component alike.
#include "HarnessFixture.h"

#include <cstring>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kBypass = 0x62706173;

class Vst3State : public harness::PluginTest {
protected:
    void SetUp() override
    {
        Open(TARVO_TEST_GAIN_BUNDLE);
        std::string error;
        ASSERT_TRUE(plug->Prepare(44100.0, 64, false, false, false, &error)) << error;
    }

    static std::vector<std::uint8_t> Stream(std::initializer_list<double> values, std::int32_t bypass)
    {
        std::vector<std::uint8_t> bytes(values.size() * 8 + 4);
        std::size_t pos = 0;
        for (double v : values) {
            std::memcpy(bytes.data() + pos, &v, 8);
            pos += 8;
        }
        for (int i = 0; i < 4; ++i)
            bytes[pos + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(bypass) >> (8 * i));
        return bytes;
    }

    double Plain(ParamID id) { return plug->controller->normalizedParamToPlain(id, Normalized(id)); }
};

TEST_F(Vst3State, RoundTripsByteForByte)
{
    auto stream = Stream({3.5, 0.25, 300.0, 2.0}, 1);
    EXPECT_EQ(SetState(stream), kResultOk);
    EXPECT_EQ(Normalized(kBypass), 1.0);
    EXPECT_DOUBLE_EQ(Plain(0), 3.5);
    EXPECT_DOUBLE_EQ(Plain(2), 300.0);
    auto saved = GetState();
    ASSERT_EQ(saved.size(), 4u * 8u + 4u);
    EXPECT_EQ(saved, stream);
}

TEST_F(Vst3State, RestoredBypassSurvivesANewProcessingSetup)
{
    // Hosts restore a project, then set processing up (and again whenever
    // the rate or block size changes): the insert must stay bypassed.
    auto stream = Stream({1.0, 0.0, 64.0, 0.0}, 1);
    ASSERT_EQ(SetState(stream), kResultOk);
    ProcessSetup setup{kRealtime, kSample32, 512, 48000.0};
    ASSERT_EQ(plug->processor->setupProcessing(setup), kResultOk);
    EXPECT_EQ(Normalized(kBypass), 1.0);
    EXPECT_EQ(GetState(), stream);
}

TEST_F(Vst3State, ComponentAndControllerCarryTheSameState)
{
    auto stream = Stream({0.5, 1.0, 10.0, 1.0}, 0);
    EXPECT_EQ(SetState(stream, false), kResultOk);
    EXPECT_EQ(GetState(true), stream);
    EXPECT_EQ(GetState(false), stream);
}

TEST_F(Vst3State, MissingBypassWordKeepsParametersAndBypass)
{
    ASSERT_EQ(SetState(Stream({1.0, 0.0, 64.0, 0.0}, 1)), kResultOk);
    auto stream = Stream({2.0, 0.5, 100.0, 1.0}, 0);
    stream.resize(stream.size() - 4);
    EXPECT_EQ(SetState(stream), kResultFalse);
    EXPECT_DOUBLE_EQ(Plain(0), 2.0);
    EXPECT_DOUBLE_EQ(Plain(2), 100.0);
    EXPECT_EQ(Normalized(kBypass), 1.0);
}

TEST_F(Vst3State, ShortStreamChangesOnlyWhatItHolds)
{
    ASSERT_EQ(SetState(Stream({1.5, 0.5, 200.0, 2.0}, 0)), kResultOk);
    auto stream = Stream({3.0, 0.75, 0.0, 0.0}, 0);
    stream.resize(16);
    EXPECT_EQ(SetState(stream), kResultFalse);
    EXPECT_DOUBLE_EQ(Plain(0), 3.0);
    EXPECT_DOUBLE_EQ(Plain(1), 0.75);
    EXPECT_DOUBLE_EQ(Plain(2), 200.0);
    EXPECT_DOUBLE_EQ(Plain(3), 2.0);
    EXPECT_EQ(SetState({}), kResultFalse);
    EXPECT_DOUBLE_EQ(Plain(0), 3.0);
}

TEST_F(Vst3State, ValueCutOffPartWayKeepsItsValue)
{
    ASSERT_EQ(SetState(Stream({1.5, 0.5, 200.0, 2.0}, 0)), kResultOk);
    // Two whole values and part of the third: the part must not be mixed
    // into the third's old value (it would turn 200.0 into a number near it
    // that nobody saved).
    for (std::size_t cut : {20u, 17u, 23u}) {
        auto stream = Stream({3.0, 0.75, 1.0e-300, 0.0}, 0);
        stream.resize(cut);
        EXPECT_EQ(SetState(stream), kResultFalse) << cut;
        EXPECT_DOUBLE_EQ(Plain(0), 3.0) << cut;
        EXPECT_DOUBLE_EQ(Plain(1), 0.75) << cut;
        EXPECT_DOUBLE_EQ(Plain(2), 200.0) << cut;
        EXPECT_DOUBLE_EQ(Plain(3), 2.0) << cut;
    }
}

TEST_F(Vst3State, DamagedValuesAreClampedIntoRange)
{
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(SetState(Stream({1e300, nan, -5.0, 99.0}, 7)), kResultOk);
    EXPECT_DOUBLE_EQ(Plain(0), 4.0);
    EXPECT_DOUBLE_EQ(Plain(1), 0.0);
    EXPECT_DOUBLE_EQ(Plain(2), 0.0);
    EXPECT_DOUBLE_EQ(Plain(3), 2.0);
    EXPECT_EQ(Normalized(kBypass), 1.0);
    EXPECT_EQ(plug->controller->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(plug->component->getState(nullptr), kInvalidArgument);
}

} // namespace
