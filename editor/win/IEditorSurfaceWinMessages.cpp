// The editor window's procedure: the draw timer, painting, and mouse and key
// messages turned into the core's events.
#include "editor/win/IEditorSurfaceWin.h"

#include "editor/win/WinKeyMap.h"

#include <windowsx.h>

namespace {

// Client coordinates of a mouse message, signed 16 bits each.
int MouseX(LPARAM lParam) { return GET_X_LPARAM(lParam); }
int MouseY(LPARAM lParam) { return GET_Y_LPARAM(lParam); }

} // namespace

//------------------------------------------------------------------------
LRESULT CALLBACK IEditorSurfaceWin::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    auto* surface = reinterpret_cast<IEditorSurfaceWin*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (surface == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_CREATE) {
        surface->OnCreate(hwnd);
        return 0;
    }
    // A window this surface no longer regards as its own (an old window
    // still being torn down) gets default handling only.
    if (hwnd != surface->mWindow)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return surface->HandleMessage(hwnd, msg, wParam, lParam);
}

//------------------------------------------------------------------------
IMouseState IEditorSurfaceWin::MouseStateFrom(WPARAM flags) const
{
    IMouseState mouse;
    mouse.left = (flags & MK_LBUTTON) != 0;
    mouse.right = (flags & MK_RBUTTON) != 0;
    mouse.shift = (flags & MK_SHIFT) != 0;
    mouse.control = (flags & MK_CONTROL) != 0;
    // Mouse messages do not carry the Alt key.
    mouse.alt = GetKeyState(VK_MENU) < 0;
    return mouse;
}

//------------------------------------------------------------------------
LRESULT IEditorSurfaceWin::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Whatever state the editor is in, the window's end and the entry's
    // colours and the window's paint are handled: an entry that is being
    // edited must still look like the style asks, and a paint request left
    // unanswered would come back at once, forever.
    switch (msg) {
    case WM_NCDESTROY:
        OnWindowGone();
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CTLCOLOREDIT:
        if (mEntryWindow != nullptr && reinterpret_cast<HWND>(lParam) == mEntryWindow)
            return OnEntryColour(reinterpret_cast<HDC>(wParam));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        break;
    }

    // While the entry has the focus the editor only notes a click, which
    // cancels the entry at the next tick. The release of the press that
    // opened the entry still ends that press: it frees the mouse, or the
    // user's first click into the entry would land on the editor and cancel
    // it, and it closes the press's gesture for the host.
    if (mEntryWindow != nullptr && mEntryState == kEntryEditing) {
        switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            mEntryState = kEntryCancel;
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (GetCapture() == hwnd)
                ReleaseCapture();
            SurfaceMouseUp(MouseX(lParam), MouseY(lParam), MouseStateFrom(wParam));
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
    }

    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_MOUSEWHEEL:
        return 0;
    case WM_CLOSE:
        CloseEditorWindow();
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam, lParam))
            return 0;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_TIMER:
        if (wParam == kDrawTimerId) {
            OnDrawTimer();
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_MOUSEMOVE: {
        const IMouseState mouse = MouseStateFrom(wParam);
        if (mouse.left || mouse.right) {
            if (GetCapture() == hwnd && mEntryWindow == nullptr)
                SurfaceMouseDrag(MouseX(lParam), MouseY(lParam), mouse);
        } else if (SurfaceMouseHover(MouseX(lParam), MouseY(lParam), mouse)) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = hwnd;
            track.dwHoverTime = HOVER_DEFAULT;
            TrackMouseEvent(&track);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnButtonDown(MouseX(lParam), MouseY(lParam), MouseStateFrom(wParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        ReleaseCapture();
        SurfaceMouseUp(MouseX(lParam), MouseY(lParam), MouseStateFrom(wParam));
        return 0;
    case WM_MBUTTONUP:
        // The middle release is not an editor event, but the capture its
        // press took must not outlive the button: a stuck capture would
        // steal every click from the host.
        if (GetCapture() == hwnd && (wParam & (MK_LBUTTON | MK_RBUTTON)) == 0)
            ReleaseCapture();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (SurfaceMouseDoubleClick(MouseX(lParam), MouseY(lParam), MouseStateFrom(wParam)))
            SetCapture(hwnd);
        return 0;
    case WM_MOUSELEAVE:
        SurfaceMouseLeave();
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::OnPaint()
{
    RECT update{};
    if (GetUpdateRect(mWindow, &update, FALSE)) {
        mInPaint = true;
        RedrawBounds(IBounds{update.left, update.top, update.right, update.bottom});
        mInPaint = false;
    }
    // RedrawBounds presents nothing without controls: close the paint
    // bracket anyway so the request is answered.
    if (GetUpdateRect(mWindow, nullptr, FALSE)) {
        PAINTSTRUCT ps{};
        BeginPaint(mWindow, &ps);
        EndPaint(mWindow, &ps);
    }
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::OnDrawTimer()
{
    if (mEntryWindow != nullptr && mEntryState != kEntryIdle) {
        if (mEntryState == kEntryCancel)
            CloseTextEntry(false);
        else if (mEntryState == kEntryCommit)
            CloseTextEntry(true);
        else
            mEntryState = kEntryIdle;
        return;
    }
    IBounds dirty;
    const bool anyDirty = DrawTick(dirty);
    // The tick hook may have closed the window; a null window here would
    // mean the whole desktop to the calls below.
    if (mWindow == nullptr)
        return;
    if (anyDirty) {
        RECT r{dirty.left, dirty.top, dirty.right, dirty.bottom};
        InvalidateRect(mWindow, &r, FALSE);
    }
    if (mEntryWindow != nullptr && mEntryControl != nullptr) {
        // The entry lies over its control: painting there would hide it.
        const IBounds& b = mEntryControl->GetBounds();
        RECT r{b.left, b.top, b.right, b.bottom};
        ValidateRect(mWindow, &r);
        UpdateWindow(mWindow);
        mEntryState = kEntryDrawn;
    } else {
        UpdateWindow(mWindow);
    }
}

//------------------------------------------------------------------------
bool IEditorSurfaceWin::OnKeyDown(WPARAM virtualKey, LPARAM keyData)
{
    const int key = KeyCodeForVirtualKey(static_cast<int>(virtualKey));
    if (key >= 0) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(mWindow, &p);
        if (SurfaceKeyPress(p.x, p.y, key))
            return true;
    }
    // The host gets the keys the editor does not take. A host that hands
    // keys back to the focus window would bounce them here again; the
    // second arrival is not passed on.
    HWND root = GetAncestor(mWindow, GA_ROOT);
    if (root != nullptr && root != mWindow && !mForwardingKey) {
        mForwardingKey = true;
        SendMessageA(root, WM_KEYDOWN, virtualKey, keyData);
        mForwardingKey = false;
    }
    return false;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::OnButtonDown(int x, int y, const IMouseState& mouse)
{
    if (mEntryWindow != nullptr) {
        // A click outside the entry drops it unapplied and shows the
        // control under it again.
        CloseTextEntry(false);
        RECT all{0, 0, mWidth, mHeight};
        InvalidateRect(mWindow, &all, FALSE);
        UpdateWindow(mWindow);
    }
    HWND window = mWindow;
    SetFocus(window);
    SetCapture(window);
    SurfaceMouseDown(x, y, mouse);
}
