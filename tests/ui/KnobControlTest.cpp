// The plug-in's knobs driven by scripted gestures: gearing and fine
// adjustment, the text-entry areas, the endless Angle knob, the Juice
// detent, the Delay fader's even-delay rule and mirror, and a host that
// moves a parameter in the middle of a drag.
#include "tests/ui/SmallEditor.h"
#include "ui/OstrandEditorLink.h"
#include "ui/controls/IKnobDetentControlTextMO.h"
#include "ui/controls/IKnobMultiControlHalfPrompt.h"
#include "ui/controls/IKnobMultiControlTextMO.h"
#include "ui/controls/IKnobMultiControlTextTop360.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ui_test;

namespace {

ITextStyle KnobPrompt()
{
    ITextStyle style;
    style.size = 14;
    return style;
}

// Attack knob at its place, Angle knob, Juice knob and the Delay fader.
struct KnobEditor : SmallEditor {
    KnobEditor()
    {
        const IBitmapStrip small = Strip(40, 40, 641);
        attack = Add(new IKnobMultiControlTextMO(plug.get(), {131, 81, 166, 136}, kParamAttack, small, KnobPrompt(), 0,
                                                 7.0, -1));
        angle = Add(new IKnobMultiControlTextTop360(plug.get(), {200, 44, 282, 146}, kParamAngle,
                                                    Strip(70, 74, 641), KnobPrompt(), 0, 7.0, -1));
        juice = Add(new IKnobDetentControlTextMO(plug.get(), {27, 184, 62, 239}, kParamJuice, small, KnobPrompt(), 0,
                                                 2.8, -1));
        fader = Add(new IKnobMultiControlHalfPrompt(plug.get(), 151, 165, kParamDelay, Strip(170, 32, 201),
                                                    KnobPrompt(), 1, 11.0));
        Attach();
        plug->mIntroTicks = 0;
    }
    void SetNormalized(int paramIdx, double v)
    {
        plug->GetParam(paramIdx)->SetFromNormalized(v);
        surface->PushParamToControls(paramIdx, v, true);
    }

    IKnobMultiControlTextMO* attack;
    IKnobMultiControlTextTop360* angle;
    IKnobDetentControlTextMO* juice;
    IKnobMultiControlHalfPrompt* fader;
};

} // namespace

//------------------------------------------------------------------------
TEST(SmallKnob, DragByItsHeightMovesOneGearingthFineModifiersTenTimesLess)
{
    for (const IMouseState& mods : {kLeft, kShiftLeft, kCtrlLeft}) {
        KnobEditor e;
        e.SetNormalized(kParamAttack, 0.3);
        e.Press(148, 95, mods);
        e.DragTo(148, 95 - 55, mods);  // up by the knob's height (55)
        const double expected = 0.3 + (mods.left && !mods.shift && !mods.control ? 1.0 / 7.0 : 1.0 / 70.0);
        EXPECT_NEAR(e.attack->GetValue(), expected, 1e-12);
        EXPECT_NEAR(e.plug->GetParam(kParamAttack)->ToNormalized(), expected, 1e-12);
        e.Release(148, 40, mods);
        EXPECT_TRUE(e.plug->mSettingsChanged);
        EXPECT_FALSE(e.plug->mUserInteracting);
        EXPECT_EQ(e.plug->begins, std::vector<int>{kParamAttack});
        EXPECT_EQ(e.plug->ends, std::vector<int>{kParamAttack});
    }
}

//------------------------------------------------------------------------
TEST(SmallKnob, ReadoutBandOrRightClickOpensTextEntryInsteadOfDragging)
{
    KnobEditor e;
    e.SetNormalized(kParamAttack, 0.3);
    // The band 17 to 3 pixels above the bottom (136): y 119 ... 132.
    e.Press(148, 119);
    ASSERT_EQ(e.surface->entries.size(), 1u);
    EXPECT_EQ(e.surface->entries[0].bounds, (IBounds{110, 119, 192, 133}));
    EXPECT_EQ(e.surface->entries[0].style.size, 14);
    EXPECT_TRUE(e.plug->mGuiEdit);
    e.Release(148, 119);
    EXPECT_FALSE(e.plug->mSettingsChanged);
    e.surface->CancelTextEntry();

    e.Press(148, 90, kRight);
    EXPECT_EQ(e.surface->entries.size(), 2u);
    e.Release(148, 90, kRight);
    e.surface->CancelTextEntry();
    e.Press(148, 118);  // just above the band: a drag starts, no entry
    EXPECT_EQ(e.surface->entries.size(), 2u);
    EXPECT_DOUBLE_EQ(e.attack->GetValue(), 0.3);
}

