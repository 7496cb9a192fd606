// The plug-in's buttons and switches driven by scripted gestures: the nudge
// buttons on and off the even grid, the memory buttons and their blinks,
// the undo and redo buttons, the round switch hit area, the widened logo
// button and the screw.
#include "tests/ui/SmallEditor.h"
#include "ui/controls/ControlLinks.h"
#include "ui/controls/IBitmapControlBouncebackFade.h"
#include "ui/controls/IBitmapControlSloFade.h"
#include "ui/controls/IBitmapOverlayFade.h"
#include "ui/controls/IKnobMultiControlHalfPrompt.h"
#include "ui/controls/IKnobMultiControlScrew.h"
#include "ui/controls/ISwitchControlB.h"
#include "ui/controls/InfoContactControl.h"
#include "ui/controls/MemoryContactControl.h"
#include "ui/controls/NudgeContactControl.h"
#include "ui/controls/UndoContactControl.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ui_test;

//------------------------------------------------------------------------
TEST(NudgeButtons, StepByOneOrOntoTheEvenGridAndThenByTwo)
{
    struct Case {
        double from;
        bool down;
        bool even;
        double to;
    };
    const Case cases[] = {
        {3, true, false, 2},  {3, false, false, 4},  {-3, true, false, -4}, {-3, false, false, -2},
        {4, true, true, 2},   {4, false, true, 6},   {3, true, true, 2},    {3, false, true, 6},
        {-3, true, true, -6}, {-3, false, true, -2}, {1, true, true, 0},    {-1, false, true, 0},
        {0, true, true, -2},  {0, false, true, 2},   {71, false, true, 74}, {-72, true, false, -73},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NudgeContactControl::NudgedDelay(c.from, c.down, c.even), c.to)
            << c.from << (c.down ? " down" : " up") << (c.even ? " even" : "");
}

//------------------------------------------------------------------------
TEST(NudgeButtons, MoveTheFaderWithinTheRangeAsOneHostGesture)
{
    SmallEditor e;
    ITextStyle style;
    auto* fader = e.Add(new IKnobMultiControlHalfPrompt(e.plug.get(), 151, 165, kParamDelay, e.Strip(170, 32, 201),
                                                        style, 1, 11.0));
    e.Add(new NudgeContactControl(e.plug.get(), 132, 168, e.Strip(34, 25, 2), true));
    auto* up = e.Add(new NudgeContactControl(e.plug.get(), 303, 168, e.Strip(34, 25, 2), false));
    e.Attach();
    e.plug->mEvenDelayOnly = true;

    e.Press(310, 175);  // up: 0 -> 2
    EXPECT_DOUBLE_EQ(up->GetValue(), 1.0);
    e.Release(310, 175);
    EXPECT_DOUBLE_EQ(up->GetValue(), 0.0);
    EXPECT_EQ(e.Plain(kParamDelay), 2.0);
    EXPECT_DOUBLE_EQ(fader->GetValue(), 74.0 / 144.0);
    EXPECT_TRUE(e.plug->mSettingsChanged);
    EXPECT_EQ(e.plug->begins, std::vector<int>{kParamDelay});
    EXPECT_EQ(e.plug->ends, std::vector<int>{kParamDelay});

    e.plug->GetParam(kParamDelay)->SetPlain(71);
    e.Press(310, 175);  // 71 -> 74, held at the range's end
    e.Release(310, 175);
    EXPECT_EQ(e.Plain(kParamDelay), 72.0);
    EXPECT_DOUBLE_EQ(fader->GetValue(), 1.0);

    e.plug->GetParam(kParamDelay)->SetPlain(-3);
    e.Press(140, 175);  // down: -3 -> -6
    e.Release(140, 175);
    EXPECT_EQ(e.Plain(kParamDelay), -6.0);
}

