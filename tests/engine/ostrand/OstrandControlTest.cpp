// Engine phases, the first run, glides and what the engine tells its editor.
#include "tests/engine/ostrand/MockEditorServices.h"
#include "tests/engine/ostrand/OstrandTestSupport.h"

#include <gtest/gtest.h>

using namespace ostrand_test;
using testing::_;
using testing::AnyNumber;
using testing::NiceMock;

namespace {

void RenderSilence(Ostrand& plug, int frames)
{
    Stereo s{std::vector<double>(static_cast<std::size_t>(frames)), std::vector<double>(static_cast<std::size_t>(frames))};
    Render(plug, s, nullptr, 1);
}

} // namespace

TEST(OstrandControl, PhasesAndFirstRun)
{
    Ostrand plug;
    // Set up for processing without waiting for a parameter from the host.
    EXPECT_EQ(plug.EnginePhase(), 1);
    Stereo in = Noise(static_cast<std::size_t>(plug.Latency()) + 300, 0.1);
    Stereo out = Render(plug, in);
    EXPECT_GT(Rms(out.left, out.left.size() - 200, out.left.size()), 0.01);
    EXPECT_EQ(plug.Latency(), 4096); // reported from the first timer tick on

    plug.IdleTick();
    EXPECT_EQ(plug.EnginePhase(), 3);
    EXPECT_TRUE(plug.FirstRunDone());
    EXPECT_EQ(plug.Latency(), 4132);
    EXPECT_DOUBLE_EQ(plug.GetParam(kParamAngle)->Value(), 152.560976);
    EXPECT_NEAR(plug.GetParam(kParamOutput)->Value(), 5.2, 1e-12);
    // Every glide restarts toward its target and settles on it once the
    // timer sees the audio stopped.
    Settle(plug, 30);
    EXPECT_NEAR(plug.GlideValue(kGlideAngle), 152.560976, 1e-12);
    EXPECT_NEAR(plug.GlideValue(kGlideOutput), 5.2, 1e-12);
    for (int i = 0; i < kNumGlides; ++i)
        EXPECT_EQ(plug.GlideApplied(static_cast<OstrandGlideId>(i)), plug.GlideTarget(static_cast<OstrandGlideId>(i)));
    for (int i = 0; i < 5; ++i)
        plug.IdleTick();
    EXPECT_EQ(plug.SettleCount(), 4);
}

TEST(OstrandControl, RestoredStateSurvivesTheFirstRun)
{
    Ostrand source;
    SetPlain(source, kParamAngle, -20.0);
    SetPlain(source, kParamOutput, -1.5);
    SetPlain(source, kParamStrength, 3.0);
    StateChunk chunk;
    ASSERT_TRUE(source.SaveState(&chunk));

    Ostrand restoredFirst; // the host restores right after creating the instance
    ASSERT_GT(restoredFirst.LoadState(&chunk, 0), 0);
    Settle(restoredFirst, 10);
    EXPECT_TRUE(restoredFirst.FirstRunDone());
    EXPECT_EQ(restoredFirst.GetParam(kParamAngle)->Value(), -20.0);
    EXPECT_EQ(restoredFirst.GetParam(kParamOutput)->Value(), -1.5);
    EXPECT_EQ(restoredFirst.GetParam(kParamStrength)->Value(), 3.0);
    EXPECT_NEAR(restoredFirst.GlideValue(kGlideAngle), -20.0, 1e-9);

    Ostrand restoredLater; // a restore after the first run keeps everything too
    Settle(restoredLater, 3);
    ASSERT_GT(restoredLater.LoadState(&chunk, 0), 0);
    Settle(restoredLater, 3);
    EXPECT_EQ(restoredLater.GetParam(kParamAngle)->Value(), -20.0);
    EXPECT_EQ(restoredLater.GetParam(kParamOutput)->Value(), -1.5);
}

