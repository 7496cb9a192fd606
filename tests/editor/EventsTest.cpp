// Mouse and key routing: hit and mouse-over search order, capture, drags,
// gesture brackets, double-clicks, keys and the key catcher.
#include "tests/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

struct EventFixture : ::testing::Test {
    EventFixture() : surface(&plug, 100, 100)
    {
        surface.CreateBackBuffer();
        bg = Add("bg", {0, 0, 100, 100});
        low = Add("low", {10, 10, 50, 50}, kTestLevel);
        top = Add("top", {30, 30, 60, 60}, kTestOffset);
        plug.log.clear();
    }
    ProbeControl* Add(const char* name, const IBounds& bounds, int param = -1)
    {
        auto* c = new ProbeControl(&plug.log, name, &plug, bounds, param);
        surface.AddControl(c);
        return c;
    }
    Log Take()
    {
        Log out;
        out.swap(plug.log);
        return out;
    }

    EditorTestPlugin plug;
    IEditorSurfaceHeadless surface;
    ProbeControl* bg = nullptr;
    ProbeControl* low = nullptr;
    ProbeControl* top = nullptr;
    IMouseState mouse;
};

TEST_F(EventFixture, LaterControlsAreOnTopUnlessHiddenOrGreyed)
{
    surface.SurfaceMouseDown(40, 40, mouse);
    surface.SurfaceMouseUp(40, 40, mouse);
    EXPECT_EQ(Take(), (Log{"begin 3", "top down 40,40", "top up 40,40", "end 3"}));

    top->mHidden = true;
    surface.SurfaceMouseDown(40, 40, mouse);
    surface.SurfaceMouseUp(40, 40, mouse);
    EXPECT_EQ(Take(), (Log{"begin 0", "low down 40,40", "low up 40,40", "end 0"}));

    top->mHidden = false;
    top->SetGreyed(true);
    low->SetGreyed(true);
    surface.SurfaceMouseDown(40, 40, mouse);
    EXPECT_EQ(Take(), (Log{"bg down 40,40"}));  // no parameter: no bracket
    surface.SurfaceMouseUp(40, 40, mouse);
    Take();

    // Mouse-over reaches a greyed control only when it asks for it.
    surface.SetHandleMouseOver(true);
    low->mHoverWhenGreyed = true;
    EXPECT_TRUE(surface.SurfaceMouseHover(40, 40, mouse));
    EXPECT_EQ(Take(), (Log{"low hover 40,40"}));
    EXPECT_EQ(surface.HoverIndex(), 1);
}

TEST_F(EventFixture, PressDragReleaseWithGestureBrackets)
{
    surface.SurfaceMouseDown(20, 20, mouse);
    EXPECT_EQ(surface.CaptureIndex(), 1);
    surface.SurfaceMouseDrag(20, 20, mouse);   // same place: nothing
    surface.SurfaceMouseDrag(25, 18, mouse);
    surface.SurfaceMouseDrag(90, 90, mouse);   // outside: still the captured control
    surface.SurfaceMouseUp(90, 90, mouse);
    EXPECT_EQ(Take(), (Log{"begin 0", "low down 20,20", "low drag 25,18 5,-2", "low drag 90,90 65,72",
                           "low up 90,90", "end 0"}));
    EXPECT_EQ(surface.CaptureIndex(), -1);
    surface.SurfaceMouseDrag(91, 91, mouse);   // released: drags go nowhere
    EXPECT_TRUE(Take().empty());
}

TEST_F(EventFixture, EmptySpaceCapturesNothingAndReleaseWithoutCaptureGoesUnderThePointer)
{
    bg->mHidden = true;
    surface.SurfaceMouseDown(80, 5, mouse);
    EXPECT_EQ(surface.CaptureIndex(), -1);
    surface.SurfaceMouseDrag(81, 6, mouse);
    surface.SurfaceMouseUp(82, 7, mouse);
    EXPECT_TRUE(Take().empty());

    // A release with nothing captured goes to the control under the pointer
    // but ends no gesture that was never begun.
    surface.SurfaceMouseUp(20, 20, mouse);
    EXPECT_EQ(Take(), (Log{"low up 20,20"}));

    // A popup menu drops the capture: the release then goes by position, and
    // the gesture the press began is the one that ends.
    surface.SurfaceMouseDown(20, 20, mouse);
    surface.DropMouseCapture();
    surface.SurfaceMouseUp(40, 40, mouse);
    EXPECT_EQ(Take(), (Log{"begin 0", "low down 20,20", "top up 40,40", "end 0"}));

    // A press whose release never arrives is closed by the next press.
    surface.SurfaceMouseDown(20, 20, mouse);
    surface.SurfaceMouseDown(40, 40, mouse);
    surface.SurfaceMouseUp(40, 40, mouse);
    EXPECT_EQ(Take(), (Log{"begin 0", "low down 20,20", "end 0", "begin 3", "top down 40,40", "top up 40,40",
                           "end 3"}));
}

