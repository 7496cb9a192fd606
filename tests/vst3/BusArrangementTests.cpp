// The sidechain as hosts connect it: bus activation and arrangement in
// either order, while the plug-in is active, connected and disconnected from
// block to block, empty and mono. The test plug-in's output is its sidechain
// when Gain is 0 and Side Mix is 1, so the output shows what the sidechain
// channels read.
#include "HarnessFixture.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kGain = 0, kSideMix = 1;
constexpr int kFrames = 32;
constexpr SpeakerArrangement kEmpty = 0;

class Vst3Sidechain : public harness::PluginTest {
protected:
    void SetUp() override
    {
        Open(TARVO_TEST_GAIN_BUNDLE);
        std::string error;
        ASSERT_TRUE(plug->Prepare(48000.0, 256, false, false, false, &error)) << error;
        tarvo::host::ParameterChanges listen;
        listen.Add(kGain, 0.0);
        listen.Add(kSideMix, 1.0);
        Run(0.0f, 2, &listen);
    }

    tresult Arrange(SpeakerArrangement side)
    {
        SpeakerArrangement ins[2] = {SpeakerArr::kStereo, side};
        SpeakerArrangement outs[1] = {SpeakerArr::kStereo};
        return plug->processor->setBusArrangements(ins, 2, outs, 1);
    }
    void ActivateSide(bool on) { EXPECT_EQ(plug->component->activateBus(kAudio, kInput, 1, on), kResultTrue); }
    // The host's activation cycle around a change of connections.
    void Deactivate()
    {
        plug->processor->setProcessing(false);
        plug->component->setActive(false);
    }
    void Activate()
    {
        plug->component->setActive(true);
        plug->processor->setProcessing(true);
    }

    // One block with the sidechain carrying value on sideChannels channels
    // (the host still hands over buffers when nothing is connected); returns
    // what the plug-in wrote to each output channel's last frame.
    std::pair<float, float> Run(float value, int sideChannels, tarvo::host::ParameterChanges* changes = nullptr)
    {
        harness::Block<float> in(2, kFrames, 0.0f), side(sideChannels, kFrames, value), out(2, kFrames, -9.0f);
        EXPECT_EQ(plug->Process<float>(in.Pointers(), side.Pointers(), out.Pointers(), kFrames, changes), kResultOk);
        return {out.channels[0][kFrames - 1], out.channels[1][kFrames - 1]};
    }

    BusInfo SideBus()
    {
        BusInfo info{};
        EXPECT_EQ(plug->component->getBusInfo(kAudio, kInput, 1, info), kResultTrue);
        return info;
    }
};

TEST_F(Vst3Sidechain, ActivateThenArrangeKeepsTheActivation)
{
    // Unconnected first, as a host arranges a fresh insert.
    Deactivate();
    ASSERT_EQ(Arrange(kEmpty), kResultOk);
    Activate();
    EXPECT_EQ(Run(0.5f, 2).first, 0.0f);
    // The user connects a track: activation first, then the arrangement.
    Deactivate();
    ActivateSide(true);
    ASSERT_EQ(Arrange(SpeakerArr::kStereo), kResultOk);
    Activate();
    auto out = Run(0.5f, 2);
    EXPECT_EQ(out.first, 0.5f);
    EXPECT_EQ(out.second, 0.5f);
}

TEST_F(Vst3Sidechain, ArrangeThenActivateWorksToo)
{
    Deactivate();
    ASSERT_EQ(Arrange(kEmpty), kResultOk);
    ASSERT_EQ(Arrange(SpeakerArr::kStereo), kResultOk);
    ActivateSide(true);
    Activate();
    EXPECT_EQ(Run(0.25f, 2).second, 0.25f);
}

TEST_F(Vst3Sidechain, ArrangingWhileActiveIsAcceptedAndTakesEffect)
{
    ActivateSide(true);
    ASSERT_EQ(Arrange(kEmpty), kResultOk);
    EXPECT_EQ(Run(0.5f, 2).first, 0.0f);
    ASSERT_EQ(Arrange(SpeakerArr::kStereo), kResultOk);
    EXPECT_EQ(Run(0.5f, 2).first, 0.5f);
}

TEST_F(Vst3Sidechain, EmptyArrangementMeansNothingConnectedButKeepsTheBus)
{
    ActivateSide(true);
    ASSERT_EQ(Arrange(kEmpty), kResultOk);
    EXPECT_EQ(plug->component->getBusCount(kAudio, kInput), 2);
    BusInfo info = SideBus();
    EXPECT_EQ(info.channelCount, 2);
    EXPECT_EQ(info.busType, kAux);
    EXPECT_EQ(info.flags, 0u);
    SpeakerArrangement arr = 0;
    EXPECT_EQ(plug->processor->getBusArrangement(kInput, 1, arr), kResultTrue);
    EXPECT_EQ(arr, SpeakerArr::kStereo);
    // Wider than the sidechain: refused, and nothing changes.
    EXPECT_EQ(Arrange(SpeakerArr::k51), kResultFalse);
    EXPECT_EQ(SideBus().channelCount, 2);
}

TEST_F(Vst3Sidechain, ConnectedAndDisconnectedRepeatedlyWhileProcessing)
{
    for (int round = 0; round < 20; ++round) {
        bool connect = round % 2 == 0;
        float level = 0.125f * static_cast<float>(1 + round % 4);
        Deactivate();
        // Half the rounds in each order, as different hosts do.
        if (round % 4 < 2) {
            ActivateSide(connect);
            ASSERT_EQ(Arrange(connect ? SpeakerArr::kStereo : kEmpty), kResultOk);
        } else {
            ASSERT_EQ(Arrange(connect ? SpeakerArr::kStereo : kEmpty), kResultOk);
            ActivateSide(connect);
        }
        Activate();
        for (int block = 0; block < 3; ++block) {
            auto out = Run(level, 2);
            ASSERT_EQ(out.first, connect ? level : 0.0f) << "round " << round << " block " << block;
            ASSERT_EQ(out.second, connect ? level : 0.0f) << "round " << round << " block " << block;
        }
    }
}

TEST_F(Vst3Sidechain, MonoSidechainFeedsBothSidechainChannels)
{
    Deactivate();
    ActivateSide(true);
    ASSERT_EQ(Arrange(SpeakerArr::kMono), kResultOk);
    EXPECT_EQ(SideBus().channelCount, 1);
    Activate();
    auto out = Run(0.75f, 1);
    EXPECT_EQ(out.first, 0.75f);
    EXPECT_EQ(out.second, 0.75f);
    // And back to stereo, still active, still bus 1.
    ASSERT_EQ(Arrange(SpeakerArr::kStereo), kResultOk);
    EXPECT_EQ(SideBus().channelCount, 2);
    EXPECT_EQ(Run(0.5f, 2).second, 0.5f);
}

} // namespace
