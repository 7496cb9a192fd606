// The editor services at work through real gestures on the headless surface:
// readouts and meters reaching the controls, name plates, memory slots, undo
// and redo, and the information screen.
#include "tests/ui/UiTestSupport.h"
#include "ui/OstrandEditorAccess.h"
#include "ui/controls/CustomTextControlD.h"
#include "ui/controls/MemoryContactControl.h"
#include "ui/controls/UndoContactControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace ui_test;

namespace {

// Control centres.
constexpr int kAttackX = 148, kAttackY = 100;
constexpr int kReleaseX = 316, kReleaseY = 100;
constexpr int kSlotX[4] = {137, 166, 195, 224};
constexpr int kSlotY = 235;
constexpr int kUndoX = 303, kRedoX = 332;

void RenderLoud(Ostrand& plug, int blocks)
{
    std::vector<double> l(512), r(512), sc(512, 0.0), outL(512), outR(512);
    for (int b = 0; b < blocks; ++b) {
        for (int i = 0; i < 512; ++i) {
            l[static_cast<std::size_t>(i)] = 0.9 * std::sin(0.05 * (b * 512 + i));
            r[static_cast<std::size_t>(i)] = 0.9 * std::sin(0.031 * (b * 512 + i));
        }
        double* in[4] = {l.data(), r.data(), sc.data(), sc.data()};
        double* out[2] = {outL.data(), outR.data()};
        plug.RenderBlock(in, out, 512);
    }
}

} // namespace

TEST(EditorServices, ReadoutsMetersAndLightsReachTheControls)
{
    EditorHarness ed;
    const OstrandEditorHandles& h = ed.plug->mHandles;
    for (int r = 1; r < kNumReadouts; ++r)
        EXPECT_STREQ(h.readoutLabels[r]->GetText(), ed.plug->Readout(static_cast<OstrandReadout>(r))) << r;

    ed.HostSets(kParamAttack, 0.3);
    ed.Tick();
    EXPECT_STREQ(h.readoutLabels[kReadoutAttack]->GetText(), ed.plug->Readout(kReadoutAttack));

    RenderLoud(*ed.plug, 40);
    ed.Tick();
    const OstrandMeters& m = ed.plug->Meters();
    ASSERT_GT(m.outputLeft, 0.1);
    EXPECT_EQ(ed.Control(h.vuLayer3)->GetValue(), m.difference);
    EXPECT_EQ(ed.Control(h.vuLayer2)->GetValue(), m.mixMid);
    EXPECT_EQ(ed.Control(h.vuLayer1)->GetValue(), m.mixSide);
    // Controls hold their values to 0 ... 1; a clipping output pins its meter.
    EXPECT_EQ(ed.Control(h.levelMeterLeft)->GetValue(), std::min(m.outputLeft, 1.0));
    EXPECT_EQ(ed.Control(h.levelMeterRight)->GetValue(), std::min(m.outputRight, 1.0));

    // A switch turned on by the host lights its light; off puts it out.
    ed.HostSets(kParamExtSidechain, 1.0);
    ed.Tick();
    EXPECT_TRUE(ed.Shown(h.switchLight3));
    EXPECT_EQ(ed.Control(h.switchLight3)->GetValue(), 1.0);
    ed.HostSets(kParamExtSidechain, 0.0);
    ed.Ticks(6);
    EXPECT_FALSE(ed.Shown(h.switchLight3));
    // The style light follows the oversampling mode.
    ed.HostSets(kParamOversampleMode, 1.0);
    ed.Ticks(3);
    EXPECT_EQ(ed.Control(h.modeIndicator)->GetValue(), 1.0);
}

TEST(EditorServices, PlateFadesOnHoverAndReturnsWhenTheHighlightRunsOut)
{
    EditorHarness ed;
    auto* plate = ed.Control(ed.plug->mHandles.attackPlate);
    ASSERT_FALSE(plate->IsHidden());
    ed.Hover(kAttackX, kAttackY);
    EXPECT_GE(ed.plug->mHighlightTicks, 180);
    ed.Ticks(8);
    EXPECT_TRUE(plate->IsHidden());
    EXPECT_LE(plate->mBlend.weight, 0.0f);
    // Other plates stay.
    EXPECT_FALSE(ed.Control(ed.plug->mHandles.releasePlate)->IsHidden());

    ed.Hover(600, 20); // away from every control
    ed.Ticks(ed.plug->mHighlightTicks + 8);
    EXPECT_FALSE(plate->IsHidden());
    EXPECT_GE(plate->mBlend.weight, 1.0f);
    EXPECT_FALSE(ed.plug->mHoverActive);
}