TEST(OstrandControl, GlidesHoldBeforeSettling)
{
    auto plug = MakeReady(44100.0);
    SetPlain(*plug, kParamAngle, 90.0);
    EXPECT_EQ(plug->GlideHold(kGlideAngle), 1000);
    int firstNear = -1;
    int settled = -1;
    for (int n = 0; n < 6000 && settled < 0; ++n) {
        RenderSilence(*plug, 1);
        if (firstNear < 0 && std::fabs(plug->GlideValue(kGlideAngle) - 90.0) < 1.000001e-5)
            firstNear = n;
        if (plug->GlideApplied(kGlideAngle) == 90.0)
            settled = n;
    }
    ASSERT_GT(firstNear, 100); // it glides rather than jumps
    EXPECT_EQ(settled - firstNear, 1000);

    // Attack and Release share one counter and settle together.
    SetPlain(*plug, kParamAttack, 5.0);
    SetPlain(*plug, kParamRelease, 300.0);
    EXPECT_EQ(plug->GlideHold(kGlideAttack), 1000);
    RenderSilence(*plug, 6000);
    EXPECT_EQ(plug->GlideApplied(kGlideAttack), 5.0);
    EXPECT_EQ(plug->GlideApplied(kGlideRelease), 300.0);

    // The Delay glides in oversampled samples with its own, shorter hold.
    SetPlain(*plug, kParamDelay, 20); // 5 samples, 10 oversampled at F = 2
    EXPECT_EQ(plug->DelayHold(), 100);
    RenderSilence(*plug, 50);
    EXPECT_GT(plug->AudioDelayLength(), 72);
    EXPECT_LT(plug->AudioDelayLength(), 82);
    RenderSilence(*plug, 3000);
    EXPECT_EQ(plug->AudioDelayLength(), 82);
    EXPECT_EQ(plug->DelayShiftApplied(), 5.0);

    // Turning back halfway through a glide still lands on the new target.
    SetPlain(*plug, kParamAngle, 0.0);
    RenderSilence(*plug, 30);
    SetPlain(*plug, kParamAngle, 90.0);
    RenderSilence(*plug, 30);
    SetPlain(*plug, kParamAngle, 0.0);
    RenderSilence(*plug, 5000);
    EXPECT_EQ(plug->GlideValue(kGlideAngle), 0.0);

    // At 96 kHz the hold scales with the rate.
    auto fast = MakeReady(96000.0);
    SetPlain(*fast, kParamStrength, 4.0);
    EXPECT_EQ(fast->GlideHold(kGlideStrength), 2176);
}

TEST(OstrandControl, JuiceAndStyleRebuildTheStructure)
{
    auto plug = MakeReady(44100.0);
    EXPECT_EQ(plug->OversamplingFactor(), 2);
    EXPECT_TRUE(plug->SimpleDetector());
    SetPlain(*plug, kParamJuice, 5);
    RenderSilence(*plug, 1); // the configuration step follows the block
    EXPECT_EQ(plug->OversamplingFactor(), 12);
    EXPECT_FALSE(plug->SimpleDetector());
    SetPlain(*plug, kParamJuice, 0);
    RenderSilence(*plug, 1);
    EXPECT_EQ(plug->FrameMultiple(), 1);
    SetPlain(*plug, kParamOversampleMode, 1);
    RenderSilence(*plug, 1);
    EXPECT_EQ(plug->OversamplingStyle(), 1);
    EXPECT_EQ(plug->FilterKindInUse(), Ostrand::kFilterBlock);
    Settle(*plug, 2);
    EXPECT_EQ(plug->Latency(), 36 + 2048 + 660);

    // A new rate rebuilds everything once the engine has settled.
    plug->SetSampleRate(88200.0);
    plug->ResetProcessing();
    Settle(*plug, 2);
    EXPECT_EQ(plug->FilterKindInUse(), Ostrand::kFilterDirect);
    EXPECT_EQ(plug->FrameSize(), 4096);
    EXPECT_EQ(plug->OversamplingFactor(), 1);
    EXPECT_EQ(plug->Latency(), 72 + 4096);
}

