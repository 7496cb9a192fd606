// Mouse and keys from the X server to the controls: press, drag with
// capture, release, double-click by time and distance, hover and leave,
// modifiers including Alt, the key codes, and keys left to the host.
#include "X11TestHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

constexpr int kInX = kRecBounds.left + 10;
constexpr int kInY = kRecBounds.top + 10;

class X11Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(display.Ok());
        display.MoveTo(kEditorWidth + 250, kEditorHeight + 80);  // away from the editor
        editor = std::make_unique<OpenEditor>(display);
        ASSERT_EQ(editor->attachResult, Steinberg::kResultOk);
        editor->Run();
        log().events.clear();
    }
    ControlLog& log() { return editor->plug->recLog; }

    TestDisplay display;
    std::unique_ptr<OpenEditor> editor;
};

TEST_F(X11Input, PressDragBeyondTheWindowAndReleaseReachTheCapturingControl)
{
    display.MoveTo(kInX, kInY);
    display.Press(1);
    editor->Run();
    display.MoveTo(kInX + 10, kInY + 5);
    editor->Run();
    // Far outside the editor: the capture keeps the drag with the control.
    display.MoveTo(kEditorWidth + 150, kInY + 5);
    editor->Run();
    display.Release(1);
    editor->Run();
    EXPECT_EQ(log().Count("down " + std::to_string(kInX) + "," + std::to_string(kInY)), 1);
    EXPECT_EQ(log().Count("drag"), 2);
    EXPECT_EQ(log().dragDx, kEditorWidth + 150 - kInX);
    EXPECT_EQ(log().dragDy, 5);
    EXPECT_EQ(log().Count("up " + std::to_string(kEditorWidth + 150)), 1);
    EXPECT_FALSE(log().lastMouse.left);  // released
    // The press and release bracket the gesture for the host.
    EXPECT_EQ(editor->plug->gestures, (std::vector<std::string>{"begin 0", "end 0"}));
    // The drag moved the parameter through the control.
    EXPECT_GT(editor->plug->GetParam(kLevel)->Value(), 0.25);
}

TEST_F(X11Input, TwoQuickClicksInPlaceMakeADoubleClickButFarOrLateOnesDoNot)
{
    display.Click(kInX, kInY);
    display.Click(kInX + 1, kInY + 1);
    editor->Run();
    EXPECT_EQ(log().Count("down"), 1);
    EXPECT_EQ(log().Count("dbl"), 1);
    EXPECT_EQ(log().Count("up"), 2);

    log().events.clear();
    display.Click(kInX, kInY);
    display.Click(kInX + 20, kInY);  // too far from the first
    editor->Run();
    EXPECT_EQ(log().Count("down"), 2);
    EXPECT_EQ(log().Count("dbl"), 0);

    log().events.clear();
    display.Click(kInX, kInY);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // too late
    display.Click(kInX, kInY);
    editor->Run();
    EXPECT_EQ(log().Count("down"), 2);
    EXPECT_EQ(log().Count("dbl"), 0);
}

TEST_F(X11Input, RightAndMiddleButtonsAndModifiersIncludingAltArrive)
{
    display.MoveTo(kInX, kInY);
    display.KeyDown(0xffe1);  // Shift_L
    display.KeyDown(0xffe3);  // Control_L
    display.KeyDown(0xffe9);  // Alt_L
    display.Press(3);
    editor->Run();
    IMouseState m = log().lastMouse;
    EXPECT_TRUE(m.right);
    EXPECT_FALSE(m.left);
    EXPECT_TRUE(m.shift);
    EXPECT_TRUE(m.control);
    EXPECT_TRUE(m.alt);
    display.Release(3);
    display.KeyUp(0xffe9);
    display.KeyUp(0xffe3);
    display.KeyUp(0xffe1);
    editor->Run();
    EXPECT_EQ(log().Count("up"), 1);
    EXPECT_FALSE(log().lastMouse.right);
    EXPECT_TRUE(log().lastMouse.alt);  // still held at the release
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    display.Click(kInX, kInY);
    editor->Run();
    EXPECT_FALSE(log().lastMouse.alt);
    EXPECT_FALSE(log().lastMouse.shift);
    EXPECT_FALSE(log().lastMouse.control);

    // The middle button presses, but its release is not delivered.
    log().events.clear();
    display.Click(kInX, kInY, 2);
    editor->Run();
    EXPECT_EQ(log().Count("down"), 1);
    EXPECT_EQ(log().Count("up"), 0);
    // The wheel is not the editor's.
    display.Click(kInX, kInY, 4);
    editor->Run();
    EXPECT_EQ(log().Count("down"), 1);
}