TEST(EditorServices, MemoryStoreRecallAndClear)
{
    EditorHarness ed;
    Ostrand& plug = *ed.plug;
    const OstrandEditorHandles& h = plug.mHandles;
    ed.HostSets(kParamAttack, 0.25);
    ed.Ticks(2);

    // Right-click stores into A: the slot fills, its light comes on and its
    // blink plays.
    ed.Click(kSlotX[0], kSlotY, Right());
    EXPECT_TRUE(plug.mMemorySlotFull[0]);
    EXPECT_EQ(plug.mMemorySlots[0][kParamAttack], ed.Param(kParamAttack));
    EXPECT_TRUE(ed.Shown(h.memoryLight[0]));
    EXPECT_EQ(ed.Control(h.memoryLight[0])->GetValue(), 1.0);
    EXPECT_TRUE(ed.Shown(h.memoryBlink[0]));
    EXPECT_FALSE(h.memoryButtons[0]->mEmpty);
    // Ctrl-click stores too.
    ed.Click(kSlotX[2], kSlotY, With(Left(), false, true));
    EXPECT_TRUE(plug.mMemorySlotFull[2]);
    ed.Ticks(20);
    EXPECT_FALSE(ed.Shown(h.memoryBlink[0])); // the blink is over, the light stays
    EXPECT_TRUE(ed.Shown(h.memoryLight[0]));

    // A click on the empty slot B recalls nothing and plays no blink.
    ed.HostSets(kParamAttack, 0.75);
    ed.Click(kSlotX[1], kSlotY);
    EXPECT_EQ(ed.Param(kParamAttack), 0.75);
    EXPECT_FALSE(ed.Shown(h.memoryBlink[1]));

    // A click on A recalls it.
    ed.Click(kSlotX[0], kSlotY);
    EXPECT_DOUBLE_EQ(ed.Param(kParamAttack), 0.25);
    EXPECT_TRUE(ed.Shown(h.memoryBlink[0]));
    ed.Ticks(20);

    // Shift-click empties A: three blinks, and its light fades out.
    ed.Click(kSlotX[0], kSlotY, With(Left(), true));
    EXPECT_FALSE(plug.mMemorySlotFull[0]);
    EXPECT_TRUE(h.memoryButtons[0]->mEmpty);
    ed.Ticks(20);
    EXPECT_FALSE(ed.Shown(h.memoryLight[0]));
    EXPECT_TRUE(plug.mMemorySlotFull[2]);
    // The emptied slot recalls nothing now.
    ed.HostSets(kParamAttack, 0.6);
    ed.Click(kSlotX[0], kSlotY);
    EXPECT_EQ(ed.Param(kParamAttack), 0.6);
}

TEST(EditorServices, UndoRedoAndANewEditDiscardingTheRedoBranch)
{
    EditorHarness ed;
    Ostrand& plug = *ed.plug;
    const OstrandEditorHandles& h = plug.mHandles;
    ASSERT_EQ(plug.mUndoHistory.size(), 1u);
    ASSERT_EQ(plug.mUndoPosition, 0);
    const double start = ed.Param(kParamAttack);

    ed.DragBy(kAttackX, kAttackY, 0, -20);
    ed.Ticks(15);
    const double first = ed.Param(kParamAttack);
    ASSERT_NE(first, start);
    ASSERT_EQ(plug.mUndoHistory.size(), 2u);
    EXPECT_TRUE(ed.Shown(h.undoLight));
    EXPECT_FALSE(h.undoControl->mUnavailable);

    ed.DragBy(kReleaseX, kReleaseY, 0, -20);
    ed.Ticks(15);
    ASSERT_EQ(plug.mUndoHistory.size(), 3u);
    EXPECT_EQ(plug.mUndoPosition, 2);

    ed.Click(kUndoX, kSlotY);
    ed.Ticks(2);
    EXPECT_EQ(plug.mUndoPosition, 1);
    EXPECT_EQ(ed.Param(kParamAttack), first);
    EXPECT_TRUE(ed.Shown(h.redoLight));
    EXPECT_FALSE(h.redoControl->mUnavailable);

    ed.Click(kUndoX, kSlotY);
    ed.Ticks(10);
    EXPECT_EQ(plug.mUndoPosition, 0);
    EXPECT_EQ(ed.Param(kParamAttack), start);
    EXPECT_FALSE(ed.Shown(h.undoLight));
    EXPECT_TRUE(h.undoControl->mUnavailable);
    // At the start further undo clicks change nothing.
    ed.Click(kUndoX, kSlotY);
    ed.Ticks(15);
    EXPECT_EQ(plug.mUndoPosition, 0);
    EXPECT_EQ(ed.Param(kParamAttack), start);
    ASSERT_EQ(plug.mUndoHistory.size(), 3u);

    ed.Click(kRedoX, kSlotY);
    ed.Ticks(2);
    EXPECT_EQ(plug.mUndoPosition, 1);
    EXPECT_EQ(ed.Param(kParamAttack), first);

    // A new edit drops the snapshot that redo would have reached.
    ed.DragBy(kAttackX, kAttackY, 0, 30);
    ed.Ticks(25);
    ASSERT_EQ(plug.mUndoHistory.size(), 3u);
    EXPECT_EQ(plug.mUndoPosition, 2);
    EXPECT_EQ(plug.mUndoHistory[2][kParamAttack], ed.Param(kParamAttack));
    EXPECT_FALSE(ed.Shown(h.redoLight));
    EXPECT_TRUE(h.redoControl->mUnavailable);
    ed.Click(kRedoX, kSlotY);
    EXPECT_EQ(plug.mUndoPosition, 2);
}

