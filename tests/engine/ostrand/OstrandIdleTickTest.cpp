// Timer ticks of an engine at rest: they repeat only the editor hand-over,
// and anything that gives a tick work (parameter changes, values a host set
// without telling the engine, editor animations, audio) is still taken at
// the next tick, as a full tick takes it.
#include "tests/engine/ostrand/MockEditorServices.h"
#include "tests/engine/ostrand/OstrandTestSupport.h"

#include <gtest/gtest.h>

using namespace ostrand_test;
using testing::_;
using testing::AnyNumber;
using testing::NiceMock;
using testing::StrEq;

namespace {

// A settled engine with a mock editor attached, past the first full tick
// that the attachment asks for.
struct RestingEngine {
    std::unique_ptr<Ostrand> plug = MakeReady(44100.0);
    NiceMock<MockEditorServices> editor;

    RestingEngine()
    {
        plug->SetEditorServices(&editor);
        plug->IdleTick();
        plug->IdleTick();
        testing::Mock::VerifyAndClearExpectations(&editor);
    }
    ~RestingEngine() { plug->SetEditorServices(nullptr); }

    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            plug->IdleTick();
    }
};

} // namespace

TEST(OstrandIdleTick, AtRestOnlyTheEditorHandOverIsRepeated)
{
    RestingEngine e;
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(0);
    // Attack and Release are refreshed by the glide restart of every tick.
    EXPECT_CALL(e.editor, RefreshParamControl(_, _)).Times(AnyNumber());
    EXPECT_CALL(e.editor, RefreshParamControl(kParamAngle, _)).Times(0);
    EXPECT_CALL(e.editor, SetMeters(_)).Times(20);
    EXPECT_CALL(e.editor, MarkAllControlsDirty()).Times(20);
    e.Ticks(20);
    testing::Mock::VerifyAndClearExpectations(&e.editor);

    // Silent blocks (a host that keeps processing while stopped) leave the
    // engine at rest too.
    Stereo silence{std::vector<double>(512), std::vector<double>(512)};
    Render(*e.plug, silence);
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(0);
    e.Ticks(5);
}

TEST(OstrandIdleTick, ChangesAtRestAreTakenAtTheNextTick)
{
    RestingEngine e;

    // A value the host set without a change call: the configuration and the
    // readout follow at the next tick, as they did before the engine rested.
    ASSERT_EQ(e.plug->OversamplingFactor(), 2);
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(AnyNumber());
    EXPECT_CALL(e.editor, SetReadoutText(kReadoutJuice, StrEq("Regular 5 "))).Times(testing::AtLeast(1));
    e.plug->GetParam(kParamJuice)->SetPlain(5.0);
    e.Ticks(1);
    EXPECT_EQ(e.plug->OversamplingFactor(), 12);
    testing::Mock::VerifyAndClearExpectations(&e.editor);

    // The new latency is reported, then the engine rests again.
    e.Ticks(3);
    EXPECT_EQ(e.plug->Latency(), 4096 + 72 / 12);
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(0);
    e.Ticks(5);
    testing::Mock::VerifyAndClearExpectations(&e.editor);

    // A parameter change glides to its target over the ticks and settles.
    SetPlain(*e.plug, kParamAngle, -45.0);
    EXPECT_NE(e.plug->GlideApplied(kGlideAngle), -45.0);
    e.Ticks(30);
    EXPECT_EQ(e.plug->GlideApplied(kGlideAngle), -45.0);
    EXPECT_NEAR(e.plug->GlideValue(kGlideAngle), -45.0, 1e-12);
    EXPECT_STREQ(e.plug->Readout(kReadoutAngle), " -45.00$");

    // Attack and Release, whose glide the stopped engine restarts at every
    // full tick, settle exactly on their targets too.
    SetPlain(*e.plug, kParamRelease, 300.0);
    e.Ticks(30);
    EXPECT_EQ(e.plug->GlideValue(kGlideRelease), 300.0);
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(0);
    e.Ticks(5);
}

TEST(OstrandIdleTick, EditorAnimationsRunWhileTheEngineRests)
{
    RestingEngine e;

    // Hovering the logo types the user guide hint into the Delay readout.
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(AnyNumber());
    EXPECT_CALL(e.editor, SetReadoutText(kReadoutDelay, _)).Times(testing::AtLeast(3));
    e.plug->mLogoHoverState = 1;
    e.Ticks(3);
    testing::Mock::VerifyAndClearExpectations(&e.editor);
    e.plug->mLogoHoverState = 2;
    e.Ticks(40);

    // A revealed readout's plates come back when its highlight runs out.
    EXPECT_CALL(e.editor, ShowPlates()).Times(1);
    e.plug->SetHighlightTicks(4, false);
    e.Ticks(10);
    testing::Mock::VerifyAndClearExpectations(&e.editor);

    // An edit from the editor is recorded for undo ten ticks later.
    EXPECT_CALL(e.editor, PushUndoSnapshot()).Times(1);
    e.plug->mGuiEdit = true;
    e.plug->SetParameterFromGUI(kParamStrength, 0.75);
    e.Ticks(30);
}

TEST(OstrandIdleTick, AudioStopsTheRestUntilTheEngineSeesItStopped)
{
    RestingEngine e;
    Stereo in = Noise(2048, 0.1);
    Render(*e.plug, in);
    ASSERT_TRUE(e.plug->AudioRunning());
    // The tick that sees the block, then ten without: audio counts as
    // stopped, the readouts are refreshed once and the rest resumes.
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(AnyNumber());
    e.Ticks(11);
    EXPECT_FALSE(e.plug->AudioRunning());
    e.Ticks(2);
    testing::Mock::VerifyAndClearExpectations(&e.editor);
    EXPECT_CALL(e.editor, SetReadoutText(_, _)).Times(0);
    e.Ticks(5);
}
