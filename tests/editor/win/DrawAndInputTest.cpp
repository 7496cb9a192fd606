// Real window messages into the editor window: the timer-driven repaint,
// mouse gestures with capture and gesture brackets, hover and leave, and
// keys with their mapping and their way up to the host.
#include "editor/win/WinKeyMap.h"
#include "tests/editor/win/WinTestHost.h"

namespace {

using Strings = std::vector<std::string>;

struct EditorInput : WinEditorFixture {
    EditorInput()
    {
        EXPECT_TRUE(surface->OpenEditorWindow(host));
        // Let the first ticks draw everything the window opened dirty.
        PumpUntil([&] { return !background->IsMarkedDirty() && !probe->IsMarkedDirty(); });
        TakeLog();
    }
};

TEST_F(EditorInput, TheTimerRepaintsOnlyWhatChanged)
{
    auto* patch = new FillControl(&plug, {100, 20, 140, 60}, 0xff0000);
    surface->AddControl(patch);
    HWND window = surface->Window();
    ASSERT_TRUE(PumpUntil([&] { return WindowPixel(window, 120, 40) == 0xff0000; }));
    EXPECT_EQ(WindowPixel(window, 150, 80), 0x808080u);
    EXPECT_EQ(WindowPixel(window, 5, 5), 0x808080u);

    // Once clean, ticks draw nothing more.
    const int paintsBefore = background->paints;
    PumpFor(100);
    EXPECT_EQ(background->paints, paintsBefore);

    patch->colour = 0x00ff00;
    patch->MarkDirty(false);
    ASSERT_TRUE(PumpUntil([&] { return WindowPixel(window, 120, 40) == 0x00ff00; }));
    EXPECT_FALSE(patch->IsMarkedDirty());

    // A paint request from the system (say, an uncovered area) redraws from
    // the controls without anything being dirty.
    RECT all{0, 0, 200, 100};
    InvalidateRect(window, &all, FALSE);
    UpdateWindow(window);
    EXPECT_GT(background->paints, paintsBefore);
}

TEST_F(EditorInput, PressDragReleaseReachTheControlWithCaptureAndGestureBrackets)
{
    HWND window = surface->Window();
    Mouse(WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), window);
    Mouse(WM_MOUSEMOVE, 25, 12, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 25, 12, MK_LBUTTON);      // same place: nothing
    Mouse(WM_MOUSEMOVE, -30, 200, MK_LBUTTON);    // outside the window, still captured
    Mouse(WM_LBUTTONUP, -30, 200);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(TakeLog(), (Strings{"begin 0", "probe down 20,15", "probe drag 25,12 5,-3",
                                  "probe drag -30,200 -55,188", "probe up -30,200", "end 0"}));

    // Right button the same way; a press on the background captures nothing
    // there, and a move without capture is no drag.
    Mouse(WM_RBUTTONDOWN, 30, 30, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, 30, 30);
    ReleaseCapture();
    Mouse(WM_MOUSEMOVE, 40, 30, MK_LBUTTON);
    EXPECT_EQ(TakeLog(), (Strings{"begin 0", "probe down 30,30", "probe up 30,30", "end 0"}));
}

TEST_F(EditorInput, MiddlePressIsAPressWhoseReleaseOnlyFreesTheMouse)
{
    HWND window = surface->Window();
    Mouse(WM_MBUTTONDOWN, 20, 20, MK_MBUTTON);
    EXPECT_EQ(GetCapture(), window);
    Mouse(WM_MBUTTONUP, 20, 20);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(TakeLog(), (Strings{"begin 0", "probe down 20,20"}));
}