namespace {

// Two memory slots with their lights and blinks, and the undo and redo
// buttons with theirs, wired to the plug-in's handles; an image bound to the
// Angle shows where recalls and undo steps send it.
struct MemoryEditor : SmallEditor {
    MemoryEditor()
    {
        OstrandEditorHandles& h = plug->mHandles;
        Add(new IBitmapControl(plug.get(), 400, 10, kParamAngle, Strip(10, 10, 1)));
        const int xs[2] = {123, 152};
        for (int slot = 0; slot < 2; ++slot) {
            const IBitmapStrip light = Strip(29, 27, 2);
            lights[slot] = Add(new IBitmapControlSloFade(plug.get(), xs[slot], 222, light, 0.15, false),
                               &h.memoryLight[slot]);
            blinks[slot] = Add(new IBitmapControlBouncebackFade(plug.get(), xs[slot], 222, light, 0.34, false),
                               &h.memoryBlink[slot]);
        }
        for (int slot = 0; slot < 2; ++slot) {
            buttons[slot] = Add(new MemoryContactControl(plug.get(), xs[slot], 222, Strip(29, 27, 4),
                                                         h.memoryBlink[slot]),
                                &h.memoryButton[slot]);
            h.memoryButtons[slot] = buttons[slot];
        }
        undoBlink = Add(new IBitmapControlBouncebackFade(plug.get(), 289, 222, Strip(29, 27, 2), 0.34, false),
                        &h.undoBlink);
        undo = Add(new UndoContactControl(plug.get(), 289, 222, Strip(29, 27, 3), false), &h.undoButton);
        h.undoControl = undo;
        redo = Add(new UndoContactControl(plug.get(), 318, 222, Strip(29, 27, 3), true), &h.redoButton);
        h.redoControl = redo;
        Attach();
        plug->mIntroTicks = 0;
    }
    // Every drawn frame in which the blink's opacity comes back up to full.
    int CountBlinks(IBitmapControlBouncebackFade* blink)
    {
        int rises = 0;
        float last = blink->mBlend.weight;
        for (int i = 0; i < 60; ++i) {
            Frame();
            if (blink->mBlend.weight >= 1.0f && last < 1.0f)
                ++rises;
            last = blink->mBlend.weight;
        }
        return rises;
    }

    IBitmapControlSloFade* lights[2];
    IBitmapControlBouncebackFade* blinks[2];
    MemoryContactControl* buttons[2];
    IBitmapControlBouncebackFade* undoBlink;
    UndoContactControl* undo;
    UndoContactControl* redo;
};

} // namespace

//------------------------------------------------------------------------
TEST(MemoryButtons, StoreRecallAndClearWithTheirFramesAndBlinks)
{
    MemoryEditor e;
    e.CountBlinks(e.blinks[1]);  // let the blinks settle hidden

    // A click on an empty slot only shows the recall frame.
    e.Press(160, 230);
    EXPECT_DOUBLE_EQ(e.buttons[1]->GetValue(), MemoryContactControl::kRecallValue);
    EXPECT_EQ(IBitmapControl::FrameForValue(4, e.buttons[1]->GetValue()), 2);
    e.Release(160, 230);
    EXPECT_DOUBLE_EQ(e.buttons[1]->GetValue(), 0.0);
    EXPECT_EQ(e.CountBlinks(e.blinks[1]), 0);

    // A right click stores the settings, lights the slot and blinks twice.
    e.plug->GetParam(kParamAngle)->SetPlain(45.0);
    e.plug->mSettingsChanged = false;
    e.Press(160, 230, kRight);
    EXPECT_EQ(IBitmapControl::FrameForValue(4, e.buttons[1]->GetValue()), 3);
    EXPECT_TRUE(e.plug->mMemorySlotFull[1]);
    EXPECT_FALSE(e.plug->mMemorySlotFull[0]);
    EXPECT_FALSE(e.buttons[1]->mEmpty);
    EXPECT_FALSE(e.lights[1]->IsHidden());
    e.Release(160, 230, kRight);
    EXPECT_FALSE(e.plug->mSettingsChanged);  // a store is no edit
    EXPECT_EQ(e.CountBlinks(e.blinks[1]), 2);

    // A click recalls it (one blink).
    e.plug->GetParam(kParamAngle)->SetPlain(-100.0);
    e.Press(160, 230);
    EXPECT_DOUBLE_EQ(e.Plain(kParamAngle), 45.0);
    e.Release(160, 230);
    EXPECT_TRUE(e.plug->mSettingsChanged);
    EXPECT_EQ(e.CountBlinks(e.blinks[1]), 1);

    // Ctrl and Alt clicks store too; a Shift click clears with three blinks.
    e.Press(130, 230, kCtrlLeft);
    e.Release(130, 230, kCtrlLeft);
    EXPECT_TRUE(e.plug->mMemorySlotFull[0]);
    e.CountBlinks(e.blinks[0]);
    e.Press(160, 230, kShiftLeft);
    EXPECT_EQ(IBitmapControl::FrameForValue(4, e.buttons[1]->GetValue()), 4);
    e.Release(160, 230, kShiftLeft);
    EXPECT_FALSE(e.plug->mMemorySlotFull[1]);
    EXPECT_TRUE(e.buttons[1]->mEmpty);
    EXPECT_EQ(e.CountBlinks(e.blinks[1]), 3);
    EXPECT_TRUE(e.lights[1]->IsHidden());

    // Clearing an empty slot plays no blink.
    e.Press(160, 230, kShiftLeft);
    e.Release(160, 230, kShiftLeft);
    EXPECT_EQ(e.CountBlinks(e.blinks[1]), 0);
}

