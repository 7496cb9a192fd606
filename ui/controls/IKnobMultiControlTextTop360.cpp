#include "ui/controls/IKnobMultiControlTextTop360.h"

#include "editor/IBitmapControl.h"
#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
IKnobMultiControlTextTop360::IKnobMultiControlTextTop360(IFxBase* plug, const IBounds& bounds, int paramIdx,
                                                         const IBitmapStrip& strip, const ITextStyle& promptStyle,
                                                         int direction, double gearing, double plate)
    : IKnobControl(plug, bounds, paramIdx)
    , mValueTextBounds{bounds.left - 6, bounds.top - 1, bounds.right - 5, bounds.top + 13}
    , mBitmapBounds{bounds.left, bounds.top + 20, bounds.left + strip.FrameWidth(),
                    bounds.top + 20 + strip.FrameHeight()}
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
void IKnobMultiControlTextTop360::MouseDown(int x, int y, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    mValueAtPress = mValue;
    if (mValueTextBounds.Contains(x, y)) {
        PromptForValue(mValueTextBounds);
        plug.mGuiEdit = true;
    } else {
        if (mouse.right) {
            // Mirror the angle: +90 degrees becomes -90.
            if (const IFxParam* param = plug.GetParam(mParamIdx))
                mValue = NormalizedFromPlain(*param, -PlainFromNormalized(*param, mValue));
            plug.mUserInteracting = true;
            plug.RevealReadout(mPlate);
            MarkDirty(true);
        }
        MouseDrag(x, y, 0, 0, mouse);
    }
    plug.mUserInteracting = true;
}

//------------------------------------------------------------------------
void IKnobMultiControlTextTop360::MouseDrag(int, int, int dx, int dy, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    const double gearing = (mouse.shift || mouse.control) ? mGearing * 10.0 : mGearing;
    // Endless: the value rests at exactly 0 or 1 at the ends (MarkDirty
    // clamps), and a movement further on continues from the other end.
    double value = mValue;
    if (value == 1.0 && (dy < 0 || dx > 0))
        value = 0.0;
    if (value == 0.0 && (dy > 0 || dx < 0))
        value = 1.0;
    value = value + dy / static_cast<double>(mBounds.top - mBounds.bottom) / gearing +
            dx / static_cast<double>(mBounds.right - mBounds.left) / gearing;
    mValue = value;
    if (!plug.mHoverActive && value != mLastSeen) {
        plug.mAngleDragged = true;
        plug.mHoverActive = true;
        mLastSeen = value;
    }
    MarkDirty(true);
    if (mSurface != nullptr)
        mSurface->MarkAllControlsDirty();
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    mDragged = true;
}

//------------------------------------------------------------------------
void IKnobMultiControlTextTop360::MouseUp(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    if (mDragged && mValue != mValueAtPress)
        plug.mSettingsChanged = true;
    plug.mUserInteracting = false;
    plug.SetHighlightTicks(36, false);
    plug.mRedrawTicks = 25;
    plug.mHoverActive = false;
    mLastSeen = mValue;
}

//------------------------------------------------------------------------
void IKnobMultiControlTextTop360::MouseDoubleClick(int, int, const IMouseState&)
{
    const double def = mDefaultValue;
    if (def < 0.0)
        return;
    Ostrand& plug = OstrandOf(*this);
    mValue = def;
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    mDragged = true;
    MarkDirty(true);
}

//------------------------------------------------------------------------
bool IKnobMultiControlTextTop360::Paint(IEditorSurface* surface)
{
    surface->BlitStripFrame(mStrip, mBitmapBounds, IBitmapControl::FrameForValue(mStrip.frames, mValue), &mBlend);
    return true;
}