TEST_F(EventFixture, DoubleClickRestoresOrActsAsPress)
{
    low->SetValueFromHost(0.25);
    low->SetValueFromUser(0.75);
    Take();
    plug.sent.clear();
    EXPECT_FALSE(surface.SurfaceMouseDoubleClick(20, 20, mouse));
    EXPECT_EQ(low->GetValue(), 0.25);
    EXPECT_EQ(plug.sent, (std::vector<double>{0.25}));
    EXPECT_EQ(surface.CaptureIndex(), -1);
    // The restored default is one bracketed edit; the release after it ends nothing more.
    surface.SurfaceMouseUp(20, 20, mouse);
    EXPECT_EQ(Take(), (Log{"begin 0", "low dbl 20,20", "gui 0", "end 0", "low up 20,20"}));

    // As a press: captured and bracketed like a press, closed by the release.
    top->mDoubleClickAsPress = true;
    EXPECT_TRUE(surface.SurfaceMouseDoubleClick(40, 40, mouse));
    EXPECT_EQ(surface.CaptureIndex(), 2);
    surface.SurfaceMouseDrag(41, 40, mouse);
    surface.SurfaceMouseUp(41, 40, mouse);
    EXPECT_EQ(Take(), (Log{"begin 3", "top down 40,40", "top drag 41,40 1,0", "top up 41,40", "end 3"}));

    bg->mHidden = true;
    EXPECT_FALSE(surface.SurfaceMouseDoubleClick(95, 95, mouse));
    EXPECT_EQ(surface.CaptureIndex(), -1);
}

TEST_F(EventFixture, EditsOutsideAGestureAreBracketedOnTheirOwn)
{
    // A value the plug-in moves, or a typed value a later tick applies,
    // reaches the host as one complete edit.
    surface.SetParameterFromEditor(kTestLevel, 0.6);
    EXPECT_EQ(Take(), (Log{"begin 0", "gui 0", "end 0"}));
    low->SetValueFromUser(0.2);
    EXPECT_EQ(Take(), (Log{"begin 0", "gui 0", "end 0"}));

    // Inside a press on the same parameter the press's bracket covers it.
    surface.SurfaceMouseDown(20, 20, mouse);
    surface.SetParameterFromEditor(kTestLevel, 0.7);
    surface.SurfaceMouseUp(20, 20, mouse);
    EXPECT_EQ(Take(), (Log{"begin 0", "low down 20,20", "gui 0", "low up 20,20", "end 0"}));
}

TEST_F(EventFixture, HoverAndLeave)
{
    EXPECT_FALSE(surface.SurfaceMouseHover(20, 20, mouse));  // mouse-over is off
    EXPECT_TRUE(Take().empty());

    surface.SetHandleMouseOver(true);
    EXPECT_TRUE(surface.SurfaceMouseHover(20, 20, mouse));
    EXPECT_TRUE(surface.SurfaceMouseHover(21, 20, mouse));
    EXPECT_TRUE(surface.SurfaceMouseHover(40, 40, mouse));
    EXPECT_EQ(Take(), (Log{"low hover 20,20", "low hover 21,20", "top hover 40,40", "low leave"}));
    EXPECT_EQ(surface.HoverIndex(), 2);

    // While something is captured the captured control gets the hover.
    surface.SurfaceMouseDown(20, 20, mouse);
    Take();
    surface.SurfaceMouseHover(40, 40, mouse);
    EXPECT_EQ(Take(), (Log{"low hover 40,40", "top leave"}));
    surface.SurfaceMouseUp(40, 40, mouse);
    Take();

    // Nothing under the pointer: the hover index stays.
    bg->mHidden = true;
    EXPECT_TRUE(surface.SurfaceMouseHover(95, 95, mouse));
    EXPECT_EQ(surface.HoverIndex(), 1);
    surface.SurfaceMouseLeave();
    EXPECT_EQ(Take(), (Log{"bg leave", "low leave", "top leave"}));
    EXPECT_EQ(surface.HoverIndex(), -1);
}

TEST_F(EventFixture, KeysGoToTheControlOrTheKeyCatcher)
{
    EXPECT_TRUE(surface.SurfaceKeyPress(20, 20, kKeyUp));
    low->takesKeys = false;
    EXPECT_FALSE(surface.SurfaceKeyPress(20, 20, kKeyDown));
    EXPECT_EQ(Take(), (Log{"low key 1", "low key 2"}));

    // Over the background, or over nothing, keys need a catcher.
    EXPECT_FALSE(surface.SurfaceKeyPress(90, 90, kKeySpace));
    bg->mHidden = true;
    EXPECT_FALSE(surface.SurfaceKeyPress(90, 90, kKeySpace));
    EXPECT_TRUE(Take().empty());
    surface.SetKeyCatcher(new ProbeControl(&plug.log, "catcher", &plug, {}));
    EXPECT_TRUE(surface.SurfaceKeyPress(90, 90, kKeyA));
    bg->mHidden = false;
    EXPECT_TRUE(surface.SurfaceKeyPress(90, 90, kKeyZ));
    EXPECT_EQ(Take(), (Log{"catcher key 15", "catcher key 40"}));

    // The captured control takes keys wherever the pointer is.
    surface.SurfaceMouseDown(40, 40, mouse);
    Take();
    EXPECT_TRUE(surface.SurfaceKeyPress(90, 90, kKeyDigit0));
    EXPECT_EQ(Take(), (Log{"top key 5"}));
}