TEST_F(EditorInput, DoubleClickEitherActsAsAPressOrReachesTheControl)
{
    HWND window = surface->Window();
    Mouse(WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
    EXPECT_NE(GetCapture(), window);
    probe->mDoubleClickAsPress = true;
    Mouse(WM_LBUTTONDBLCLK, 21, 20, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), window);
    Mouse(WM_LBUTTONUP, 21, 20);
    // The probe's own double-click restores its default value.
    EXPECT_EQ(TakeLog(), (Strings{"begin 0", "probe dbl 20,20", "gui 0", "end 0", "begin 0", "probe down 21,20",
                                  "probe up 21,20", "end 0"}));
}

TEST_F(EditorInput, HoverAsksForALeaveNotification)
{
    HWND window = surface->Window();
    POINT over{30, 20};
    ClientToScreen(window, &over);
    SetCursorPos(over.x, over.y);
    Mouse(WM_MOUSEMOVE, 30, 20);
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof(query);
    query.dwFlags = TME_QUERY;
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(query.hwndTrack, window);
    EXPECT_TRUE(query.dwFlags & TME_LEAVE);
    // The system reports the pointer leaving, and every control hears it.
    SetCursorPos(1000, 700);
    auto left = [&] {
        for (const std::string& entry : plug.log)
            if (entry == "probe leave")
                return true;
        return false;
    };
    EXPECT_TRUE(PumpUntil(left));
    EXPECT_EQ(TakeLog().front(), "probe hover 30,20");
}

TEST(KeyMapping, VirtualKeysToEditorKeyCodes)
{
    EXPECT_EQ(KeyCodeForVirtualKey(VK_SPACE), 0);
    EXPECT_EQ(KeyCodeForVirtualKey(VK_UP), 1);
    EXPECT_EQ(KeyCodeForVirtualKey(VK_DOWN), 2);
    EXPECT_EQ(KeyCodeForVirtualKey(VK_LEFT), 3);
    EXPECT_EQ(KeyCodeForVirtualKey(VK_RIGHT), 4);
    EXPECT_EQ(KeyCodeForVirtualKey('0'), 5);
    EXPECT_EQ(KeyCodeForVirtualKey('9'), 14);
    EXPECT_EQ(KeyCodeForVirtualKey('A'), 15);
    EXPECT_EQ(KeyCodeForVirtualKey('Z'), 40);
    EXPECT_EQ(KeyCodeForVirtualKey(VK_F1), 30);  // 112, like 'P'
    EXPECT_EQ(KeyCodeForVirtualKey(97), 15);
    EXPECT_EQ(KeyCodeForVirtualKey(122), 40);
    for (int vk : {VK_RETURN, VK_ESCAPE, VK_SHIFT, VK_F12, 96, 123, 64, 91})
        EXPECT_EQ(KeyCodeForVirtualKey(vk), -1) << vk;
}

TEST_F(EditorInput, KeysGoToTheControlUnderThePointerOrUpToTheHost)
{
    HWND window = surface->Window();
    auto* catcher = new ProbeControl(&plug.log, "catcher", &plug, {});
    surface->SetKeyCatcher(catcher);
    POINT over{30, 20};
    ClientToScreen(window, &over);
    SetCursorPos(over.x, over.y);
    SendMessageA(window, WM_KEYDOWN, VK_F1, 0);
    SendMessageA(window, WM_KEYDOWN, 'A', 0);

    // Over the background the catcher decides; what it refuses, and keys
    // without a code, go to the host's top-level window.
    POINT away{150, 80};
    ClientToScreen(window, &away);
    SetCursorPos(away.x, away.y);
    SendMessageA(window, WM_KEYDOWN, VK_LEFT, 0);
    catcher->takesKeys = false;
    SendMessageA(window, WM_KEYDOWN, '7', 0);
    SendMessageA(window, WM_KEYDOWN, VK_F12, 0);
    EXPECT_EQ(TakeLog(), (Strings{"probe key 30", "probe key 15", "catcher key 3", "catcher key 12"}));
    EXPECT_EQ(HostKeys(), (std::vector<WPARAM>{'7', VK_F12}));
    SetCursorPos(1000, 700);  // out of the way of later tests
}

} // namespace