//------------------------------------------------------------------------
TEST(SmallKnob, DoubleClickRestoresTheDefaultOnlyWhenOneIsKnown)
{
    KnobEditor e;
    const double def = e.attack->mDefaultValue;
    e.SetNormalized(kParamAttack, 0.9);
    e.DoubleClick(148, 95);
    EXPECT_DOUBLE_EQ(e.attack->GetValue(), def);
    EXPECT_DOUBLE_EQ(e.plug->GetParam(kParamAttack)->ToNormalized(), def);

    e.attack->mDefaultValue = -1.0;
    e.SetNormalized(kParamAttack, 0.9);
    e.DoubleClick(148, 95);
    EXPECT_DOUBLE_EQ(e.attack->GetValue(), 0.9);
}

//------------------------------------------------------------------------
TEST(AngleKnob, WrapsPastBothEndsAndRightClickMirrors)
{
    KnobEditor e;
    e.SetNormalized(kParamAngle, 1.0);
    e.Press(240, 100);
    e.DragTo(240, 90);  // further up from the top: continues from the bottom
    EXPECT_NEAR(e.angle->GetValue(), 10.0 / 102.0 / 7.0, 1e-12);
    e.Release(240, 90);

    e.SetNormalized(kParamAngle, 0.0);
    e.Press(240, 100);
    e.DragTo(230, 100);  // left from the bottom: continues from the top
    EXPECT_NEAR(e.angle->GetValue(), 1.0 - 10.0 / 82.0 / 7.0, 1e-12);
    e.Release(230, 100);

    // Reaching an end clamps there, which arms the wrap for the next move.
    e.SetNormalized(kParamAngle, 0.99);
    e.Press(240, 100);
    e.DragTo(240, 0);
    EXPECT_DOUBLE_EQ(e.angle->GetValue(), 1.0);
    e.DragTo(240, -1);
    EXPECT_GT(e.angle->GetValue(), 0.0);
    EXPECT_LT(e.angle->GetValue(), 0.01);
    e.Release(240, -1);

    e.SetNormalized(kParamAngle, 0.75);  // +90 degrees
    e.Press(240, 100, kRight);
    EXPECT_DOUBLE_EQ(e.angle->GetValue(), 0.25);
    EXPECT_DOUBLE_EQ(e.Plain(kParamAngle), -90.0);
    e.Release(240, 100, kRight);
    EXPECT_TRUE(e.plug->mSettingsChanged);
}

//------------------------------------------------------------------------
TEST(JuiceKnob, SettlesOnTheNearestWholeStepOnRelease)
{
    KnobEditor e;
    e.SetNormalized(kParamJuice, 0.2);  // 1
    e.Press(44, 200);
    e.juice->mValue = 0.5;  // 2.5, as a drag may leave it
    e.juice->MarkDirty(true);
    e.Release(44, 200);
    EXPECT_DOUBLE_EQ(e.juice->GetValue(), 0.6);
    EXPECT_DOUBLE_EQ(e.Plain(kParamJuice), 3.0);
    EXPECT_TRUE(e.plug->mSettingsChanged);

    // Back on the step it started from: no settings change.
    e.plug->mSettingsChanged = false;
    e.Press(44, 200);
    e.juice->mValue = 0.62;
    e.Release(44, 200);
    EXPECT_DOUBLE_EQ(e.juice->GetValue(), 0.6);
    EXPECT_FALSE(e.plug->mSettingsChanged);
}

