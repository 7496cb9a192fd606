// Bounds arithmetic, the IControl value and flag rules, and the stock
// controls' own behaviour.
#include "editor/IBitmapControl.h"
#include "editor/IHotspotToggleControl.h"
#include "editor/ISwitchControl.h"
#include "editor/ITextControl.h"
#include "tests/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(EditorBounds, TouchUnionAndIntersection)
{
    const IBounds a{0, 0, 10, 10};
    // Shared right or bottom edges count as touching, left or top do not.
    EXPECT_TRUE(a.Touches(IBounds{10, 0, 20, 10}));
    EXPECT_TRUE(a.Touches(IBounds{0, 10, 10, 20}));
    EXPECT_FALSE((IBounds{10, 0, 20, 10}).Touches(a));
    EXPECT_FALSE(a.Touches(IBounds{11, 0, 20, 10}));
    EXPECT_FALSE(a.Touches(IBounds{}));
    EXPECT_FALSE((IBounds{}).Touches(a));

    EXPECT_EQ(a.Union(IBounds{5, -3, 12, 4}), (IBounds{0, -3, 12, 10}));
    EXPECT_EQ(a.Union(IBounds{}), a);
    EXPECT_EQ((IBounds{}).Union(a), a);

    EXPECT_EQ(a.Intersection(IBounds{5, 5, 20, 20}), (IBounds{5, 5, 10, 10}));
    EXPECT_EQ(a.Intersection(IBounds{20, 20, 30, 30}), (IBounds{}));
}

TEST(EditorControl, FirstHostValueBecomesDefaultAndDoubleClickRestoresIt)
{
    EditorTestPlugin plug;
    ProbeControl c(&plug.log, "c", &plug, {0, 0, 10, 10}, kTestLevel);
    const IMouseState mouse;

    // No default yet: a double-click does nothing and sends nothing.
    c.mValue = 0.9;
    c.IControl::MouseDoubleClick(1, 1, mouse);
    EXPECT_EQ(c.GetValue(), 0.9);
    EXPECT_TRUE(plug.sent.empty());

    c.mDefaultValue = -1.0;
    c.SetValueFromHost(0.3);
    EXPECT_EQ(c.mDefaultValue, 0.3);
    c.SetValueFromHost(0.7);
    EXPECT_EQ(c.mDefaultValue, 0.3);  // only the first value
    EXPECT_TRUE(c.IsMarkedDirty());
    EXPECT_TRUE(c.IsRedrawRequested());
    EXPECT_TRUE(plug.sent.empty());   // host values are never sent back

    c.IControl::MouseDoubleClick(1, 1, mouse);
    EXPECT_EQ(c.GetValue(), 0.3);
    ASSERT_EQ(plug.sent.size(), 1u);
    EXPECT_EQ(plug.sent[0], 0.3);
    EXPECT_DOUBLE_EQ(plug.GetParam(kTestLevel)->Value(), 3.0);
}

TEST(EditorControl, NaNFromTheHostIsNeverStoredOrTakenAsDefault)
{
    EditorTestPlugin plug;
    ProbeControl c(&plug.log, "c", &plug, {0, 0, 10, 10}, kTestLevel);
    c.MarkClean();
    c.SetValueFromHost(kNaN);
    EXPECT_EQ(c.GetValue(), 0.0);
    EXPECT_LT(c.mDefaultValue, 0.0);
    EXPECT_FALSE(c.IsMarkedDirty());
    c.SetValueFromHost(0.25);
    EXPECT_EQ(c.mDefaultValue, 0.25);
    c.SetValueFromUser(kNaN);
    EXPECT_EQ(c.GetValue(), 0.25);
    EXPECT_TRUE(plug.sent.empty());
}

