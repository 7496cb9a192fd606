// The X11 editor window: opening, closing, events, ticks and presenting.
#include "editor/x11/IEditorSurfaceX11.h"

#include "editor/x11/X11Display.h"
#include "editor/x11/X11KeyMap.h"
#include "editor/x11/X11PopupMenu.h"
#include "editor/x11/X11Presenter.h"
#include "editor/x11/X11TextEntry.h"

#include "pluginterfaces/gui/iplugview.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<bool> gAllowSharedMemory{true};

// Two left presses this close in time and place make a double-click.
constexpr uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 2;

// XEMBED_INFO: protocol version 0, mapped.
constexpr uint32_t kXembedInfo[2] = {0, 1};
constexpr uint32_t kXembedWindowDeactivate = 2;
constexpr uint32_t kXembedFocusOut = 5;

constexpr uint32_t kWindowEvents = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
                                   XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                                   XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW |
                                   XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                                   XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

// The mouse state of an event; a press adds its button, a release removes it.
IMouseState MouseStateOf(uint16_t state, uint16_t altMask, int button, bool press, bool release)
{
    IMouseState m;
    m.left = (state & XCB_BUTTON_MASK_1) != 0;
    m.right = (state & XCB_BUTTON_MASK_3) != 0;
    if (button == 1)
        m.left = press ? true : (release ? false : m.left);
    if (button == 3)
        m.right = press ? true : (release ? false : m.right);
    m.shift = (state & XCB_MOD_MASK_SHIFT) != 0;
    m.control = (state & XCB_MOD_MASK_CONTROL) != 0;
    m.alt = (state & altMask) != 0;
    return m;
}

} // namespace

//------------------------------------------------------------------------
IEditorSurfaceX11::IEditorSurfaceX11(IFxBase* plug, int width, int height, int refreshRate)
    : IEditorSurface(plug, width, height, refreshRate)
{
}

