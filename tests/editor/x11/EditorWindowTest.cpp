// Opening and closing the editor window through the VST 3 view, and the bad
// input hosts give: null or unknown parents, a parent destroyed first, a
// second close, a broken connection, many open/close cycles.
#include "X11TestHost.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <dlfcn.h>
#include <unistd.h>

namespace {

bool HasChild(TestDisplay& d, xcb_window_t parent, xcb_window_t child)
{
    for (xcb_window_t w : d.Children(parent))
        if (w == child)
            return true;
    return false;
}

// The editor's requests travel on its own connection: the server may still
// be reading them when the test asks. Waits up to a second for cond.
template <class Cond>
bool Eventually(Cond cond)
{
    for (int i = 0; i < 100; ++i) {
        if (cond())
            return true;
        usleep(10000);
    }
    return false;
}

// Reads an XEMBED_INFO property (version, flags) of window.
std::vector<uint32_t> XembedInfo(TestDisplay& d, xcb_window_t window)
{
    std::vector<uint32_t> out;
    auto atomReply = xcb_intern_atom_reply(d.C(), xcb_intern_atom(d.C(), 1, 12, "_XEMBED_INFO"), nullptr);
    if (atomReply == nullptr)
        return out;
    xcb_atom_t atom = atomReply->atom;
    std::free(atomReply);
    auto* r = xcb_get_property_reply(d.C(), xcb_get_property(d.C(), 0, window, atom, atom, 0, 2), nullptr);
    if (r != nullptr) {
        auto* v = static_cast<uint32_t*>(xcb_get_property_value(r));
        out.assign(v, v + xcb_get_property_value_length(r) / 4);
        std::free(r);
    }
    return out;
}

TEST(X11EditorWindow, OpensAsMappedDirectChildWithXembedInfoAndHostLoop)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    OpenEditor e(d);
    ASSERT_NE(e.view, nullptr);
    EXPECT_EQ(e.view->isPlatformTypeSupported("X11EmbedWindowID"), Steinberg::kResultOk);
    EXPECT_NE(e.view->isPlatformTypeSupported("HWND"), Steinberg::kResultOk);
    ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
    xcb_window_t editor = e.EditorWindow();
    ASSERT_NE(editor, 0u);
    EXPECT_TRUE(HasChild(d, e.parent, editor));
    EXPECT_TRUE(d.IsMapped(editor));
    int x, y, w, h;
    d.Geometry(editor, x, y, w, h);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, kEditorWidth);
    EXPECT_EQ(h, kEditorHeight);
    EXPECT_EQ(XembedInfo(d, editor), (std::vector<uint32_t>{0, 1}));
    // Events and ticks come from the host's run loop.
    EXPECT_EQ(e.plug->X11()->LoopKind(), X11HostLoop::kHostRunLoop);
    EXPECT_EQ(e.frame.EventHandlers(), 1u);
    // The plug-in's idle timer registers on the same loop: count the editor's.
    EXPECT_GE(e.frame.Timers(), 1u);

    e.view->removed();
    EXPECT_TRUE(Eventually([&] { return !HasChild(d, e.parent, editor); }));
    EXPECT_EQ(e.frame.EventHandlers(), 0u);
    EXPECT_EQ(e.plug->Surface()->GetWindowHandle(), nullptr);
}

TEST(X11EditorWindow, NullOrUnknownParentOpensNothingAndKeepsNoConnection)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    OpenEditor e(d);
    e.view->removed();
    const int fds = CountOpenFds();
    EXPECT_EQ(e.view->attached(nullptr, "X11EmbedWindowID"), Steinberg::kResultFalse);
    // An id no window has (and one beyond 32 bits).
    EXPECT_EQ(e.view->attached(reinterpret_cast<void*>(uintptr_t{0x3fffff1}), "X11EmbedWindowID"),
              Steinberg::kResultFalse);
    EXPECT_EQ(e.view->attached(reinterpret_cast<void*>(uintptr_t{0x1234567890}), "X11EmbedWindowID"),
              Steinberg::kResultFalse);
    EXPECT_EQ(e.plug->Surface()->GetWindowHandle(), nullptr);
    EXPECT_EQ(e.frame.EventHandlers(), 0u);
    EXPECT_EQ(CountOpenFds(), fds);
    // The surface still opens in a real parent afterwards.
    EXPECT_EQ(e.view->attached(reinterpret_cast<void*>(uintptr_t{e.parent}), "X11EmbedWindowID"),
              Steinberg::kResultOk);
    EXPECT_NE(e.EditorWindow(), 0u);
}