TEST(EditorControl, MarkDirtyClampsAndPushesOnlyWhenBound)
{
    EditorTestPlugin plug;
    ProbeControl bound(&plug.log, "b", &plug, {0, 0, 10, 10}, kTestLevel);
    bound.mValue = 1.7;
    bound.MarkDirty(true);
    EXPECT_EQ(bound.GetValue(), 1.0);
    bound.mValue = kNaN;
    bound.MarkDirty(true);
    EXPECT_EQ(bound.GetValue(), 0.0);
    bound.mClampLo = 0.2;
    bound.mClampHi = 0.6;
    bound.mValue = 0.1;
    bound.MarkDirty(false);
    EXPECT_EQ(bound.GetValue(), 0.2);
    EXPECT_EQ(plug.sent, (std::vector<double>{1.0, 0.0}));

    ProbeControl unbound(&plug.log, "u", &plug, {0, 0, 10, 10});
    ProbeControl noPlug(&plug.log, "n", nullptr, {0, 0, 10, 10}, kTestLevel);
    unbound.SetValueFromUser(0.5);
    noPlug.SetValueFromUser(0.5);
    EXPECT_EQ(plug.sent.size(), 2u);
}

TEST(EditorControl, CleanDirtyHiddenAndGreyed)
{
    EditorTestPlugin plug;
    ProbeControl c(&plug.log, "c", &plug, {0, 0, 10, 10});
    EXPECT_TRUE(c.IsMarkedDirty());  // drawn on the first tick
    c.MarkClean();
    EXPECT_FALSE(c.IsMarkedDirty());

    c.SetHidden(true);
    EXPECT_TRUE(c.IsHidden());
    EXPECT_TRUE(c.IsMarkedDirty());
    c.MarkClean();  // the redraw request keeps it dirty one tick longer
    EXPECT_TRUE(c.IsMarkedDirty());
    c.MarkClean();
    EXPECT_FALSE(c.IsMarkedDirty());

    c.mBlend.weight = 0.6f;
    c.SetGreyed(true);
    EXPECT_EQ(c.mBlend.weight, 0.25f);
    EXPECT_EQ(c.mBlend.method, kBlendSourceAlpha);
    c.SetGreyed(false);
    EXPECT_EQ(c.mBlend.weight, 1.0f);
}

TEST(EditorControl, HitTestEdgesAndEmptyTarget)
{
    ProbeControl c(nullptr, "c", nullptr, {10, 20, 30, 40});
    EXPECT_TRUE(c.HitTest(10, 20));
    EXPECT_TRUE(c.HitTest(29, 39));
    EXPECT_FALSE(c.HitTest(30, 25));
    EXPECT_FALSE(c.HitTest(15, 40));
    c.mTargetBounds = {};
    EXPECT_FALSE(c.HitTest(0, 0));
}

TEST(EditorStockControls, BitmapFrameSelection)
{
    EXPECT_EQ(IBitmapControl::FrameForValue(5, 0.0), 1);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, 0.125), 2);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, 0.12), 1);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, 0.5), 3);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, 1.0), 5);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, 7.0), 5);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, -3.0), 1);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, 1e300), 5);
    EXPECT_EQ(IBitmapControl::FrameForValue(5, kNaN), 1);
    EXPECT_EQ(IBitmapControl::FrameForValue(1, 0.9), 1);
    EXPECT_EQ(IBitmapControl::FrameForValue(0, 0.9), 1);

    IBitmapStrip strip;
    strip.width = 20;
    strip.height = 120;
    strip.frames = 4;
    IBitmapControl bitmap(nullptr, 5, 7, -1, strip);
    EXPECT_EQ(bitmap.GetBounds(), (IBounds{5, 7, 25, 37}));
    EXPECT_EQ(bitmap.GetTargetBounds(), bitmap.GetBounds());
}

