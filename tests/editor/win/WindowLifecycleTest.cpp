// The editor window's life: creation inside the host's window, the class
// registered exactly while windows are open, re-opening, resizing, and the
// ways a host can end it (close, destroy its own window first, free the
// plug-in).
#include "tests/editor/win/WinTestHost.h"

namespace {

using WindowLifecycle = WinEditorFixture;

TEST_F(WindowLifecycle, OpensAVisibleChildOfTheHostsWindow)
{
    ASSERT_TRUE(surface->OpenEditorWindow(host));
    HWND window = surface->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(surface->GetWindowHandle(), window);
    EXPECT_EQ(GetParent(window), host);
    char text[64] = {};
    GetClassNameA(window, text, sizeof(text));
    EXPECT_STREQ(text, "IFxWndClass");
    GetWindowTextA(window, text, sizeof(text));
    EXPECT_STREQ(text, "IFx");
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    RECT r{};
    GetClientRect(window, &r);
    EXPECT_EQ(r.right, 200);
    EXPECT_EQ(r.bottom, 100);
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 1);
    EXPECT_TRUE(IsClassRegistered(surface->ModuleInstance()));
    EXPECT_EQ(GetFocus(), window);

    surface->CloseEditorWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(surface->Window(), nullptr);
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);
    EXPECT_FALSE(IsClassRegistered(surface->ModuleInstance()));
}

TEST_F(WindowLifecycle, TimerPeriodFollowsTheRefreshRate)
{
    EXPECT_EQ(IEditorSurfaceWin::TimerPeriodMs(30), 33u);
    EXPECT_EQ(IEditorSurfaceWin::TimerPeriodMs(60), 16u);
    EXPECT_EQ(IEditorSurfaceWin::TimerPeriodMs(0), 33u);
    EXPECT_EQ(IEditorSurfaceWin::TimerPeriodMs(5000), 1u);
}

TEST_F(WindowLifecycle, OpensAndClosesFiftyTimesWithoutLeavingAnything)
{
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(surface->OpenEditorWindow(host)) << i;
        PumpFor(i % 10 == 0 ? 40 : 0);  // now and then let ticks and paints run
        if (i % 2 == 0)
            surface->CloseEditorWindow();
        else
            SendMessageA(surface->Window(), WM_CLOSE, 0, 0);
        ASSERT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0) << i;
    }
    EXPECT_EQ(CountChildWindows(host), 0);
    EXPECT_FALSE(IsClassRegistered(surface->ModuleInstance()));
}

TEST_F(WindowLifecycle, ReopeningMovesTheWindowToTheNewParentInPlace)
{
    ASSERT_TRUE(surface->OpenEditorWindow(host));
    HWND first = surface->Window();
    SetWindowPos(first, nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND other = CreateHostWindow();
    ASSERT_TRUE(surface->OpenEditorWindow(other));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(GetParent(surface->Window()), other);
    RECT r{};
    GetWindowRect(surface->Window(), &r);
    MapWindowPoints(HWND_DESKTOP, other, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 1);
    surface->CloseEditorWindow();
    DestroyWindow(other);
}

TEST_F(WindowLifecycle, RefusesParentsThatAreNotWindows)
{
    EXPECT_FALSE(surface->OpenEditorWindow(nullptr));
    EXPECT_FALSE(surface->OpenEditorWindow(reinterpret_cast<void*>(0x12340)));
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);
    EXPECT_FALSE(IsClassRegistered(surface->ModuleInstance()));
}

TEST_F(WindowLifecycle, HostDestroyingItsWindowFirstLeavesNoTimerAndNoClass)
{
    ASSERT_TRUE(surface->OpenEditorWindow(host));
    DestroyWindow(host);
    host = CreateHostWindow();
    EXPECT_EQ(surface->Window(), nullptr);
    EXPECT_FALSE(surface->IsWindowOpen());
    // Ticks would need a window; none may come from the dead one.
    probe->MarkDirty(false);
    PumpFor(100);
    EXPECT_TRUE(probe->IsMarkedDirty());
    surface->CloseEditorWindow();
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);
    EXPECT_FALSE(IsClassRegistered(surface->ModuleInstance()));
    // And it opens again afterwards.
    ASSERT_TRUE(surface->OpenEditorWindow(host));
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 1);
}

TEST_F(WindowLifecycle, ClassStaysWhileAnotherSurfaceHasAWindowAndGoesWithTheLastSurface)
{
    auto* second = new IEditorSurfaceWin(nullptr, 50, 50, 30);
    ASSERT_TRUE(surface->OpenEditorWindow(host));
    ASSERT_TRUE(second->OpenEditorWindow(host));
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 2);
    surface->CloseEditorWindow();
    EXPECT_TRUE(IsClassRegistered(surface->ModuleInstance()));
    HWND window = second->Window();
    delete second;  // a plug-in freed with its editor open
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);
    EXPECT_FALSE(IsClassRegistered(surface->ModuleInstance()));
}

// Host code 1 and 3 hosts size their own windows; others get theirs grown.
struct ResizePlugin : EditorTestPlugin {
    int HostCode() override { return code; }
    int code = 0;
};

TEST(WindowResize, GrowsTheWindowAndItsParentsUnlessTheHostSizesThem)
{
    for (int code : {0, 1, 3}) {
        ResizePlugin plug;
        plug.code = code;
        auto* surface = new IEditorSurfaceWin(&plug, 200, 100, 30);
        plug.AttachEditor(surface);
        HWND top = CreateHostWindow(300, 200);
        HWND frame = CreateHostWindow(250, 150, top);
        ASSERT_TRUE(surface->OpenEditorWindow(frame));
        surface->ResizeEditor(200, 100);  // same size: nothing happens
        EXPECT_EQ(plug.log.size(), 0u);

        surface->ResizeEditor(230, 110);
        RECT r{};
        GetWindowRect(surface->Window(), &r);
        EXPECT_EQ(r.right - r.left, 230) << code;
        EXPECT_EQ(r.bottom - r.top, 110) << code;
        GetWindowRect(frame, &r);
        const bool grown = code != 1 && code != 3;
        EXPECT_EQ(r.right - r.left, grown ? 280 : 250) << code;
        GetWindowRect(top, &r);
        EXPECT_EQ(r.right - r.left, grown ? 330 : 300) << code;
        EXPECT_EQ(r.bottom - r.top, grown ? 210 : 200) << code;
        EXPECT_EQ(plug.log, (std::vector<std::string>{"resize 230x110"}));
        DestroyWindow(top);
    }
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);
}

} // namespace