TEST(EditorServices, UndoHistoryKeepsTheNewestThousandSnapshots)
{
    EditorHarness ed;
    Ostrand& plug = *ed.plug;
    const int pushes = kUndoHistoryCap + 150;
    for (int i = 0; i < pushes; ++i) {
        ed.HostSets(kParamAngle, static_cast<double>(i) / pushes);
        plug.PushUndoSnapshot();
    }
    ASSERT_EQ(plug.mUndoHistory.size(), static_cast<std::size_t>(kUndoHistoryCap));
    EXPECT_EQ(plug.mUndoPosition, kUndoHistoryCap - 1);
    EXPECT_DOUBLE_EQ(plug.mUndoHistory.back()[kParamAngle], static_cast<double>(pushes - 1) / pushes);
    EXPECT_DOUBLE_EQ(plug.mUndoHistory.front()[kParamAngle],
                     static_cast<double>(pushes - kUndoHistoryCap) / pushes);
    plug.Undo();
    EXPECT_DOUBLE_EQ(ed.Param(kParamAngle), static_cast<double>(pushes - 2) / pushes);
    plug.Redo();
    EXPECT_EQ(plug.mUndoPosition, kUndoHistoryCap - 1);
    EXPECT_DOUBLE_EQ(ed.Param(kParamAngle), static_cast<double>(pushes - 1) / pushes);
}

TEST(EditorServices, UndoAndRedoBeforeTheHistoryExistsKeepThePositionValid)
{
    EditorHarness ed(false);
    Ostrand& plug = *ed.plug;
    ASSERT_TRUE(plug.mUndoHistory.empty());
    plug.Redo();
    EXPECT_EQ(plug.mUndoPosition, 0);
    plug.Undo();
    EXPECT_EQ(plug.mUndoPosition, 0);
    plug.InitUndoHistory();
    ASSERT_EQ(plug.mUndoHistory.size(), 1u);
    plug.PushUndoSnapshot();
    EXPECT_EQ(plug.mUndoHistory.size(), 2u);
    EXPECT_EQ(plug.mUndoPosition, 1);
}