//------------------------------------------------------------------------
TEST(UndoButtons, BlinkOnlyWhileAStepIsAvailableAndStepTheHistory)
{
    MemoryEditor e;
    e.CountBlinks(e.undoBlink);
    e.plug->mUndoHistory = {OstrandSnapshot{}, OstrandSnapshot{}};
    e.plug->mUndoHistory[0][kParamAngle] = 0.25;
    e.plug->mUndoHistory[1][kParamAngle] = 0.75;
    e.plug->mUndoPosition = 1;

    // Unavailable: the history is still asked, but no blink plays.
    e.Press(300, 230);
    EXPECT_DOUBLE_EQ(e.undo->GetValue(), 0.5);
    e.Release(300, 230);
    EXPECT_EQ(e.CountBlinks(e.undoBlink), 0);
    EXPECT_EQ(e.plug->mUndoPosition, 0);
    EXPECT_DOUBLE_EQ(e.plug->GetParam(kParamAngle)->ToNormalized(), 0.25);
    EXPECT_FALSE(e.redo->mUnavailable);

    e.Press(325, 230);  // redo
    e.Release(325, 230);
    EXPECT_EQ(e.plug->mUndoPosition, 1);
    EXPECT_DOUBLE_EQ(e.plug->GetParam(kParamAngle)->ToNormalized(), 0.75);
    EXPECT_FALSE(e.undo->mUnavailable);

    e.Press(300, 230);  // now available: one blink
    EXPECT_TRUE(e.plug->mUserInteracting);
    e.Release(300, 230);
    EXPECT_DOUBLE_EQ(e.undo->GetValue(), 0.0);
    EXPECT_EQ(e.CountBlinks(e.undoBlink), 1);

    // A double-click acts as one press: the second press does nothing.
    e.Press(325, 230);  // redo
    e.Release(325, 230);
    ASSERT_EQ(e.plug->mUndoPosition, 1);
    e.Press(300, 230);
    e.Release(300, 230);
    e.DoubleClick(300, 230);
    e.Release(300, 230);
    EXPECT_EQ(e.plug->mUndoPosition, 0);
    EXPECT_DOUBLE_EQ(e.plug->GetParam(kParamAngle)->ToNormalized(), 0.25);
}

//------------------------------------------------------------------------
TEST(RoundSwitch, HitAreaIsACircleThirteenPixelsBeyondTheSwitch)
{
    SmallEditor e;
    auto* sw = e.Add(new ISwitchControlB(e.plug.get(), 387, 70, kParamInvertEnvelope, e.Strip(23, 23, 2), -1, -1,
                                         false, false));
    e.Attach();
    // Centre (398.5, 81.5), radius 24.5.
    EXPECT_TRUE(sw->HitTest(422, 81));   // 23.5 and 0.5 from the centre
    EXPECT_FALSE(sw->HitTest(423, 81));  // 24.5 and 0.5: just beyond
    EXPECT_TRUE(sw->HitTest(375, 82));
    EXPECT_FALSE(sw->HitTest(374, 82));
    EXPECT_TRUE(sw->HitTest(415, 98));   // 16.5 both ways, outside the rectangle
    EXPECT_FALSE(sw->HitTest(416, 99));
    EXPECT_FALSE(sw->HitTest(377, 60));

    // Clicks toggle it on and off, each one settings change.
    const double before = sw->GetValue();
    e.Press(420, 81);
    e.Release(420, 81);
    EXPECT_DOUBLE_EQ(sw->GetValue(), before == 0.0 ? 1.0 : 0.0);
    EXPECT_TRUE(e.plug->mSettingsChanged);
    e.DoubleClick(420, 81);  // the second press of a double-click toggles again
    e.Release(420, 81);
    EXPECT_DOUBLE_EQ(sw->GetValue(), before);
}

