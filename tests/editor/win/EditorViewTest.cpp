// The VST 3 editor view over a Windows surface, driven the way hosts drive
// it, including the orders of calls they get wrong.
#include "tests/editor/win/WinTestHost.h"
#include "vst3/IFxVST3.h"

namespace {

using namespace Steinberg;

class ViewedPlugin : public IFxVST3 {
public:
    ViewedPlugin() : IFxVST3(nullptr, 1, "2-2", 0, "Viewed", "", "quenby audio", 0x00010000, 1, 2, 0, false, true, false, 0)
    {
        GetParam(0)->SetupContinuous("Level", 0.5, 0.0, 1.0, 0.01);
        surface = new IEditorSurfaceWin(this, 120, 80, 30);
        surface->AddControl(new FillControl(this, {0, 0, 120, 80}, 0x2040c0));
        AttachEditor(surface);
    }
    void EditorOpened() override { ++opened; }
    void EditorClosing() override { ++closing; }

    IEditorSurfaceWin* surface = nullptr;
    int opened = 0;
    int closing = 0;
};

TEST(EditorView, OpensDrawsAndClosesTheWindowInTheHostsParent)
{
    auto* plug = new ViewedPlugin;
    IPlugView* view = plug->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultOk);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 120);
    EXPECT_EQ(size.bottom, 80);
    EXPECT_EQ(view->canResize(), kResultFalse);

    HWND host = CreateHostWindow();
    ASSERT_EQ(view->attached(host, "HWND"), kResultOk);
    EXPECT_EQ(plug->opened, 1);
    EXPECT_EQ(CountChildWindows(host), 1);
    HWND window = plug->surface->Window();
    EXPECT_TRUE(PumpUntil([&] { return WindowPixel(window, 60, 40) == 0x2040c0; }));

    // A second attach replaces the window rather than adding one.
    ASSERT_EQ(view->attached(host, "HWND"), kResultOk);
    EXPECT_EQ(CountChildWindows(host), 1);
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 1);

    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(plug->closing, 1);
    EXPECT_EQ(CountChildWindows(host), 0);
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);
    EXPECT_FALSE(IsClassRegistered(plug->surface->ModuleInstance()));

    // Removed again without an attach: nothing to close, nothing breaks.
    EXPECT_EQ(view->removed(), kResultOk);
    view->release();
    plug->release();
    DestroyWindow(host);
}

TEST(EditorView, BadParentsAndAParentDestroyedFirstLeaveNothingBehind)
{
    auto* plug = new ViewedPlugin;
    IPlugView* view = plug->createView("editor");
    EXPECT_EQ(view->removed(), kResultOk);  // before any attach
    EXPECT_EQ(view->attached(nullptr, "HWND"), kResultFalse);
    EXPECT_EQ(view->attached(reinterpret_cast<void*>(0x4242), "HWND"), kResultFalse);
    EXPECT_EQ(plug->opened, 0);
    // Another window type opens nothing but is still reported open.
    EXPECT_EQ(view->attached(reinterpret_cast<void*>(0x4242), "NSView"), kResultOk);
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);

    HWND host = CreateHostWindow();
    ASSERT_EQ(view->attached(host, "HWND"), kResultOk);
    DestroyWindow(host);
    PumpFor(80);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(IEditorSurfaceWin::OpenWindowCount(), 0);
    EXPECT_FALSE(IsClassRegistered(plug->surface->ModuleInstance()));
    view->release();
    plug->release();
}

} // namespace