TEST_F(X11Input, HoverOverTheControlThenLeavingTheWindow)
{
    display.MoveTo(kInX, kInY);
    editor->Run();
    display.MoveTo(kInX + 3, kInY);
    editor->Run();
    EXPECT_EQ(log().Count("hover"), 2);
    EXPECT_EQ(log().Count("leave"), 0);
    display.MoveTo(kEditorWidth + 100, kInY);  // over the host's window
    editor->Run();
    EXPECT_EQ(log().Count("leave"), 1);
}

TEST_F(X11Input, KeysMapToEditorCodesAndUnwantedOnesGoToTheHost)
{
    // A click gives the editor the keyboard focus.
    display.Click(kInX, kInY);
    editor->Run();
    display.CountKeyPressesOn(editor->parent);  // drop older events
    display.MoveTo(kInX, kInY);
    editor->Run();
    log().events.clear();
    display.Tap(' ');
    display.Tap(0xff52);  // Up
    display.Tap('7');
    display.Tap('p');
    display.Tap(0xffbe);  // F1: the code of 'P', as on the other platform
    editor->Run();
    EXPECT_EQ(log().events, (std::vector<std::string>{"key 0", "key 1", "key 12", "key 30", "key 30"}));

    // Over the background nobody takes keys: they go on to the host's
    // top-level window.
    log().events.clear();
    display.MoveTo(5, kEditorHeight - 5);
    display.Tap('q');
    display.Tap(0xff1b);  // Escape has no editor code at all
    editor->Run();
    display.Sync();
    EXPECT_EQ(log().Count("key"), 0);
    EXPECT_EQ(display.CountKeyPressesOn(editor->parent), 2);
}

TEST_F(X11Input, UnwantedKeysGoToTheManagedClientWindowNotTheFrameAroundIt)
{
    // What a window manager makes of the host: its frame, the host's client
    // window in it (marked with WM_STATE), and the host's embedding window.
    xcb_connection_t* c = display.C();
    xcb_window_t frame = display.MakeParent(kEditorWidth + 60, kEditorHeight + 60);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto child = [&](xcb_window_t parent, uint32_t events) {
        xcb_window_t w = xcb_generate_id(c);
        uint32_t values[] = {events};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, parent, 0, 0, kEditorWidth + 40, kEditorHeight + 40, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, values);
        xcb_map_window(c, w);
        return w;
    };
    xcb_window_t client = child(frame, XCB_EVENT_MASK_KEY_PRESS);
    xcb_window_t embed = child(client, 0);
    auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 8, "WM_STATE"), nullptr);
    ASSERT_NE(atom, nullptr);
    const uint32_t state[2] = {1, 0};  // normal, no icon
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, client, atom->atom, atom->atom, 32, 2, state);
    std::free(atom);
    display.Sync();

    editor->view->removed();
    ASSERT_EQ(editor->view->attached(reinterpret_cast<void*>(uintptr_t{embed}), "X11EmbedWindowID"),
              Steinberg::kResultOk);
    editor->Run();
    display.Click(5, kEditorHeight - 5);  // the background: focus, and no key takers
    editor->Run();
    display.CountKeyPressesOn(client);
    display.Tap('q');
    editor->Run();
    display.Sync();
    // Sent to the frame instead, the key would never reach the client.
    EXPECT_EQ(display.CountKeyPressesOn(client), 1);
    editor->view->removed();
    display.Destroy(frame);
}

} // namespace
