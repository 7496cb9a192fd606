// Timer ticks of an engine at rest: they repeat only the editor hand-over,
// and anything that gives a tick work (parameter changes, values a host set
// without telling the engine, editor animations, audio) is still taken at
// the next tick, as a full tick takes it.
#include "tests/engine/ostrand/MockEditorServices.h"
#include "tests/engine/ostrand/OstrandTestSupport.h"

#include "engine/ostrand/OstrandMapping.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

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

namespace {

// Everything of the engine a tick may change, as the editor, the host and
// the audio see it.
std::vector<std::string> Observed(const Ostrand& plug)
{
    std::vector<std::string> seen;
    for (int i = 0; i < kNumReadouts; ++i)
        seen.emplace_back(plug.Readout(static_cast<OstrandReadout>(i)));
    // Every bit of each value.
    auto add = [&seen](double v) {
        char text[40];
        std::snprintf(text, sizeof(text), "%a", v);
        seen.emplace_back(text);
    };
    for (int g = 0; g < kNumGlides; ++g) {
        auto id = static_cast<OstrandGlideId>(g);
        add(plug.GlideValue(id));
        add(plug.GlideTarget(id));
        add(plug.GlideApplied(id));
        add(plug.GlideHold(id));
        add(plug.GlideState(id));
    }
    for (double v : {plug.DelayShiftTarget(), plug.DelayShiftApplied(), plug.OutputGainFactor(), plug.Meters().difference,
                     plug.Meters().outputLeft, plug.Meters().outputRight})
        add(v);
    for (int v : {plug.DelayHold(), plug.AudioDelayLength(), plug.EnginePhase(), plug.SettleCount(), plug.Latency(),
                  plug.OversamplingFactor(), plug.OversamplingStyle(), static_cast<int>(plug.AudioRunning())})
        seen.push_back(std::to_string(v));
    return seen;
}

// Ticks until the engine says later ticks change nothing; the count taken.
// After an Attack or Release glide that takes thousands: the glide state
// still creeps by the last bits of its value, one step per tick.
int TicksToRest(RestingEngine& e, int limit = 5000)
{
    for (int i = 1; i <= limit; ++i) {
        e.plug->IdleTick();
        if (e.plug->IdleTicksChangeNothing())
            return i;
    }
    return -1;
}

} // namespace

TEST(OstrandIdleTick, TicksSkippedAtRestLeaveTheEngineAsTicksWould)
{
    // Two identical engines: one ticks all along, the other has every tick
    // at rest skipped. After each change both tick alike and must agree in
    // every observable value at every tick, and in the audio they render.
    RestingEngine ticked;
    RestingEngine skipped;
    EXPECT_CALL(ticked.editor, SetReadoutText(_, _)).Times(AnyNumber());
    EXPECT_CALL(skipped.editor, SetReadoutText(_, _)).Times(AnyNumber());
    const Stereo noise = Noise(2048, 0.2);
    const Stereo silence{std::vector<double>(512), std::vector<double>(512)};
    // Each change returns what it rendered.
    const std::vector<std::function<Stereo(Ostrand&)>> changes = {
        [](Ostrand& p) { SetPlain(p, kParamAngle, -45.0); return Stereo{}; },
        // Audio rendered while the envelope times glide.
        [&noise](Ostrand& p) { SetPlain(p, kParamRelease, 300.0); return Render(p, noise); },
        // A step so small that the glide state's last bits decide the result.
        [&noise](Ostrand& p) { SetPlain(p, kParamRelease, 300.0 + 1e-10); return Render(p, noise); },
        [&noise](Ostrand& p) { SetPlain(p, kParamAttack, 2.5); return Render(p, noise); },
        // A value a host set without a change call, which moves the latency.
        [](Ostrand& p) { p.GetParam(kParamJuice)->SetPlain(4.0); return Stereo{}; },
        [&silence](Ostrand& p) { return Render(p, silence); },
        [](Ostrand& p) { p.SetSampleRate(48000.0); p.ResetProcessing(); return Stereo{}; },
    };
    for (std::size_t c = 0; c <= changes.size(); ++c) {
        const int toRest = TicksToRest(ticked);
        ASSERT_GT(toRest, 0) << "change " << c;
        ASSERT_EQ(TicksToRest(skipped), toRest) << "change " << c;
        ticked.Ticks(500);
        ASSERT_EQ(Observed(*ticked.plug), Observed(*skipped.plug)) << "change " << c;
        EXPECT_TRUE(ticked.plug->IdleTicksChangeNothing());
        if (c == changes.size())
            break;
        const Stereo a = changes[c](*ticked.plug);
        const Stereo b = changes[c](*skipped.plug);
        ASSERT_TRUE(a.left == b.left && a.right == b.right) << "change " << c;
        ASSERT_EQ(Observed(*ticked.plug), Observed(*skipped.plug)) << "change " << c;
        for (int t = 0; t < 40; ++t) {
            ticked.Ticks(1);
            skipped.Ticks(1);
            // The tick after the change has work again.
            if (t == 0) {
                EXPECT_FALSE(ticked.plug->IdleTicksChangeNothing()) << "change " << c;
            }
            ASSERT_EQ(Observed(*ticked.plug), Observed(*skipped.plug)) << "change " << c << ", tick " << t;
        }
    }
    EXPECT_EQ(ticked.plug->OversamplingFactor(), JuiceFor(4, 48000.0).factor);
    const Stereo in = Sine(8192, 180.0, 48000.0, 0.4, 0.3);
    const Stereo a = Render(*ticked.plug, in);
    const Stereo b = Render(*skipped.plug, in);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);

    // Editor animations keep the ticks busy while they run.
    ticked.plug->SetHighlightTicks(4, false);
    ticked.Ticks(1);
    EXPECT_FALSE(ticked.plug->IdleTicksChangeNothing());
}
