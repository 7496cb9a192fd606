// Fading images, blinks and the information screen, frame by frame through
// the surface's draw cycle.
#include "tests/ui/SmallEditor.h"
#include "editor/IHotspotToggleControl.h"
#include "ui/controls/CustomTextControlD.h"
#include "ui/controls/IBitmapControlSloFade.h"
#include "ui/controls/IBitmapOverlayFade.h"

#include <gtest/gtest.h>

using namespace ui_test;

namespace {

// Draws frames the way the window does (only what is dirty) until the
// control stops asking; the number of drawn frames in which it moved.
int FramesUntilSettled(SmallEditor& e, IControl& control)
{
    int moved = 0;
    for (int i = 0; i < 40; ++i) {
        const float before = control.mBlend.weight;
        e.surface->TickAndRedraw();
        if (control.mBlend.weight != before)
            ++moved;
    }
    return moved;
}

} // namespace

//------------------------------------------------------------------------
TEST(SloFade, StepsGiveSevenFourAndThreeFramesAndNeverClamp)
{
    const double steps[] = {0.15, 0.26, 0.34};
    const int frames[] = {7, 4, 3};
    for (int k = 0; k < 3; ++k) {
        SmallEditor e;
        auto* plate = e.Add(new IBitmapControlSloFade(e.plug.get(), 8, 48, e.Strip(80, 20, 1), steps[k], false));
        e.Attach();
        plate->SetHidden(true);  // fully shown: stays visible and fades out
        EXPECT_FALSE(plate->IsHidden());
        int out = 0;
        while (!plate->IsHidden() && out < 40) {
            const float before = plate->mBlend.weight;
            e.Frame();  // the plug-in's redraw countdown keeps everything dirty
            out += plate->mBlend.weight != before ? 1 : 0;
        }
        EXPECT_EQ(out, frames[k]) << steps[k];
        EXPECT_LT(plate->mBlend.weight, 0.0f);  // undershoots by less than a step
        EXPECT_GT(plate->mBlend.weight, -steps[k]);

        plate->mBlend.weight = 0.0f;  // from nothing (the undershoot would make it n or n + 1)
        plate->SetHidden(false);      // faded out: shown again, fades in by itself
        EXPECT_FALSE(plate->IsHidden());
        EXPECT_EQ(FramesUntilSettled(e, *plate), frames[k]) << steps[k];
        EXPECT_GT(plate->mBlend.weight, 1.0f);  // overshoots, not clamped
        EXPECT_FALSE(plate->IsMarkedDirty());
    }
}

//------------------------------------------------------------------------
TEST(SloFade, ShownAgainMidFadeTurnsBackFromWhereItWas)
{
    SmallEditor e;
    auto* plate = e.Add(new IBitmapControlSloFade(e.plug.get(), 8, 48, e.Strip(80, 20, 1), 0.26, false));
    e.Attach();
    plate->SetHidden(true);
    e.Frame();
    e.Frame();
    EXPECT_NEAR(plate->mBlend.weight, 0.48f, 1e-6);
    plate->SetHidden(false);
    e.surface->TickAndRedraw();
    EXPECT_NEAR(plate->mBlend.weight, 0.74f, 1e-6);  // back up from where it was, no jump
    FramesUntilSettled(e, *plate);
    EXPECT_GE(plate->mBlend.weight, 1.0f);
    EXPECT_FALSE(plate->IsHidden());
    EXPECT_FALSE(plate->IsMarkedDirty());

    // A fade out runs to its end by itself once drawn (the redraw countdown
    // that starts it may run out first), and hiding it again changes nothing.
    plate->SetHidden(true);
    plate->MarkDirty(false);
    FramesUntilSettled(e, *plate);
    EXPECT_TRUE(plate->IsHidden());
    const float weight = plate->mBlend.weight;
    plate->SetHidden(true);
    e.Frame();
    EXPECT_TRUE(plate->IsHidden());
    EXPECT_EQ(plate->mBlend.weight, weight);
}