TEST(EditorStockControls, HotspotToggleSwitchAndText)
{
    EditorTestPlugin plug;
    IHotspotToggleControl hotspot(&plug, {0, 0, 10, 10}, kTestSwitch);
    EXPECT_TRUE(hotspot.mPromptDisabled);
    EXPECT_EQ(hotspot.mBlend.method, kBlendCopy);
    hotspot.mValue = 0.5;
    hotspot.MouseDown(1, 1, {});
    EXPECT_EQ(hotspot.GetValue(), 0.0);
    hotspot.mValue = 0.49;
    hotspot.MouseDown(1, 1, {});
    EXPECT_EQ(hotspot.GetValue(), 1.0);
    EXPECT_EQ(plug.sent, (std::vector<double>{0.0, 1.0}));
    EXPECT_EQ(plug.GetParam(kTestSwitch)->Value(), 1.0);

    // A switch's double-click is another press.
    struct Switch : ISwitchControl {
        Switch() : ISwitchControl(nullptr, 0, 0, -1, IBitmapStrip{}) {}
        void MouseDown(int, int, const IMouseState&) override { ++presses; }
        int presses = 0;
    } button;
    button.MouseDoubleClick(0, 0, {});
    EXPECT_EQ(button.presses, 1);

    IEditorSurfaceHeadless surface(nullptr, 20, 20);
    ITextControl text(nullptr, {0, 0, 20, 20});
    EXPECT_TRUE(text.Paint(&surface));  // empty: draws nothing, succeeds
    text.MarkClean();
    text.SetText("");
    EXPECT_FALSE(text.IsMarkedDirty());
    text.SetText("abc");
    EXPECT_TRUE(text.IsMarkedDirty());
    EXPECT_STREQ(text.GetText(), "abc");
    text.MarkClean();
    text.SetText("abc");
    EXPECT_FALSE(text.IsMarkedDirty());
}

TEST(EditorMenuModel, AddInsertNumberAndResolveIds)
{
    IMenuModel menu(kMenuPrefixTwoDigits);
    menu.AddItem("b");
    menu.AddItem("a", 0, 0);
    menu.AddItem("c", 0, 99);   // clamped to the end
    menu.AddItem("z", 0, -5);   // clamped to the front
    ASSERT_EQ(menu.NItems(), 4);
    EXPECT_STREQ(menu.GetItem(0)->Text(), "z");
    EXPECT_STREQ(menu.GetItem(1)->Text(), "a");
    EXPECT_STREQ(menu.GetItem(3)->Text(), "c");
    EXPECT_EQ(menu.GetItem(4), nullptr);
    EXPECT_EQ(menu.DisplayText(1), "02: a");
    menu.SetPrefixStyle(kMenuPrefixThreeDigits);
    EXPECT_EQ(menu.DisplayText(3), "004: c");
    menu.SetPrefixStyle(kMenuPrefixOneDigit);
    EXPECT_EQ(menu.DisplayText(0), "1: z");
    menu.AddSeparator();
    EXPECT_EQ(menu.DisplayText(4), "");

    // Ids: the top menu's seven items are 0..6, then the first submenu's
    // two items 7..8, then its own submenu 9, then the second submenu 10.
    auto* sub1 = new IMenuModel;
    sub1->AddItem("s1a");
    auto* deep = new IMenuModel;
    deep->AddItem("deep");
    sub1->AddItem("s1b", 0, -1, deep);
    auto* sub2 = new IMenuModel;
    sub2->AddItem("s2a");
    menu.AddItem("more", 0, -1, sub1);
    menu.AddItem("other", 0, -1, sub2);
    EXPECT_EQ(menu.CountAllItems(), 7 + 4);

    IMenuModel* found = nullptr;
    int index = -1;
    ASSERT_TRUE(menu.FindById(8, &found, &index));
    EXPECT_EQ(found, sub1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(menu.ChooseById(9), deep);
    EXPECT_EQ(deep->ChosenIndex(), 0);
    EXPECT_EQ(menu.ChooseById(10), sub2);
    EXPECT_EQ(menu.ChooseById(3), &menu);
    EXPECT_EQ(menu.ChosenIndex(), 3);
    EXPECT_EQ(menu.ChooseById(11), nullptr);
    EXPECT_EQ(menu.ChooseById(-1), nullptr);
}

} // namespace