TEST(X11EditorWindow, ParentDestroyedFirstThenRemovedTwice)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    OpenEditor e(d);
    ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
    const int fds = CountOpenFds();
    d.Destroy(e.parent);
    e.Run(80);  // the editor learns its window is gone and keeps ticking safely
    EXPECT_EQ(e.plug->Surface()->GetWindowHandle(), nullptr);
    e.plug->rec->MarkDirty(false);
    e.Run(80);
    EXPECT_EQ(e.view->removed(), Steinberg::kResultOk);
    EXPECT_EQ(e.view->removed(), Steinberg::kResultOk);
    EXPECT_EQ(e.frame.EventHandlers(), 0u);
    EXPECT_EQ(CountOpenFds(), fds - 1);  // the editor's connection is gone
    e.parent = d.MakeParent(10, 10);     // for the fixture's own clean-up
}

TEST(X11EditorWindow, BrokenConnectionIsDroppedWithItsHandlers)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    OpenEditor e(d);
    ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
    const int fds = CountOpenFds();
    // The server closes the editor's connection (as when it goes away).
    xcb_kill_client(d.C(), e.EditorWindow());
    d.Sync();
    e.Run(100);
    EXPECT_EQ(e.plug->Surface()->GetWindowHandle(), nullptr);
    EXPECT_EQ(e.frame.EventHandlers(), 0u);
    EXPECT_EQ(CountOpenFds(), fds - 1);
    e.view->removed();
    // A new attach makes a new connection.
    EXPECT_EQ(e.view->attached(reinterpret_cast<void*>(uintptr_t{e.parent}), "X11EmbedWindowID"),
              Steinberg::kResultOk);
    EXPECT_EQ(e.frame.EventHandlers(), 1u);
}

TEST(X11EditorWindow, FiftyOpenCloseCyclesLeakNoWindowDescriptorHandlerOrMemory)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    OpenEditor e(d);
    ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
    void* parent = reinterpret_cast<void*>(uintptr_t{e.parent});
    // One cycle first, so caches (fonts, keyboard tables) exist.
    e.Run(40);
    e.view->removed();
    const int fds = CountOpenFds();
    const size_t heap = mallinfo2().uordblks;
    const size_t timers = e.frame.Timers();
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(e.view->attached(parent, "X11EmbedWindowID"), Steinberg::kResultOk) << i;
        e.Run(i % 10 == 0 ? 40 : 0);
        ASSERT_EQ(e.view->removed(), Steinberg::kResultOk);
    }
    EXPECT_TRUE(Eventually([&] { return d.Children(e.parent).empty(); }));
    EXPECT_EQ(CountOpenFds(), fds);
    EXPECT_EQ(e.frame.EventHandlers(), 0u);
    EXPECT_EQ(e.frame.Timers(), timers);
    EXPECT_LT(mallinfo2().uordblks, heap + 64 * 1024);
}

TEST(X11EditorWindow, RunLoopWithTimersOnlyStillDeliversInputAtTheTicks)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    d.MoveTo(kEditorWidth + 250, kEditorHeight + 80);
    OpenEditor e(d, true, false);
    ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
    EXPECT_EQ(e.plug->X11()->LoopKind(), X11HostLoop::kHostRunLoop);
    EXPECT_EQ(e.frame.EventHandlers(), 0u);
    d.Click(kRecBounds.left + 5, kRecBounds.top + 5);
    e.Run(100);
    EXPECT_EQ(e.plug->recLog.Count("down"), 1);
    EXPECT_EQ(e.plug->recLog.Count("up"), 1);
}

