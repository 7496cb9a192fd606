// The Windows editor surface: the window's lifetime, presenting the back
// buffer, resizing, the pointer and bitmap resources.
#include "editor/win/IEditorSurfaceWin.h"

#include "framework/IFxBase.h"
#include "raster/RasterResources.h"

#include <cctype>
#include <cstring>

namespace {

// Editor windows open in this process. The window class is registered while
// it is above zero. Only the UI thread opens and closes editor windows.
int gOpenWindows = 0;

//------------------------------------------------------------------------
bool EndsWithPng(const char* fileName)
{
    if (fileName == nullptr)
        return false;
    const char* dot = std::strrchr(fileName, '.');
    if (dot == nullptr || std::strlen(dot) != 4)
        return false;
    return std::tolower(static_cast<unsigned char>(dot[1])) == 'p' &&
           std::tolower(static_cast<unsigned char>(dot[2])) == 'n' &&
           std::tolower(static_cast<unsigned char>(dot[3])) == 'g';
}

//------------------------------------------------------------------------
// A child window that is not an MDI child: its parent is the one to resize.
bool IsPlainChild(HWND hwnd)
{
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    return (style & WS_CHILD) != 0 && (exStyle & WS_EX_MDICHILD) == 0;
}

//------------------------------------------------------------------------
void ResizeBy(HWND hwnd, int dx, int dy)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left + dx, r.bottom - r.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

//------------------------------------------------------------------------
IEditorSurfaceWin::IEditorSurfaceWin(IFxBase* plug, int width, int height, int refreshRate)
    : IEditorSurface(plug, width, height, refreshRate)
    , mModuleInstance(static_cast<HMODULE>(RasterThisModule()))
{
}

//------------------------------------------------------------------------
IEditorSurfaceWin::~IEditorSurfaceWin()
{
    CloseEditorWindow();
    delete[] mCustomColours;
}

//------------------------------------------------------------------------
int IEditorSurfaceWin::OpenWindowCount()
{
    return gOpenWindows;
}

//------------------------------------------------------------------------
UINT IEditorSurfaceWin::TimerPeriodMs(int refreshRate)
{
    const int rate = refreshRate > 0 ? refreshRate : 30;
    const UINT period = static_cast<UINT>(1000.0 / rate);
    return period > 0 ? period : 1;
}

//------------------------------------------------------------------------
bool IEditorSurfaceWin::RegisterWindowClass()
{
    if (gOpenWindows == 0) {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = mModuleInstance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = kWindowClassName;
        // A class left behind by a module that was unloaded without closing
        // its windows would make registration fail; it is ours to replace.
        if (RegisterClassA(&wc) == 0) {
            UnregisterClassA(kWindowClassName, mModuleInstance);
            if (RegisterClassA(&wc) == 0)
                return false;
        }
    }
    ++gOpenWindows;
    mHoldsClass = true;
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::ReleaseWindowClass()
{
    if (!mHoldsClass)
        return;
    mHoldsClass = false;
    if (gOpenWindows > 0 && --gOpenWindows == 0)
        UnregisterClassA(kWindowClassName, mModuleInstance);
}

//------------------------------------------------------------------------
bool IEditorSurfaceWin::OpenEditorWindow(void* parent)
{
    HWND parentWindow = static_cast<HWND>(parent);
    int x = 0;
    int y = 0;
    int w = mWidth;
    int h = mHeight;
    if (mWindow != nullptr) {
        // A re-open keeps the window's place and size under the new parent.
        RECT r{};
        GetWindowRect(mWindow, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(mWindow), reinterpret_cast<POINT*>(&r), 2);
        x = r.left;
        y = r.top;
        w = r.right - r.left;
        h = r.bottom - r.top;
    }
    CloseEditorWindow();

    // A host may hand over a stale or foreign handle: refuse it here rather
    // than let window creation guess.
    if (parentWindow == nullptr || !IsWindow(parentWindow))
        return false;
    mParentWindow = parentWindow;
    if (!RegisterWindowClass())
        return false;

    HWND created = CreateWindowExA(0, kWindowClassName, kWindowTitle, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x,
                                   y, w, h, parentWindow, nullptr, mModuleInstance, this);
    if (created == nullptr) {
        mWindow = nullptr;
        ReleaseWindowClass();
        return false;
    }
    mWindow = created;
    MarkAllControlsDirty();
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::OnCreate(HWND hwnd)
{
    mWindow = hwnd;
    SetTimer(hwnd, kDrawTimerId, TimerPeriodMs(mRefreshRate), nullptr);
    SetFocus(hwnd);
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::OnWindowGone()
{
    // The window is being destroyed, by us or with its parent: its timer and
    // its user data go with it, and nothing may use the handle afterwards.
    if (mWindow != nullptr) {
        KillTimer(mWindow, kDrawTimerId);
        SetWindowLongPtrA(mWindow, GWLP_USERDATA, 0);
    }
    if (mEntryWindow != nullptr)
        CloseTextEntry(false);
    if (GetCapture() == mWindow && mWindow != nullptr)
        ReleaseCapture();
    mWindow = nullptr;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::CloseEditorWindow()
{
    if (mWindow != nullptr) {
        HWND window = mWindow;
        if (IsWindow(window))
            DestroyWindow(window);  // WM_NCDESTROY runs OnWindowGone
        if (mWindow != nullptr)
            OnWindowGone();
    }
    ReleaseWindowClass();
}

//------------------------------------------------------------------------
bool IEditorSurfaceWin::PresentBounds(const IBounds& bounds)
{
    if (mWindow == nullptr)
        return true;
    RasterSysBitmap* back = GetBackBuffer();
    HDC source = back != nullptr ? static_cast<HDC>(back->GetDrawingContext()) : nullptr;
    PAINTSTRUCT ps{};
    // Inside WM_PAINT the paint bracket validates what was painted; a present
    // asked for at any other time draws straight into the window.
    HDC target = mInPaint ? BeginPaint(mWindow, &ps) : GetDC(mWindow);
    if (target != nullptr && source != nullptr)
        BitBlt(target, bounds.left, bounds.top, bounds.W(), bounds.H(), source, bounds.left, bounds.top, SRCCOPY);
    if (mInPaint)
        EndPaint(mWindow, &ps);
    else if (target != nullptr)
        ReleaseDC(mWindow, target);
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::ResizeEditor(int width, int height)
{
    if (width == mWidth && height == mHeight)
        return;
    const int oldWidth = mWidth;
    const int oldHeight = mHeight;
    // The core destroys every control: an open entry would be left editing
    // a control that no longer exists.
    CloseTextEntry(false);
    IEditorSurface::ResizeEditor(width, height);
    if (mWindow == nullptr)
        return;

    RECT outer{};
    GetWindowRect(mWindow, &outer);
    HWND parent = nullptr;
    HWND grandparent = nullptr;
    if (IsPlainChild(mWindow)) {
        parent = GetParent(mWindow);
        if (parent != nullptr && IsPlainChild(parent))
            grandparent = GetParent(parent);
    }
    const int dx = width - oldWidth;
    const int dy = height - oldHeight;
    SetWindowPos(mWindow, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int host = mPlug != nullptr ? mPlug->HostCode() : 0;
    if (host != 1 && host != 3) {
        if (parent != nullptr)
            ResizeBy(parent, dx, dy);
        if (grandparent != nullptr)
            ResizeBy(grandparent, dx, dy);
    }
    RECT all{0, 0, width, height};
    InvalidateRect(mWindow, &all, FALSE);
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::HideCursor()
{
    if (mCursorHidden)
        return;
    POINT p{};
    GetCursorPos(&p);
    mHiddenCursorX = p.x;
    mHiddenCursorY = p.y;
    ShowCursor(FALSE);
    mCursorHidden = true;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::RestoreCursor()
{
    if (!mCursorHidden)
        return;
    SetCursorPos(mHiddenCursorX, mHiddenCursorY);
    ShowCursor(TRUE);
    mCursorHidden = false;
}

//------------------------------------------------------------------------
RasterBitmap* IEditorSurfaceWin::LoadPlatformBitmap(int resourceId, const char* fileName)
{
    if (!EndsWithPng(fileName))
        return nullptr;
    return OpenPngResource(mModuleInstance, resourceId);
}