TEST(OstrandControl, TellsTheEditor)
{
    NiceMock<MockEditorServices> editor;
    Ostrand plug;
    plug.SetEditorServices(&editor);

    // The first run moves the Angle and Output controls like a user would.
    EXPECT_CALL(editor, MoveParamControl(kParamAngle, testing::DoubleNear((152.560976 + 180.0) / 360.0, 1e-12)));
    EXPECT_CALL(editor, MoveParamControl(kParamOutput, _));
    EXPECT_CALL(editor, ShowPlates()).Times(testing::AtLeast(1)); // phase 2 → 3
    EXPECT_CALL(editor, SetClipLightValues(1.0));
    plug.IdleTick();
    testing::Mock::VerifyAndClearExpectations(&editor);

    // The banner sets the lights and opens the undo history once.
    EXPECT_CALL(editor, InitUndoHistory()).Times(1);
    EXPECT_CALL(editor, SetSwitchLight(_, _)).Times(AnyNumber());
    EXPECT_CALL(editor, SetSwitchLight(kLightInvertPdr, true)).Times(testing::AtLeast(1));
    EXPECT_CALL(editor, SetStyleLight(0.34)).Times(testing::AtLeast(1));
    Settle(plug, 210);
    testing::Mock::VerifyAndClearExpectations(&editor);

    // A user edit leads to one undo snapshot after ten ticks; a host change none.
    EXPECT_CALL(editor, PushUndoSnapshot()).Times(0);
    plug.mGuiEdit = true;
    plug.SetParameterFromGUI(kParamTight, 0.8);
    EXPECT_TRUE(plug.mSettingsChanged);
    for (int i = 0; i < 9; ++i)
        plug.IdleTick();
    testing::Mock::VerifyAndClearExpectations(&editor);
    EXPECT_CALL(editor, PushUndoSnapshot()).Times(1);
    plug.IdleTick();
    testing::Mock::VerifyAndClearExpectations(&editor);
    EXPECT_CALL(editor, PushUndoSnapshot()).Times(0);
    SetPlain(plug, kParamTight, 20.0);
    Settle(plug, 20);
    testing::Mock::VerifyAndClearExpectations(&editor);

    // Switches light up; the Delay moves its fader; readouts follow targets.
    EXPECT_CALL(editor, SetSwitchLight(kLightExtSidechain, true));
    EXPECT_CALL(editor, SetDelayFader(testing::DoubleNear(82.0 / 144.0, 1e-12))).Times(testing::AtLeast(1));
    EXPECT_CALL(editor, SetReadoutText(_, _)).Times(AnyNumber());
    EXPECT_CALL(editor, SetReadoutText(kReadoutAngle, testing::StrEq(" -12.00$"))).Times(testing::AtLeast(1));
    SetPlain(plug, kParamExtSidechain, 1);
    SetPlain(plug, kParamDelay, 10);
    SetPlain(plug, kParamAngle, -12.0);
    testing::Mock::VerifyAndClearExpectations(&editor);

    // An output peak above full scale lights the matching clip light.
    EXPECT_CALL(editor, ShowClipLight(true)).Times(1);
    EXPECT_CALL(editor, ShowClipLight(false)).Times(0);
    SetPlain(plug, kParamExtSidechain, 0);
    SetPlain(plug, kParamOutput, 20.0);
    SetPlain(plug, kParamStrength, 0.0001);
    Settle(plug, 10);
    Stereo in{std::vector<double>(6000, 0.0), std::vector<double>(6000, 0.5)};
    Render(plug, in);
    plug.IdleTick();
    testing::Mock::VerifyAndClearExpectations(&editor);
    EXPECT_GT(plug.Meters().outputRight, 0.5);

    // Preset recall refreshes the readouts with the lights and arms a snapshot.
    EXPECT_CALL(editor, PushUndoSnapshot()).Times(1);
    EXPECT_CALL(editor, SetSwitchLight(_, _)).Times(AnyNumber());
    EXPECT_CALL(editor, SetStyleLight(_)).Times(AnyNumber());
    ASSERT_TRUE(plug.LoadPreset(4));
    EXPECT_EQ(plug.mRedrawTicks, 50);
    Settle(plug, 12);
}