//------------------------------------------------------------------------
IEditorSurfaceX11::~IEditorSurfaceX11()
{
    CloseEditorWindow();
    SetHostRunLoop(nullptr);
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::AllowSharedMemory(bool allow)
{
    gAllowSharedMemory = allow;
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::SetHostRunLoop(void* runLoop)
{
    auto* fresh = static_cast<Steinberg::Linux::IRunLoop*>(runLoop);
    if (fresh == mRunLoop)
        return;
    if (fresh != nullptr)
        fresh->addRef();
    if (mRunLoop != nullptr) {
        mLoop.Stop();  // nothing may stay registered with the old loop
        static_cast<Steinberg::Linux::IRunLoop*>(mRunLoop)->release();
    }
    mRunLoop = fresh;
    if (mDisplay != nullptr)
        mLoop.Start(static_cast<Steinberg::Linux::IRunLoop*>(mRunLoop), mDisplay->FileDescriptor(),
                    static_cast<int>(1000.0 / RefreshRate()));
}

//------------------------------------------------------------------------
bool IEditorSurfaceX11::OpenEditorWindow(void* parent)
{
    CloseEditorWindow();
    const auto parentValue = reinterpret_cast<uintptr_t>(parent);
    if (parentValue == 0 || parentValue > 0xffffffffu)
        return false;
    auto display = std::make_unique<X11Display>();
    if (!display->IsUsable())
        return false;
    xcb_connection_t* c = display->Connection();
    const auto parentId = static_cast<xcb_window_t>(parentValue);
    const xcb_window_t window = xcb_generate_id(c);
    // Own depth, visual and colormap: the host's window may use others.
    uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, kWindowEvents, display->Screen()->default_colormap};
    auto cookie = xcb_create_window_checked(
        c, display->Format().depth, window, parentId, 0, 0, static_cast<uint16_t>(Width() > 0 ? Width() : 1),
        static_cast<uint16_t>(Height() > 0 ? Height() : 1), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, display->Visual(),
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
        std::free(error);  // no such parent: the connection goes with display
        return false;
    }
    if (display->xembedInfo != XCB_ATOM_NONE)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, display->xembedInfo, display->xembedInfo, 32, 2,
                            kXembedInfo);
    mDisplay = std::move(display);
    mWindow = window;
    mParent = parentId;
    mWindowGone = false;
    mPresenter = std::make_unique<X11Presenter>(*mDisplay, mWindow, Width(), Height(), gAllowSharedMemory);
    xcb_map_window(c, mWindow);
    mTopLevel = mDisplay->TopLevelOf(mParent);
    MarkAllControlsDirty();
    mLoop.Start(static_cast<Steinberg::Linux::IRunLoop*>(mRunLoop), mDisplay->FileDescriptor(),
                static_cast<int>(1000.0 / RefreshRate()));
    Tick();
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::CloseEditorWindow()
{
    if (mDisplay == nullptr)
        return;
    mLoop.Stop();
    CloseTextEntry();
    ReleaseWindow();
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::ReleaseWindow()
{
    mPresenter.reset();
    if (mDisplay != nullptr) {
        if (mWindow != 0 && !mWindowGone)
            xcb_destroy_window(mDisplay->Connection(), mWindow);
        xcb_flush(mDisplay->Connection());
    }
    // Disconnecting frees whatever the server still holds for us.
    mDisplay.reset();
    mWindow = mParent = mTopLevel = 0;
    mWindowGone = false;
    mCaptured = mLeaveWanted = mClickPending = false;
    mForwardedKeys.reset();
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::DropBrokenConnection()
{
    mLoop.Stop();
    mEntry.reset();
    mEntryControl = nullptr;
    mEntryParam = nullptr;
    mEntryState = 0;
    ReleaseWindow();
}

//------------------------------------------------------------------------
void* IEditorSurfaceX11::GetWindowHandle()
{
    if (mDisplay == nullptr || mWindow == 0 || mWindowGone)
        return nullptr;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow));
}

//------------------------------------------------------------------------
bool IEditorSurfaceX11::UsesSharedMemory() const
{
    return mPresenter != nullptr && mPresenter->UsesSharedMemory();
}

//------------------------------------------------------------------------
uint32_t IEditorSurfaceX11::TextEntryWindow() const
{
    return mEntry != nullptr ? mEntry->Window() : 0;
}

//------------------------------------------------------------------------
bool IEditorSurfaceX11::PresentBounds(const IBounds& bounds)
{
    RasterSysBitmap* back = GetBackBuffer();
    if (mPresenter != nullptr && !mWindowGone && back != nullptr)
        mPresenter->Present(*back, bounds.left, bounds.top, bounds.right, bounds.bottom);
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::OnConnectionReadable()
{
    ProcessEvents();
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::OnTimer()
{
    // Events read while waiting for a reply sit in the queue without the
    // descriptor becoming readable again: take them here too.
    ProcessEvents();
    Tick();
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::ProcessEvents()
{
    while (mDisplay != nullptr) {
        xcb_generic_event_t* ev = xcb_poll_for_event(mDisplay->Connection());
        if (ev == nullptr)
            break;
        Dispatch(ev);
        std::free(ev);
    }
    if (mDisplay != nullptr && xcb_connection_has_error(mDisplay->Connection()) != 0)
        DropBrokenConnection();
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::Tick()
{
    if (mDisplay == nullptr)
        return;
    if (mEntry != nullptr && mEntryState == kEntryCancel) {
        CloseTextEntry();
        return;
    }
    if (mEntry != nullptr && mEntryState == kEntryCommit) {
        std::string text = mEntry->Line().Text();
        IControl* control = mEntryControl;
        IFxParam* param = mEntryParam;
        CloseTextEntry();
        ApplyTextEntry(control, param, text.c_str());
        return;
    }
    IBounds dirty;
    if (DrawTick(dirty))
        RedrawBounds(dirty);
    if (mDisplay != nullptr)
        xcb_flush(mDisplay->Connection());
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::Dispatch(xcb_generic_event_t* ev)
{
    const uint8_t type = static_cast<uint8_t>(ev->response_type & 0x7f);
    const xcb_window_t entryWindow = mEntry != nullptr ? mEntry->Window() : 0;
    switch (type) {
    case 0:
        break;  // an error on our own connection: nothing to do
    case XCB_EXPOSE: {
        auto* e = reinterpret_cast<xcb_expose_event_t*>(ev);
        if (e->window == mWindow)
            PresentBounds({e->x, e->y, e->x + e->width, e->y + e->height});
        else if (e->window == entryWindow && e->count == 0)
            mEntry->Draw();
        break;
    }
    case XCB_BUTTON_PRESS: {
        auto* e = reinterpret_cast<xcb_button_press_event_t*>(ev);
        if (e->event == mWindow)
            OnButtonPress(*e);
        else if (e->event == entryWindow && e->detail == 1)
            mEntry->OnPress(e->event_x);
        break;
    }
    case XCB_BUTTON_RELEASE: {
        auto* e = reinterpret_cast<xcb_button_release_event_t*>(ev);
        if (e->event == mWindow)
            OnButtonRelease(*e);
        break;
    }
    case XCB_MOTION_NOTIFY: {
        auto* e = reinterpret_cast<xcb_motion_notify_event_t*>(ev);
        if (e->event == mWindow)
            OnMotion(*e);
        break;
    }
    case XCB_LEAVE_NOTIFY: {
        auto* e = reinterpret_cast<xcb_leave_notify_event_t*>(ev);
        // Into our own entry, or a grab starting in place, is no leaving.
        if (e->event == mWindow && e->detail != XCB_NOTIFY_DETAIL_INFERIOR && e->mode != XCB_NOTIFY_MODE_GRAB &&
            mLeaveWanted) {
            mLeaveWanted = false;
            SurfaceMouseLeave();
        }
        break;
    }
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        auto* e = reinterpret_cast<xcb_key_press_event_t*>(ev);
        if (e->event == entryWindow && entryWindow != 0) {
            if (type == XCB_KEY_PRESS && mEntryState == kEntryEditing &&
                mEntry->OnKey(mDisplay->KeysymFor(e->detail, e->state), e->state) == X11TextEntry::kKeyCommit)
                mEntryState = kEntryCommit;  // applied by the next tick
        } else if (e->event == mWindow) {
            OnKey(*e, type == XCB_KEY_PRESS);
        }
        break;
    }
    case XCB_FOCUS_OUT: {
        auto* e = reinterpret_cast<xcb_focus_out_event_t*>(ev);
        if (e->event == entryWindow && entryWindow != 0 && e->mode != XCB_NOTIFY_MODE_UNGRAB &&
            e->detail != XCB_NOTIFY_DETAIL_INFERIOR && e->detail != XCB_NOTIFY_DETAIL_POINTER &&
            mEntryState == kEntryEditing)
            mEntryState = kEntryCancel;
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        auto* e = reinterpret_cast<xcb_destroy_notify_event_t*>(ev);
        if (e->window == mWindow)
            mWindowGone = true;  // its parent went first
        break;
    }
    case XCB_MAPPING_NOTIFY:
        mDisplay->ForgetKeyboard();
        break;
    case XCB_CLIENT_MESSAGE: {
        auto* e = reinterpret_cast<xcb_client_message_event_t*>(ev);
        if (e->type == mDisplay->xembed && e->format == 32 &&
            (e->data.data32[1] == kXembedFocusOut || e->data.data32[1] == kXembedWindowDeactivate))
            CancelTextEntry();
        break;
    }
    default:
        if (type == mDisplay->ShmCompletionType() && mDisplay->ShmCompletionType() != 0 && mPresenter != nullptr)
            mPresenter->OnShmCompletion();
        break;
    }
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::OnButtonPress(const xcb_button_press_event_t& e)
{
    if (e.detail < 1 || e.detail > 3)
        return;  // the wheel and extra buttons are not the editor's
    if (mEntry != nullptr)
        CloseTextEntry();  // a click elsewhere cancels the entry
    xcb_set_input_focus(mDisplay->Connection(), XCB_INPUT_FOCUS_PARENT, mWindow, e.time);
    const IMouseState mouse = MouseStateOf(e.state, mDisplay->AltMask(), e.detail, true, false);
    const int x = e.event_x, y = e.event_y;
    if (e.detail == 1) {
        const bool twice = mClickPending && e.time - mLastClickTime <= kDoubleClickMs &&
                           std::abs(x - mLastClickX) <= kDoubleClickSlop && std::abs(y - mLastClickY) <= kDoubleClickSlop;
        if (twice) {
            mClickPending = false;
            if (SurfaceMouseDoubleClick(x, y, mouse))
                mCaptured = true;
            return;
        }
        mClickPending = true;
        mLastClickTime = e.time;
        mLastClickX = x;
        mLastClickY = y;
    } else {
        mClickPending = false;
    }
    mCaptured = true;
    SurfaceMouseDown(x, y, mouse);
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::OnButtonRelease(const xcb_button_release_event_t& e)
{
    const uint16_t held = e.state & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3);
    const uint16_t mine = static_cast<uint16_t>(XCB_BUTTON_MASK_1 << (e.detail - 1));
    if (e.detail >= 1 && e.detail <= 3 && (held & ~mine) == 0)
        mCaptured = false;
    if (e.detail != 1 && e.detail != 3)
        return;  // the middle button's release is not delivered
    SurfaceMouseUp(e.event_x, e.event_y, MouseStateOf(e.state, mDisplay->AltMask(), e.detail, false, true));
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::OnMotion(const xcb_motion_notify_event_t& e)
{
    const IMouseState mouse = MouseStateOf(e.state, mDisplay->AltMask(), 0, false, false);
    if (mouse.left || mouse.right) {
        if (mCaptured && mEntry == nullptr)
            SurfaceMouseDrag(e.event_x, e.event_y, mouse);
    } else if (SurfaceMouseHover(e.event_x, e.event_y, mouse)) {
        mLeaveWanted = true;
    }
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::OnKey(const xcb_key_press_event_t& e, bool press)
{
    if (!press) {
        // Releases follow their presses to the host.
        if (mForwardedKeys.test(e.detail)) {
            mForwardedKeys.reset(e.detail);
            ForwardKeyToHost(e);
        }
        return;
    }
    const int code = X11EditorKeyCode(mDisplay->KeysymFor(e.detail, e.state));
    if (code >= 0 && SurfaceKeyPress(e.event_x, e.event_y, code))
        return;
    if (mDisplay == nullptr)
        return;
    mForwardedKeys.set(e.detail);
    ForwardKeyToHost(e);
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::ForwardKeyToHost(const xcb_key_press_event_t& e)
{
    if (mTopLevel == 0 || mDisplay == nullptr)
        return;
    // The host's toolkit reads keys on its top-level window.
    xcb_key_press_event_t copy = e;
    copy.event = mTopLevel;
    copy.child = XCB_NONE;
    const uint32_t mask = (e.response_type & 0x7f) == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS
                                                                    : XCB_EVENT_MASK_KEY_RELEASE;
    xcb_send_event(mDisplay->Connection(), 0, mTopLevel, mask, reinterpret_cast<const char*>(&copy));
    xcb_flush(mDisplay->Connection());
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& bounds,
                                      const char* text, IFxParam* param)
{
    if (control == nullptr || mEntry != nullptr || mDisplay == nullptr || mWindowGone)
        return;
    auto filter = [param](int c) { return EntryAcceptsChar(param, c); };
    mEntry = std::make_unique<X11TextEntry>(*mDisplay, mWindow, style, bounds, text, control->mEntryMaxChars, filter);
    mEntryControl = control;
    mEntryParam = param;
    mEntryState = kEntryEditing;
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::CancelTextEntry()
{
    if (mEntry != nullptr)
        mEntryState = kEntryCancel;
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::CloseTextEntry()
{
    mEntry.reset();
    mEntryControl = nullptr;
    mEntryParam = nullptr;
    mEntryState = 0;
}

//------------------------------------------------------------------------
IMenuModel* IEditorSurfaceX11::ShowPopupMenu(IMenuModel* menu, const IBounds& bounds)
{
    DropMouseCapture();
    mCaptured = false;
    if (menu == nullptr || mDisplay == nullptr || mWindowGone || mInMenu)
        return nullptr;
    xcb_connection_t* c = mDisplay->Connection();
    int rootX = bounds.left, rootY = bounds.bottom;
    auto cookie = xcb_translate_coordinates(c, mWindow, mDisplay->Root(), static_cast<int16_t>(bounds.left),
                                            static_cast<int16_t>(bounds.bottom));
    if (auto* r = xcb_translate_coordinates_reply(c, cookie, nullptr)) {
        rootX = r->dst_x;
        rootY = r->dst_y;
        std::free(r);
    }
    mInMenu = true;
    IMenuModel* chosen = nullptr;
    {
        X11PopupMenu popup(*mDisplay, menu, rootX, rootY);
        chosen = popup.Run([this](xcb_generic_event_t* ev) { Dispatch(ev); },
                           [this] {
                               IBounds dirty;
                               if (DrawTick(dirty))
                                   RedrawBounds(dirty);
                           },
                           static_cast<int>(1000.0 / RefreshRate()));
    }
    mInMenu = false;
    if (mDisplay != nullptr && xcb_connection_has_error(c) != 0)
        DropBrokenConnection();
    return chosen;
}

//------------------------------------------------------------------------
void IEditorSurfaceX11::ResizeEditor(int width, int height)
{
    if (width == Width() && height == Height())
        return;
    // The entry's control is about to be destroyed with all the others.
    CloseTextEntry();
    IEditorSurface::ResizeEditor(width, height);
    if (mDisplay == nullptr || mWindowGone)
        return;
    const uint32_t size[] = {static_cast<uint32_t>(width > 0 ? width : 1), static_cast<uint32_t>(height > 0 ? height : 1)};
    xcb_configure_window(mDisplay->Connection(), mWindow, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    mPresenter = std::make_unique<X11Presenter>(*mDisplay, mWindow, Width(), Height(), gAllowSharedMemory);
    xcb_flush(mDisplay->Connection());
}