//------------------------------------------------------------------------
TEST(InfoButton, TakesClicksAcrossTwiceTheLogosWidthAndOpensTheScreen)
{
    SmallEditor e;
    auto* info = e.Add(new InfoContactControl(e.plug.get(), 91, 4, e.Strip(139, 38, 2)), &e.plug->mHandles.infoButton);
    auto* screen = e.Add(new IBitmapOverlayFade(e.plug.get(), 0, 0, e.Strip(674, 262, 1), 0.26, {274, 7, 121, 29}),
                         &e.plug->mHandles.infoScreen);
    e.Attach();
    EXPECT_TRUE(info->HitTest(91 + 139 + 100, 20));
    EXPECT_TRUE(info->HitTest(91 + 278 - 1, 41));
    EXPECT_FALSE(info->HitTest(91 + 278, 20));
    EXPECT_FALSE(info->HitTest(90, 20));
    EXPECT_FALSE(info->HitTest(100, 42));

    e.Press(300, 20);  // on the widened part
    EXPECT_DOUBLE_EQ(info->GetValue(), 1.0);
    EXPECT_DOUBLE_EQ(screen->GetValue(), 1.0);
    e.Release(300, 20);
    EXPECT_DOUBLE_EQ(info->GetValue(), 0.0);
}

//------------------------------------------------------------------------
TEST(Screw, DownOpensTheGuideOrItsFallbackUpOpensTheScreenAndItSpringsBack)
{
    SmallEditor e;
    OstrandEditorHandles& h = e.plug->mHandles;
    e.Add(new IBitmapControlSloFade(e.plug.get(), 494, 131, e.Strip(35, 35, 1), 0.15, false), &h.logoPlate);
    auto* screw = e.Add(new IKnobMultiControlScrew(e.plug.get(), 493, 83, -1, e.Strip(38, 42, 201), "guide", "home",
                                                   "Tarvo", 0, 6.0),
                        &h.screw);
    auto* screen = e.Add(new IBitmapOverlayFade(e.plug.get(), 0, 0, e.Strip(674, 262, 1), 0.26, {274, 7, 121, 29}),
                         &h.infoScreen);
    e.Attach();
    e.surface->PushValueToControl(static_cast<int>(h.screw), 0.5);

    e.Press(510, 100);
    e.DragTo(510, 100 + 42 * 6);  // fully down
    EXPECT_DOUBLE_EQ(screw->GetValue(), 0.0);
    EXPECT_EQ(e.plug->mLogoHoverState, 1);
    e.surface->SetWebAnswer(false);
    e.Release(510, 352);
    ASSERT_EQ(e.surface->webRequests.size(), 2u);
    EXPECT_EQ(e.surface->webRequests[0].url, "guide");
    EXPECT_EQ(e.surface->webRequests[1].url, "home");
    EXPECT_EQ(e.surface->webRequests[1].caption, "Tarvo");
    EXPECT_DOUBLE_EQ(screw->GetValue(), 0.5);
    EXPECT_EQ(e.plug->mLogoHoverState, 2);

    e.Press(510, 100);
    e.DragTo(510, 100 - 42 * 6);  // fully up: the screen opens at once
    EXPECT_DOUBLE_EQ(screen->GetValue(), 1.0);
    e.DragTo(510, 300);  // and holds the screw while open
    EXPECT_DOUBLE_EQ(screw->GetValue(), 1.0);
    e.Release(510, 300);
    EXPECT_DOUBLE_EQ(screw->GetValue(), 0.5);
    EXPECT_EQ(e.surface->webRequests.size(), 2u);
}

//------------------------------------------------------------------------
TEST(PartnerHandles, OnlyHandlesOfExistingControlsAddressAnything)
{
    SmallEditor e;
    auto* info = e.Add(new InfoContactControl(e.plug.get(), 91, 4, e.Strip(139, 38, 2)));
    e.Attach();
    EXPECT_EQ(PartnerControl(*info, 0.0), info);
    EXPECT_EQ(PartnerControl(*info, 0.9), info);  // truncated
    for (double handle : {-1.0, 1.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()})
        EXPECT_EQ(PartnerControl(*info, handle), nullptr) << handle;

    // A button whose partners were never attached does its own part only.
    e.plug->mHandles.infoScreen = 1e300;
    e.Press(100, 20);
    EXPECT_DOUBLE_EQ(info->GetValue(), 1.0);
    e.Release(100, 20);
}