TEST(EditorServices, InformationScreenRecordsAModeChangeOnlyWhenItCloses)
{
    EditorHarness ed;
    Ostrand& plug = *ed.plug;
    const OstrandEditorHandles& h = plug.mHandles;
    const std::size_t before = plug.mUndoHistory.size();

    ed.Click(150, 20); // InfoButton, inside twice the logo's width
    EXPECT_EQ(ed.Control(h.infoScreen)->GetValue(), 1.0);
    ed.Ticks(6);
    EXPECT_TRUE(ed.Shown(h.versionLabel));
    ASSERT_TRUE(ed.Shown(h.modeToggle));
    // The toggle draws nothing; the style light beside it shows the style.
    EXPECT_TRUE(ed.Shown(h.modeIndicator));

    ed.Click(500, 20); // the mode toggle
    EXPECT_EQ(ed.Plain(kParamOversampleMode), 1.0);
    ed.Ticks(3);
    EXPECT_EQ(ed.Control(h.modeIndicator)->GetValue(), 1.0);
    ed.Ticks(30);
    EXPECT_EQ(plug.mUndoHistory.size(), before);

    ed.Click(300, 100); // anywhere closes it
    ed.Ticks(8);
    EXPECT_EQ(ed.Control(h.infoScreen)->GetValue(), 0.0);
    EXPECT_FALSE(ed.Shown(h.modeToggle));
    EXPECT_FALSE(ed.Shown(h.modeIndicator));
    ed.Ticks(30);
    ASSERT_EQ(plug.mUndoHistory.size(), before + 1);
    EXPECT_EQ(plug.mUndoHistory.back()[kParamOversampleMode], 1.0);

    // Closed, it takes no clicks: the Angle readout's prompt area opens a prompt instead.
    const std::size_t entries = ed.surface->entries.size();
    ed.Click(240, 50);
    EXPECT_EQ(ed.Control(h.infoScreen)->GetValue(), 0.0);
    EXPECT_EQ(ed.surface->entries.size(), entries + 1);
}

TEST(EditorServices, ClipLightsComeOnWithClippingAndAClickClearsBoth)
{
    EditorHarness ed;
    const OstrandEditorHandles& h = ed.plug->mHandles;
    ed.HostSets(kParamOutput, 1.0); // +22 dB: a loud input clips
    ed.Ticks(3);
    RenderLoud(*ed.plug, 20);
    ed.Ticks(2);
    ASSERT_TRUE(ed.Shown(h.clipLightLeft));
    ASSERT_TRUE(ed.Shown(h.clipLightRight));
    ed.Click(614, 70);
    ed.Ticks(5);
    EXPECT_FALSE(ed.Shown(h.clipLightLeft));
    EXPECT_FALSE(ed.Shown(h.clipLightRight));
}

TEST(EditorServices, RevealReadoutLengthensTheHighlightByItsSteps)
{
    EditorHarness ed;
    Ostrand& plug = *ed.plug;
    const OstrandEditorHandles& h = plug.mHandles;
    struct Step {
        int before;
        bool angle;
        int after;
    };
    const Step steps[] = {
        {-1, false, 180}, {99, false, 180},  {100, false, 227}, {147, false, 274}, {148, false, 228},
        {209, false, 289}, {210, false, 265}, {300, false, 340}, {50, true, 126},   {300, true, 340},
    };
    for (const Step& s : steps) {
        plug.mHighlightTicks = s.before;
        plug.RevealReadout(s.angle ? h.anglePlate : h.tightPlate);
        EXPECT_EQ(plug.mHighlightTicks, s.after) << s.before << (s.angle ? " angle" : "");
    }
    ed.Ticks(10);
    EXPECT_TRUE(ed.Control(h.tightPlate)->IsHidden());

    // The fader light: a short highlight, and the light shows unless the
    // fader is being dragged.
    plug.RevealReadout(h.faderLight);
    EXPECT_EQ(plug.mHighlightTicks, 32);
    EXPECT_TRUE(ed.Shown(h.faderLight));
    // During the opening banner nothing is revealed.
    plug.mIntroTicks = 190;
    plug.mHighlightTicks = 5;
    plug.RevealReadout(h.classicPlate);
    EXPECT_EQ(plug.mHighlightTicks, 5);
    EXPECT_TRUE(ed.Shown(h.classicPlate));
}

TEST(EditorServices, FirstRunAndHostChangesMoveTheirControls)
{
    EditorHarness ed;
    // The first run moves the Angle and Output knobs to the welcome values
    // as a user would, so parameter, control and host agree.
    EXPECT_NEAR(ed.Plain(kParamAngle), kFirstRunAngle, 1e-9);
    EXPECT_NEAR(ed.Plain(kParamOutput), kFirstRunOutput, 1e-9);
    EXPECT_EQ(ed.surface->GetControl(25)->GetValue(), ed.Param(kParamAngle));
    EXPECT_EQ(ed.surface->GetControl(43)->GetValue(), ed.Param(kParamOutput));
    // A Delay change from the host moves the fader and its light.
    ed.HostSets(kParamDelay, 0.75);
    ed.Tick();
    EXPECT_EQ(ed.surface->GetControl(48)->GetValue(), 0.75);
    EXPECT_EQ(ed.Control(ed.plug->mHandles.faderLight)->GetValue(), 0.75);
}