// A host whose frame hands out a run loop object that answers no query, and
// that opens the editor in a window it shows only later (a session reopened
// with the editor open): the run loop drives the editor all the same, and
// the window shows the editor's picture once the host shows it.
TEST(X11EditorWindow, RunLoopAnsweringNoQueryDrivesAWindowShownAfterOpening)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    d.MoveTo(kEditorWidth + 250, kEditorHeight + 80);
    OpenEditor e(d, true, true, true);
    ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
    EXPECT_EQ(e.plug->X11()->LoopKind(), X11HostLoop::kHostRunLoop);
    EXPECT_EQ(e.frame.EventHandlers(), 1u);

    e.view->removed();
    xcb_unmap_window(d.C(), e.parent);
    d.Sync();
    const auto parent = reinterpret_cast<void*>(static_cast<uintptr_t>(e.parent));
    ASSERT_EQ(e.view->attached(parent, "X11EmbedWindowID"), Steinberg::kResultOk);
    e.Run(40);
    xcb_map_window(d.C(), e.parent);
    d.Sync();
    e.Run(80);
    auto pixels = d.ReadPixels(e.EditorWindow(), kEditorWidth, kEditorHeight);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels.back(), 0x303030u);  // the background control, drawn on the expose

    d.Click(kRecBounds.left + 5, kRecBounds.top + 5);
    e.Run(100);
    EXPECT_EQ(e.plug->recLog.Count("down"), 1);
    EXPECT_EQ(e.plug->recLog.Count("up"), 1);
    e.view->removed();
    EXPECT_EQ(e.frame.EventHandlers(), 0u);
}

TEST(X11EditorWindow, ResizingTheEditorResizesItsWindowOnly)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    OpenEditor e(d);
    ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
    e.plug->Surface()->ResizeEditor(kEditorWidth + 40, kEditorHeight - 20);
    d.Sync();
    int x, y, w, h;
    EXPECT_TRUE(Eventually([&] {
        d.Geometry(e.EditorWindow(), x, y, w, h);
        return w == kEditorWidth + 40 && h == kEditorHeight - 20;
    }));
    d.Geometry(e.parent, x, y, w, h);
    EXPECT_EQ(w, kEditorWidth + 300);  // the host's window is the host's to resize
    // Drawing goes on at the new size.
    e.plug->Surface()->AddControl(new ShowingControl(e.plug, {0, 0, kEditorWidth + 40, kEditorHeight - 20}, -1,
                                                     0x102030, "new"));
    e.Run(80);
    auto pixels = d.ReadPixels(e.EditorWindow(), kEditorWidth + 40, kEditorHeight - 20);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels.back(), 0x102030u);  // the new control's fill (value 0)
}

TEST(X11EditorWindow, WithoutHostRunLoopGLibDrivesItWhenThisThreadRunsGLib)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    void* glib = dlopen("libglib-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(glib, nullptr);
    auto contextDefault = reinterpret_cast<void* (*)()>(dlsym(glib, "g_main_context_default"));
    auto acquire = reinterpret_cast<int (*)(void*)>(dlsym(glib, "g_main_context_acquire"));
    auto release = reinterpret_cast<void (*)(void*)>(dlsym(glib, "g_main_context_release"));
    auto iterate = reinterpret_cast<int (*)(void*, int)>(dlsym(glib, "g_main_context_iteration"));
    ASSERT_TRUE(contextDefault && acquire && release && iterate);

    {
        // Nobody runs GLib on this thread: the window opens and shows its
        // first frame, with nothing registered anywhere.
        OpenEditor e(d, false);
        ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
        EXPECT_EQ(e.plug->X11()->LoopKind(), X11HostLoop::kNone);
        EXPECT_NE(e.EditorWindow(), 0u);
    }
    void* context = contextDefault();
    ASSERT_TRUE(acquire(context));
    {
        OpenEditor e(d, false);
        ASSERT_EQ(e.attachResult, Steinberg::kResultOk);
        EXPECT_EQ(e.plug->X11()->LoopKind(), X11HostLoop::kGLib);
        d.Click(kRecBounds.left + 5, kRecBounds.top + 5);
        for (int i = 0; i < 50 && e.plug->recLog.Count("up") == 0; ++i)
            iterate(context, 0), usleep(2000);
        EXPECT_EQ(e.plug->recLog.Count("down"), 1);
        EXPECT_EQ(e.plug->recLog.Count("up"), 1);
        e.Close();
        // Its sources are gone: iterating reaches nothing of the editor.
        for (int i = 0; i < 5; ++i)
            iterate(context, 0);
    }
    release(context);
}

} // namespace
