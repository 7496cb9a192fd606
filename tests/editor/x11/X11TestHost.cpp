// The X11 editor tests' host frame, display connection and plug-in.
#include "X11TestHost.h"

#include "editor/headless/IEditorSurfaceHeadless.h"
#include "raster/RasterBlit.h"

#include <xcb/xtest.h>

#include <dirent.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace Steinberg;

namespace {
int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

//------------------------------------------------------------------------
FakeFrame::~FakeFrame()
{
    for (auto& f : mFds)
        f.handler->release();
    for (auto& t : mTimers)
        t.handler->release();
}

//------------------------------------------------------------------------
tresult PLUGIN_API FakeFrame::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    if (mOffersRunLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
        *obj = mLoneRunLoop ? static_cast<Linux::IRunLoop*>(&mLone) : static_cast<Linux::IRunLoop*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

//------------------------------------------------------------------------
tresult PLUGIN_API FakeFrame::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (handler == nullptr)
        return kInvalidArgument;
    if (!mTakesDescriptors)
        return kNotImplemented;
    handler->addRef();
    mFds.push_back({handler, fd});
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API FakeFrame::unregisterEventHandler(Linux::IEventHandler* handler)
{
    for (auto it = mFds.begin(); it != mFds.end(); ++it) {
        if (it->handler == handler) {
            it->handler->release();
            mFds.erase(it);
            return kResultOk;
        }
    }
    return kResultFalse;
}

//------------------------------------------------------------------------
tresult PLUGIN_API FakeFrame::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval ms)
{
    if (handler == nullptr)
        return kInvalidArgument;
    handler->addRef();
    mTimers.push_back({handler, static_cast<int>(ms), NowMs() + static_cast<int64_t>(ms)});
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API FakeFrame::unregisterTimer(Linux::ITimerHandler* handler)
{
    for (auto it = mTimers.begin(); it != mTimers.end(); ++it) {
        if (it->handler == handler) {
            it->handler->release();
            mTimers.erase(it);
            return kResultOk;
        }
    }
    return kResultFalse;
}

//------------------------------------------------------------------------
void FakeFrame::RunFor(int ms)
{
    const int64_t end = NowMs() + ms;
    for (;;) {
        int64_t now = NowMs();
        if (now >= end)
            break;
        int64_t wait = std::min<int64_t>(end - now, 5);
        std::vector<pollfd> polls;
        for (auto& f : mFds)
            polls.push_back({f.fd, POLLIN, 0});
        poll(polls.data(), polls.size(), static_cast<int>(wait));
        // Handlers may unregister themselves (or others) while called.
        for (auto& p : polls) {
            if ((p.revents & (POLLIN | POLLHUP | POLLERR)) == 0)
                continue;
            auto it = std::find_if(mFds.begin(), mFds.end(), [&](const Fd& f) { return f.fd == p.fd; });
            if (it != mFds.end())
                it->handler->onFDIsSet(p.fd);
        }
        now = NowMs();
        std::vector<Linux::ITimerHandler*> due;
        for (auto& t : mTimers) {
            if (t.due <= now) {
                due.push_back(t.handler);
                t.due = now + t.ms;
            }
        }
        for (auto* h : due) {
            bool still = std::any_of(mTimers.begin(), mTimers.end(), [&](const Timer& t) { return t.handler == h; });
            if (still)
                h->onTimer();
        }
    }
}

//------------------------------------------------------------------------
TestDisplay::TestDisplay()
{
    mC = xcb_connect(nullptr, nullptr);
    if (!Ok())
        return;
    const xcb_setup_t* setup = xcb_get_setup(mC);
    mRoot = xcb_setup_roots_iterator(setup).data->root;
    mMinCode = setup->min_keycode;
    auto cookie = xcb_get_keyboard_mapping(mC, setup->min_keycode,
                                           static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1));
    if (auto* r = xcb_get_keyboard_mapping_reply(mC, cookie, nullptr)) {
        const xcb_keysym_t* s = xcb_get_keyboard_mapping_keysyms(r);
        mKeysyms.assign(s, s + xcb_get_keyboard_mapping_keysyms_length(r));
        mPerCode = r->keysyms_per_keycode;
        std::free(r);
    }
}

//------------------------------------------------------------------------
TestDisplay::~TestDisplay()
{
    if (mC != nullptr)
        xcb_disconnect(mC);
}

//------------------------------------------------------------------------
bool TestDisplay::Ok() const
{
    return mC != nullptr && xcb_connection_has_error(mC) == 0;
}

//------------------------------------------------------------------------
xcb_window_t TestDisplay::MakeParent(int width, int height)
{
    xcb_window_t w = xcb_generate_id(mC);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(mC)).data;
    uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(mC, XCB_COPY_FROM_PARENT, w, mRoot, 0, 0, static_cast<uint16_t>(width),
                      static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(mC, w);
    Sync();
    return w;
}

//------------------------------------------------------------------------
void TestDisplay::Destroy(xcb_window_t window)
{
    xcb_destroy_window(mC, window);
    Sync();
}

//------------------------------------------------------------------------
std::vector<xcb_window_t> TestDisplay::Children(xcb_window_t window)
{
    std::vector<xcb_window_t> out;
    if (auto* r = xcb_query_tree_reply(mC, xcb_query_tree(mC, window), nullptr)) {
        xcb_window_t* c = xcb_query_tree_children(r);
        out.assign(c, c + xcb_query_tree_children_length(r));
        std::free(r);
    }
    return out;
}

//------------------------------------------------------------------------
bool TestDisplay::IsMapped(xcb_window_t window)
{
    bool mapped = false;
    if (auto* r = xcb_get_window_attributes_reply(mC, xcb_get_window_attributes(mC, window), nullptr)) {
        mapped = r->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(r);
    }
    return mapped;
}

//------------------------------------------------------------------------
xcb_window_t TestDisplay::FindPopup()
{
    for (xcb_window_t w : Children(mRoot)) {
        if (auto* r = xcb_get_window_attributes_reply(mC, xcb_get_window_attributes(mC, w), nullptr)) {
            bool popup = r->override_redirect && r->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(r);
            if (popup)
                return w;
        }
    }
    return 0;
}

//------------------------------------------------------------------------
xcb_window_t TestDisplay::WaitForPopup(int ms)
{
    for (int waited = 0; waited < ms; waited += 10) {
        if (xcb_window_t w = FindPopup())
            return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

//------------------------------------------------------------------------
void TestDisplay::Geometry(xcb_window_t window, int& x, int& y, int& w, int& h)
{
    x = y = w = h = 0;
    if (auto* r = xcb_get_geometry_reply(mC, xcb_get_geometry(mC, window), nullptr)) {
        x = r->x;
        y = r->y;
        w = r->width;
        h = r->height;
        std::free(r);
    }
}

//------------------------------------------------------------------------
void TestDisplay::MoveTo(int x, int y)
{
    xcb_test_fake_input(mC, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, mRoot, static_cast<int16_t>(x),
                        static_cast<int16_t>(y), 0);
    Sync();
}

//------------------------------------------------------------------------
void TestDisplay::Press(int button)
{
    xcb_test_fake_input(mC, XCB_BUTTON_PRESS, static_cast<uint8_t>(button), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    Sync();
}

//------------------------------------------------------------------------
void TestDisplay::Release(int button)
{
    xcb_test_fake_input(mC, XCB_BUTTON_RELEASE, static_cast<uint8_t>(button), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    Sync();
}

//------------------------------------------------------------------------
void TestDisplay::Click(int x, int y, int button)
{
    MoveTo(x, y);
    Press(button);
    Release(button);
}

//------------------------------------------------------------------------
xcb_keycode_t TestDisplay::KeycodeOf(uint32_t keysym)
{
    for (size_t i = 0; mPerCode > 0 && i < mKeysyms.size(); ++i)
        if (mKeysyms[i] == keysym)
            return static_cast<xcb_keycode_t>(mMinCode + static_cast<int>(i) / mPerCode);
    return 0;
}

//------------------------------------------------------------------------
void TestDisplay::KeyDown(uint32_t keysym)
{
    xcb_test_fake_input(mC, XCB_KEY_PRESS, KeycodeOf(keysym), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    Sync();
}

//------------------------------------------------------------------------
void TestDisplay::KeyUp(uint32_t keysym)
{
    xcb_test_fake_input(mC, XCB_KEY_RELEASE, KeycodeOf(keysym), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    Sync();
}

//------------------------------------------------------------------------
void TestDisplay::Tap(uint32_t keysym)
{
    KeyDown(keysym);
    KeyUp(keysym);
}

//------------------------------------------------------------------------
void TestDisplay::Type(const char* text)
{
    for (const char* p = text; *p != '\0'; ++p)
        Tap(static_cast<unsigned char>(*p));
}

//------------------------------------------------------------------------
void TestDisplay::Sync()
{
    std::free(xcb_get_input_focus_reply(mC, xcb_get_input_focus(mC), nullptr));
}

//------------------------------------------------------------------------
std::vector<uint32_t> TestDisplay::ReadPixels(xcb_window_t window, int width, int height)
{
    std::vector<uint32_t> out;
    auto cookie = xcb_get_image(mC, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, static_cast<uint16_t>(width),
                                static_cast<uint16_t>(height), ~0u);
    if (auto* r = xcb_get_image_reply(mC, cookie, nullptr)) {
        const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(r));
        int words = xcb_get_image_data_length(r) / 4;
        for (int i = 0; i < words && i < width * height; ++i)
            out.push_back(data[i] & 0xffffffu);
        std::free(r);
    }
    return out;
}

//------------------------------------------------------------------------
int TestDisplay::CountKeyPressesOn(xcb_window_t window)
{
    int count = 0;
    while (xcb_generic_event_t* ev = xcb_poll_for_event(mC)) {
        if ((ev->response_type & 0x7f) == XCB_KEY_PRESS &&
            reinterpret_cast<xcb_key_press_event_t*>(ev)->event == window)
            ++count;
        std::free(ev);
    }
    return count;
}

//------------------------------------------------------------------------
int ControlLog::Count(const std::string& prefix) const
{
    return static_cast<int>(std::count_if(events.begin(), events.end(),
                                          [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
}

//------------------------------------------------------------------------
bool ShowingControl::Paint(IEditorSurface* surface)
{
    IBounds area = mBounds.Intersection(surface->DrawBounds());
    if (area.IsEmpty())
        return true;
    const auto level = static_cast<uint32_t>(GetValue() * 255.0 + 0.5);
    const uint32_t colour = 0xff000000u | (mTint + (level << 8) + static_cast<uint32_t>(mPresses % 8) * 16u);
    RasterFillRect(surface->GetBackBuffer(), area.left, area.top, area.W(), area.H(), colour, 1.0f, 0);
    // Text is not clipped to the area being drawn: write it only when the
    // whole control is repainted, or it would be drawn over itself.
    if (!(area == mBounds))
        return true;
    IBounds textBounds = mBounds;
    mStyle.colour = {255, 255, 255, 255};
    surface->DrawTextInBounds(mStyle, mName.c_str(), textBounds, false);
    return true;
}

//------------------------------------------------------------------------
void RecordingControl::MouseDown(int x, int y, const IMouseState& m)
{
    mLog->events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    mLog->lastMouse = m;
    ++mPresses;
    MarkDirty(false);
}

//------------------------------------------------------------------------
void RecordingControl::MouseUp(int x, int y, const IMouseState& m)
{
    mLog->events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    mLog->lastMouse = m;
}

//------------------------------------------------------------------------
void RecordingControl::MouseDrag(int x, int y, int dx, int dy, const IMouseState& m)
{
    mLog->events.push_back("drag " + std::to_string(x) + "," + std::to_string(y));
    mLog->dragDx += dx;
    mLog->dragDy += dy;
    mLog->lastMouse = m;
    mValue = std::clamp(GetValue() + dx / 100.0, 0.0, 1.0);
    MarkDirty(true);
}

//------------------------------------------------------------------------
void RecordingControl::MouseDoubleClick(int x, int y, const IMouseState& m)
{
    mLog->events.push_back("dbl " + std::to_string(x) + "," + std::to_string(y));
    mLog->lastMouse = m;
}

//------------------------------------------------------------------------
bool RecordingControl::KeyPress(int, int, int key)
{
    mLog->events.push_back("key " + std::to_string(key));
    return true;
}

//------------------------------------------------------------------------
void RecordingControl::MouseHover(int x, int y, const IMouseState& m)
{
    mLog->events.push_back("hover " + std::to_string(x) + "," + std::to_string(y));
    mLog->lastMouse = m;
}

//------------------------------------------------------------------------
void RecordingControl::MouseLeave()
{
    mLog->events.push_back("leave");
}

//------------------------------------------------------------------------
void MenuControl::MouseDown(int, int, const IMouseState&)
{
    IMenuModel top(kMenuPrefixTwoDigits);
    top.AddItem("First");
    auto* sub = new IMenuModel(kMenuPrefixOneDigit);
    sub->AddItem("Inner A");
    sub->AddItem("Inner B");
    top.AddItem("More", 0, -1, sub);
    top.AddItem("Greyed", kMenuItemGreyed);
    top.AddItem("Last", kMenuItemChecked);
    ++shown;
    IMenuModel* result = mSurface->ShowPopupMenu(&top, mBounds);
    chosen = result != nullptr;
    chosenInSubmenu = result == sub;
    chosenIndex = result != nullptr ? result->ChosenIndex() : -1;
}

//------------------------------------------------------------------------
X11TestPlugin::X11TestPlugin(bool headless)
    : IFxVST3(nullptr, kNumX11TestParams, "2-2", 0, "X11Test", "", "quenby audio", 0x00010000, 1, 2, 0, false, true,
              false, 0)
{
    GetParam(kLevel)->SetupContinuous("Level", 0.25, 0.0, 1.0, 0.001);
    GetParam(kMode)->SetupEnum("Mode", 0, 3);
    GetParam(kMode)->AddValueText(0, "Clean");
    GetParam(kMode)->AddValueText(1, "Warm");
    GetParam(kMode)->AddValueText(2, "Hot");
    GetParam(kCount)->SetupInteger("Count", 50, 0, 100);
    if (headless) {
        mSurface = new IEditorSurfaceHeadless(this, kEditorWidth, kEditorHeight, 30);
    } else {
        mX11 = new IEditorSurfaceX11(this, kEditorWidth, kEditorHeight, 30);
        mSurface = mX11;
    }
    mSurface->SetHandleMouseOver(true);
    mSurface->AddControl(new ShowingControl(this, {0, 0, kEditorWidth, kEditorHeight}, -1, 0x303030, "bg"));
    rec = new RecordingControl(this, kRecBounds, kLevel, &recLog);
    mSurface->AddControl(rec);
    mSurface->AddControl(new PromptingControl(this, kModeBounds, kMode));
    mSurface->AddControl(new PromptingControl(this, kCountBounds, kCount));
    menu = new MenuControl(this, kMenuBounds);
    mSurface->AddControl(menu);
    AttachEditor(mSurface);
}

//------------------------------------------------------------------------
void X11TestPlugin::BeginInformHostOfParamChange(int idx)
{
    gestures.push_back("begin " + std::to_string(idx));
    IFxVST3::BeginInformHostOfParamChange(idx);
}

//------------------------------------------------------------------------
void X11TestPlugin::EndInformHostOfParamChange(int idx)
{
    gestures.push_back("end " + std::to_string(idx));
    IFxVST3::EndInformHostOfParamChange(idx);
}

//------------------------------------------------------------------------
OpenEditor::OpenEditor(TestDisplay& d, bool offersRunLoop, bool takesDescriptors, bool loneRunLoop)
    : display(d)
    , frame(offersRunLoop, takesDescriptors, loneRunLoop)
{
    parent = display.MakeParent(kEditorWidth + 300, kEditorHeight + 100);
    plug = new X11TestPlugin;
    view = plug->createView("editor");
    if (view == nullptr)
        return;
    view->setFrame(&frame);
    attachResult = view->attached(reinterpret_cast<void*>(static_cast<uintptr_t>(parent)), "X11EmbedWindowID");
    display.Sync();
}

//------------------------------------------------------------------------
void OpenEditor::Close()
{
    if (closed)
        return;
    closed = true;
    if (view != nullptr) {
        view->removed();
        view->setFrame(nullptr);
        view->release();
        view = nullptr;
    }
    plug->release();
    display.Destroy(parent);
}

//------------------------------------------------------------------------
OpenEditor::~OpenEditor()
{
    Close();
}

//------------------------------------------------------------------------
xcb_window_t OpenEditor::EditorWindow() const
{
    return static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(plug->Surface()->GetWindowHandle()));
}

//------------------------------------------------------------------------
int CountOpenFds()
{
    int count = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d) != nullptr)
            ++count;
        closedir(d);
    }
    return count;
}