//------------------------------------------------------------------------
TEST(DelayFader, EvenDelaysOnlyMovesOddReleasesAwayFromZeroAndRightClickMirrors)
{
    KnobEditor e;
    e.plug->mEvenDelayOnly = true;
    // Sideways counts eight times: 5 pixels = 8 * 5 / 170 / 11 = 3.08 units.
    e.Press(200, 180);
    e.DragTo(205, 180);
    EXPECT_EQ(e.Plain(kParamDelay), 3.0);
    e.Release(205, 180);
    EXPECT_EQ(e.Plain(kParamDelay), 4.0);
    EXPECT_DOUBLE_EQ(e.fader->GetValue(), 76.0 / 144.0);
    EXPECT_TRUE(e.plug->mSettingsChanged);

    e.SetNormalized(kParamDelay, 0.5);
    e.Press(200, 180);
    e.DragTo(195, 180);
    e.Release(195, 180);
    EXPECT_EQ(e.Plain(kParamDelay), -4.0);

    e.plug->mEvenDelayOnly = false;
    e.SetNormalized(kParamDelay, 75.0 / 144.0);  // +3
    e.Press(200, 180, kRight);
    EXPECT_EQ(e.Plain(kParamDelay), -3.0);
    e.Release(200, 180, kRight);
    EXPECT_EQ(e.Plain(kParamDelay), -3.0);
    EXPECT_EQ(e.plug->mIntroTicks, 0);
    // The fader takes clicks five pixels below its cap.
    EXPECT_EQ(e.fader->GetTargetBounds(), (IBounds{151, 165, 321, 202}));
}

//------------------------------------------------------------------------
TEST(DelayFader, RoundsHalvesAwayFromZeroOnBothSides)
{
    KnobEditor e;
    EXPECT_EQ(e.fader->RoundedDelay(74.5 / 144.0), 3);   // +2.5
    EXPECT_EQ(e.fader->RoundedDelay(69.5 / 144.0), -3);  // -2.5
    EXPECT_EQ(e.fader->RoundedDelay(73.4 / 144.0), 1);   // +1.4
    EXPECT_EQ(e.fader->RoundedDelay(70.6 / 144.0), -1);  // -1.4
}

//------------------------------------------------------------------------
TEST(HostDuringDrag, BracketStaysBalancedAndTheUndoHistoryTakesTheValuesAsTheyAre)
{
    KnobEditor e;
    OstrandEditorLink link(e.plug.get(), e.surface);
    e.surface->SetTickHook(&link);
    e.plug->SetEditorServices(&link);
    for (int i = 0; i < 260; ++i) {  // past the opening banner: the history starts
        e.plug->IdleTick();
        e.surface->TickAndRedraw();
    }
    ASSERT_EQ(e.plug->mUndoHistory.size(), 1u);
    e.plug->begins.clear();
    e.plug->ends.clear();

    e.SetNormalized(kParamAttack, 0.3);
    e.Press(148, 95);
    e.DragTo(148, 85);
    // The host automates the knob's parameter mid-drag (on its thread,
    // under the plug-in lock), and another one too.
    e.SetNormalized(kParamAttack, 0.8);
    e.plug->ParamChanged(kParamAttack);
    e.SetNormalized(kParamOutput, 0.1);
    e.plug->ParamChanged(kParamOutput);
    e.DragTo(148, 75);
    const double expected = 0.8 + 10.0 / 55.0 / 7.0;
    EXPECT_NEAR(e.attack->GetValue(), expected, 1e-12);
    e.Release(148, 75);
    EXPECT_EQ(e.plug->begins, std::vector<int>{kParamAttack});
    EXPECT_EQ(e.plug->ends, std::vector<int>{kParamAttack});
    EXPECT_FALSE(e.plug->mUserInteracting);

    for (int i = 0; i < 40; ++i) {
        e.plug->IdleTick();
        e.surface->TickAndRedraw();
    }
    ASSERT_EQ(e.plug->mUndoHistory.size(), 2u);
    EXPECT_EQ(e.plug->mUndoPosition, 1);
    const OstrandSnapshot& last = e.plug->mUndoHistory.back();
    EXPECT_NEAR(last[kParamAttack], expected, 1e-12);
    EXPECT_NEAR(last[kParamOutput], 0.1, 1e-12);
    e.plug->SetEditorServices(nullptr);
}