TEST_F(EventFixture, ValuesInReachBoundControlsOnly)
{
    auto* twin = Add("twin", {70, 70, 80, 80}, kTestLevel);
    for (int i = 0; i < plug.NParams(); ++i)  // what AttachEditor does
        surface.PushParamToControls(i, plug.GetParam(i)->ToNormalized(), true);
    EXPECT_DOUBLE_EQ(low->mDefaultValue, 0.5);
    EXPECT_DOUBLE_EQ(twin->GetValue(), 0.5);
    EXPECT_DOUBLE_EQ(top->GetValue(), 0.5);  // offset 0 of -72..72

    surface.PushParamToControls(kTestLevel, 7.5, false);  // plain value
    EXPECT_DOUBLE_EQ(low->GetValue(), 0.75);
    EXPECT_DOUBLE_EQ(twin->GetValue(), 0.75);
    surface.PushParamToControls(kTestLevel, 0.1, true);
    EXPECT_DOUBLE_EQ(twin->GetValue(), 0.1);
    bg->mValue = 0.33;
    surface.PushParamToControls(-1, 0.9, true);   // not a parameter
    surface.PushParamToControls(99, 0.9, false);  // no such parameter
    EXPECT_EQ(bg->GetValue(), 0.33);

    surface.PushValueToControl(-1, 0.4);
    surface.PushValueToControl(surface.NControls(), 0.4);
    surface.PushValueToControl(2, 0.4);
    EXPECT_EQ(top->GetValue(), 0.4);
    EXPECT_EQ(surface.GetControl(-1), nullptr);
    EXPECT_EQ(surface.GetControl(surface.NControls()), nullptr);

    plug.sent.clear();
    surface.SetParameterFromEditor(kTestLevel, 0.6);
    EXPECT_EQ(plug.sent, (std::vector<double>{0.6, 0.6}));
    EXPECT_DOUBLE_EQ(plug.GetParam(kTestLevel)->Value(), 6.0);

    surface.MarkAllControlsDirty();
    for (int i = 0; i < surface.NControls(); ++i)
        EXPECT_TRUE(surface.GetControl(i)->IsMarkedDirty());
}

TEST(EditorAttach, AttachMakesTheBackBufferAndSetsEveryControl)
{
    EditorTestPlugin plug;
    auto* surface = new IEditorSurfaceHeadless(&plug, 40, 30, 0);
    EXPECT_EQ(surface->RefreshRate(), 30);
    EXPECT_EQ(surface->GetBackBuffer(), nullptr);
    auto* mode = new ProbeControl(&plug.log, "mode", &plug, {0, 0, 10, 10}, kTestMode);
    surface->AddControl(mode);
    plug.AttachEditor(surface);
    ASSERT_NE(surface->GetBackBuffer(), nullptr);
    EXPECT_EQ(surface->GetBackBuffer()->GetWidth(), 40);
    EXPECT_EQ(plug.EditorSurface(), surface);
    EXPECT_DOUBLE_EQ(mode->GetValue(), 0.5);   // "Medium" of three
    EXPECT_DOUBLE_EQ(mode->mDefaultValue, 0.5);
    EXPECT_EQ(mode->Surface(), surface);
}

TEST_F(EventFixture, ResizeDropsControlsAndCaptureAndTellsThePlugIn)
{
    surface.SurfaceMouseDown(20, 20, mouse);
    Take();
    surface.ResizeEditor(120, 80);
    EXPECT_EQ(surface.NControls(), 0);
    EXPECT_EQ(surface.CaptureIndex(), -1);
    EXPECT_EQ(surface.EditorWidth(), 120);
    ASSERT_NE(surface.GetBackBuffer(), nullptr);
    EXPECT_EQ(surface.GetBackBuffer()->GetWidth(), 120);
    // The gesture open on a destroyed control is ended for the host.
    EXPECT_EQ(Take(), (Log{"end 0", "resize 120x80"}));
    surface.SurfaceMouseUp(20, 20, mouse);  // nothing left to receive it
    EXPECT_TRUE(Take().empty());

    surface.ResizeEditor(-3, -1);  // no negative sizes reach the plug-in or the bitmap
    EXPECT_EQ(surface.EditorWidth(), 0);
    EXPECT_EQ(surface.EditorHeight(), 0);
    EXPECT_EQ(Take(), (Log{"resize 0x0"}));
}

} // namespace