namespace {

// The information screen with its version text, mode toggle and the Juice
// plate the closing reveals.
struct InfoEditor : SmallEditor {
    InfoEditor()
    {
        OstrandEditorHandles& h = plug->mHandles;
        juicePlate = Add(new IBitmapControlSloFade(plug.get(), 8, 220, Strip(80, 20, 1), 0.26, false), &h.juicePlate);
        screen = Add(new IBitmapOverlayFade(plug.get(), 0, 0, Strip(674, 262, 1), 0.26, {274, 7, 121, 29}),
                     &h.infoScreen);
        version = Add(new CustomTextControlD(plug.get(), {44, 245, 44, 245}, Strip(7, 7, 95)), &h.versionLabel);
        toggle = Add(new IHotspotToggleControl(plug.get(), {482, 8, 550, 42}, kParamOversampleMode), &h.modeToggle);
        Attach();
        plug->mIntroTicks = 0;
        version->SetHidden(true);
        toggle->SetHidden(true);
    }
    void Open()
    {
        surface->PushValueToControl(static_cast<int>(plug->mHandles.infoScreen), 1.0);
        for (int i = 0; i < 6; ++i)
            surface->TickAndRedraw();
    }
    void CloseWithClickAt(int x, int y)
    {
        Press(x, y);
        Release(x, y);
        for (int i = 0; i < 8; ++i)
            Frame();
    }

    IBitmapControlSloFade* juicePlate;
    IBitmapOverlayFade* screen;
    CustomTextControlD* version;
    IHotspotToggleControl* toggle;
};

} // namespace

//------------------------------------------------------------------------
TEST(InfoScreen, OpensInFourFramesShowsItsControlsAndAnyClickClosesIt)
{
    InfoEditor e;
    EXPECT_FALSE(e.screen->HitTest(300, 20));  // closed: takes no clicks
    e.surface->PushValueToControl(static_cast<int>(e.plug->mHandles.infoScreen), 1.0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(e.version->IsHidden());
        e.surface->TickAndRedraw();
    }
    EXPECT_NEAR(e.screen->mBlend.weight, 1.04f, 1e-6);
    e.surface->TickAndRedraw();
    EXPECT_FALSE(e.version->IsHidden());
    EXPECT_FALSE(e.toggle->IsHidden());
    EXPECT_TRUE(e.screen->HitTest(5, 250));  // open: the whole editor

    e.CloseWithClickAt(300, 200);
    EXPECT_DOUBLE_EQ(e.screen->GetValue(), 0.0);
    EXPECT_TRUE(e.version->IsHidden());
    EXPECT_TRUE(e.toggle->IsHidden());
    EXPECT_FALSE(e.screen->HitTest(300, 20));
    EXPECT_FALSE(e.plug->mSettingsChanged);  // nothing was changed while open
}

//------------------------------------------------------------------------
TEST(InfoScreen, AModeChangeCountsAsASettingsChangeOnlyOnceItHasClosed)
{
    InfoEditor e;
    e.Open();
    const double mode = e.plug->GetParam(kParamOversampleMode)->Value();
    e.Press(500, 20);  // the mode toggle
    e.Release(500, 20);
    ASSERT_NE(e.plug->GetParam(kParamOversampleMode)->Value(), mode);
    e.plug->mSettingsChanged = false;

    e.Press(300, 200);
    e.Release(300, 200);
    e.Frame();
    EXPECT_FALSE(e.plug->mSettingsChanged);  // still fading out
    for (int i = 0; i < 8; ++i)
        e.Frame();
    EXPECT_TRUE(e.plug->mSettingsChanged);
    EXPECT_EQ(e.plug->mSnapshotDelay, 20);
    EXPECT_TRUE(e.juicePlate->mFadingOut);  // the Juice readout is revealed

    // Toggled and toggled back: no change to record.
    e.plug->mSettingsChanged = false;
    e.Open();
    e.Press(500, 20);
    e.Release(500, 20);
    e.Press(500, 20);
    e.Release(500, 20);
    e.plug->mSettingsChanged = false;
    e.CloseWithClickAt(300, 200);
    EXPECT_FALSE(e.plug->mSettingsChanged);
}
