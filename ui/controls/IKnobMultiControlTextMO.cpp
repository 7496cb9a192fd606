#include "ui/controls/IKnobMultiControlTextMO.h"

#include "editor/IBitmapControl.h"
#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
IKnobMultiControlTextMO::IKnobMultiControlTextMO(IFxBase* plug, const IBounds& bounds, int paramIdx,
                                                 const IBitmapStrip& strip, const ITextStyle& promptStyle,
                                                 int direction, double gearing, double plate)
    : IKnobControl(plug, bounds, paramIdx)
    , mValueTextBounds{bounds.left - 21, bounds.bottom - 17, bounds.right + 26, bounds.bottom - 3}
    , mBitmapBounds{bounds.left, bounds.top, bounds.left + strip.FrameWidth(), bounds.top + strip.FrameHeight()}
    , mStrip(strip)
    , mPlate(plate)
    , mLastSeen(mValue)
{
    mDirection = direction;
    mGearing = gearing;
    mStyle = promptStyle;
    mPromptDisabled = false;
}

//------------------------------------------------------------------------
void IKnobMultiControlTextMO::MouseDown(int x, int y, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    mLastSeen = mValue;
    if (mValueTextBounds.Contains(x, y) || mouse.right) {
        PromptForValue(mValueTextBounds);
        plug.mUserInteracting = true;
        plug.mGuiEdit = true;
        return;
    }
    MouseDrag(x, y, 0, 0, mouse);
    MouseHover(x, y, mouse);
    plug.mUserInteracting = true;
    plug.mRedrawTicks = 12;
    plug.SetHighlightTicks(185, false);
}

//------------------------------------------------------------------------
void IKnobMultiControlTextMO::MouseDrag(int x, int y, int, int dy, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    const double gearing = (mouse.shift || mouse.control) ? mGearing * 10.0 : mGearing;
    // top - bottom is minus the height: dragging up turns the knob up, by
    // one gearing-th of the range per knob height.
    mValue = mValue + dy / static_cast<double>(mBounds.top - mBounds.bottom) / gearing;
    plug.SetHighlightTicks(185, false);
    MarkDirty(true);
    plug.mHoverActive = false;
    MouseHover(x, y, mouse);
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    mDragged = true;
}

//------------------------------------------------------------------------
void IKnobMultiControlTextMO::MouseUp(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    if (mDragged && mValue != mLastSeen)
        plug.mSettingsChanged = true;
    plug.mUserInteracting = false;
}

//------------------------------------------------------------------------
void IKnobMultiControlTextMO::MouseDoubleClick(int, int, const IMouseState&)
{
    const double def = mDefaultValue;
    if (def < 0.0)
        return;
    Ostrand& plug = OstrandOf(*this);
    mValue = def;
    plug.mSettingsChanged = true;
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    MarkDirty(true);
}

//------------------------------------------------------------------------
void IKnobMultiControlTextMO::MouseHover(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    if (plug.mHoverActive)
        return;
    plug.RevealReadout(mPlate);
    plug.mHoverActive = true;
}

//------------------------------------------------------------------------
void IKnobMultiControlTextMO::MouseLeave()
{
    OstrandOf(*this).mHoverActive = false;
}

//------------------------------------------------------------------------
bool IKnobMultiControlTextMO::Paint(IEditorSurface* surface)
{
    surface->BlitStripFrame(mStrip, mBitmapBounds, IBitmapControl::FrameForValue(mStrip.frames, mValue), &mBlend);
    return true;
}
