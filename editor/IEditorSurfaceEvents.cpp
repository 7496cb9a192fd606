// Mouse and key events from the window: hit search, capture, gesture
// brackets, mouse-over and the key catcher.
#include "editor/IEditorSurface.h"

#include "framework/IFxBase.h"

//------------------------------------------------------------------------
int IEditorSurface::FindControlAt(int x, int y, bool forHover) const
{
    for (int i = NControls() - 1; i >= 0; --i) {
        IControl* control = mControls[static_cast<std::size_t>(i)];
        if (control->mHidden)
            continue;
        if (control->mGreyed && !(forHover && control->mHoverWhenGreyed))
            continue;
        if (control->HitTest(x, y))
            return i;
    }
    return -1;
}

//------------------------------------------------------------------------
void IEditorSurface::BeginGesture(int paramIdx)
{
    EndGesture();
    if (paramIdx < 0 || mPlug == nullptr)
        return;
    mGestureParam = paramIdx;
    mPlug->BeginInformHostOfParamChange(paramIdx);
}

//------------------------------------------------------------------------
void IEditorSurface::EndGesture()
{
    const int paramIdx = mGestureParam;
    mGestureParam = -1;
    if (paramIdx >= 0 && mPlug != nullptr)
        mPlug->EndInformHostOfParamChange(paramIdx);
}

//------------------------------------------------------------------------
void IEditorSurface::SurfaceMouseDown(int x, int y, const IMouseState& mouse)
{
    // A press whose release never came (a middle button) is closed first.
    EndGesture();
    mLastMouseX = -1;
    mLastMouseY = -1;
    mCaptureIndex = -1;
    const int hit = FindControlAt(x, y, false);
    if (hit < 0)
        return;
    mCaptureIndex = hit;
    mLastMouseX = x;
    mLastMouseY = y;
    IControl* control = mControls[static_cast<std::size_t>(hit)];
    // The host hears the begin before the first value the press sets (a
    // knob's press already moves it, a right-click menu may choose a value).
    BeginGesture(control->mParamIdx);
    control->MouseDown(x, y, mouse);
}

//------------------------------------------------------------------------
void IEditorSurface::SurfaceMouseUp(int x, int y, const IMouseState& mouse)
{
    const int target = mCaptureIndex >= 0 ? mCaptureIndex : FindControlAt(x, y, false);
    mLastMouseX = -1;
    mCaptureIndex = -1;
    IControl* control = GetControl(target);
    if (control != nullptr)
        control->MouseUp(x, y, mouse);
    // Ends the gesture the press began, even when a popup menu dropped the
    // capture and the release lands on another control; a release without
    // a press ends nothing.
    EndGesture();
}

//------------------------------------------------------------------------
void IEditorSurface::SurfaceMouseDrag(int x, int y, const IMouseState& mouse)
{
    IControl* control = GetControl(mCaptureIndex);
    if (control == nullptr)
        return;
    if (x == mLastMouseX && y == mLastMouseY)
        return;
    const int dx = x - mLastMouseX;
    const int dy = y - mLastMouseY;
    mLastMouseX = x;
    mLastMouseY = y;
    control->MouseDrag(x, y, dx, dy, mouse);
}

//------------------------------------------------------------------------
bool IEditorSurface::SurfaceMouseDoubleClick(int x, int y, const IMouseState& mouse)
{
    mLastMouseX = -1;
    mLastMouseY = -1;
    mCaptureIndex = -1;
    const int hit = FindControlAt(x, y, false);
    if (hit < 0)
        return false;
    EndGesture();
    IControl* control = mControls[static_cast<std::size_t>(hit)];
    const int paramIdx = control->mParamIdx;
    if (control->mDoubleClickAsPress) {
        mCaptureIndex = hit;
        mLastMouseX = x;
        mLastMouseY = y;
        // Opened like a press, so the release that follows closes it.
        BeginGesture(paramIdx);
        control->MouseDown(x, y, mouse);
        return true;
    }
    // The default value a double-click restores is one complete edit.
    BeginGesture(paramIdx);
    control->MouseDoubleClick(x, y, mouse);
    EndGesture();
    return false;
}

//------------------------------------------------------------------------
bool IEditorSurface::SurfaceMouseHover(int x, int y, const IMouseState& mouse)
{
    if (!mHandleMouseOver)
        return false;
    const int target = mCaptureIndex >= 0 ? mCaptureIndex : FindControlAt(x, y, true);
    IControl* control = GetControl(target);
    if (control == nullptr)
        return mHandleMouseOver;
    mLastMouseX = x;
    mLastMouseY = y;
    control->MouseHover(x, y, mouse);
    if (mHoverIndex >= 0 && mHoverIndex != target)
        if (IControl* old = GetControl(mHoverIndex))
            old->MouseLeave();
    mHoverIndex = target;
    return mHandleMouseOver;
}

//------------------------------------------------------------------------
void IEditorSurface::SurfaceMouseLeave()
{
    for (IControl* control : mControls)
        control->MouseLeave();
    mHoverIndex = -1;
}

//------------------------------------------------------------------------
bool IEditorSurface::SurfaceKeyPress(int x, int y, int key)
{
    const int target = mCaptureIndex >= 0 ? mCaptureIndex : FindControlAt(x, y, false);
    IControl* control = GetControl(target);
    if (control == nullptr || target == 0)
        return mKeyCatcher != nullptr ? mKeyCatcher->KeyPress(x, y, key) : false;
    return control->KeyPress(x, y, key);
}

//------------------------------------------------------------------------
void IEditorSurface::DropMouseCapture()
{
    mCaptureIndex = -1;
    mLastMouseX = -1;
}
