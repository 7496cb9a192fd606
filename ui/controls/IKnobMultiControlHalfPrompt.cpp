#include "ui/controls/IKnobMultiControlHalfPrompt.h"

#include "editor/IBitmapControl.h"
#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

#include <cmath>

namespace {

//------------------------------------------------------------------------
IBounds FaderBounds(int x, int y, const IBitmapStrip& strip)
{
    return {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()};
}

} // namespace

//------------------------------------------------------------------------
IKnobMultiControlHalfPrompt::IKnobMultiControlHalfPrompt(IFxBase* plug, int x, int y, int paramIdx,
                                                         const IBitmapStrip& strip, const ITextStyle& promptStyle,
                                                         int direction, double gearing)
    : IKnobControl(plug, FaderBounds(x, y, strip), paramIdx)
    , mBitmapBounds(FaderBounds(x, y, strip))
    , mStrip(strip)
    , mLastSeen(mValue)
{
    mValueTextBounds = {mBounds.left - 18, mBounds.bottom - 20, mBounds.right + 18, mBounds.bottom};
    mTargetBounds = {mBounds.left, mBounds.top, mBounds.right, mBounds.bottom + 5};
    mDirection = direction;
    mGearing = gearing;
    mStyle = promptStyle;
    mPromptDisabled = false;
}

//------------------------------------------------------------------------
int IKnobMultiControlHalfPrompt::RoundedDelay(double normalized) const
{
    const IFxParam* param = OstrandOf(*this).GetParam(mParamIdx);
    if (param == nullptr)
        return 0;
    const double plain = PlainFromNormalized(*param, normalized);
    // Halves go away from zero on either side of the middle.
    return normalized > 0.5 ? static_cast<int>(plain + 0.5) : static_cast<int>(std::ceil(plain - 0.5));
}

//------------------------------------------------------------------------
void IKnobMultiControlHalfPrompt::MouseDown(int, int, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    mValueAtPress = mValue;
    if (mouse.right) {
        // Mirror the delay: +3 becomes -3.
        if (const IFxParam* param = plug.GetParam(mParamIdx))
            mValue = NormalizedFromPlain(*param, -PlainFromNormalized(*param, mValue));
        plug.mUserInteracting = true;
        mDragged = true;
        MarkDirty(true);
        if (mSurface != nullptr)
            mSurface->MarkAllControlsDirty();
    }
    // Any touch of the fader ends the opening banner.
    plug.mIntroTicks = 0;
}

//------------------------------------------------------------------------
void IKnobMultiControlHalfPrompt::MouseDrag(int, int, int dx, int dy, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    const double gearing = (mouse.shift || mouse.control) ? mGearing * 10.0 : mGearing;
    // Sideways movement counts eight times as much as vertical movement.
    mValue = mValue + dy / static_cast<double>(mBounds.top - mBounds.bottom) / gearing +
             8.0 * dx / static_cast<double>(mBounds.right - mBounds.left) / gearing;
    plug.mFaderDragging = true;
    MarkDirty(true);
    if (mSurface != nullptr)
        mSurface->MarkAllControlsDirty();
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    mDragged = true;
}

//------------------------------------------------------------------------
void IKnobMultiControlHalfPrompt::MouseUp(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    int d = RoundedDelay(mValue);
    const int atPress = RoundedDelay(mValueAtPress);
    const IFxParam* param = plug.GetParam(mParamIdx);
    if (plug.mEvenDelayOnly && d % 2 != 0 && param != nullptr && mSurface != nullptr) {
        // An odd delay moves one unit away from zero; every control bound
        // to the Delay follows.
        const double even = NormalizedFromPlain(*param, d > 0 ? d + 1.0 : d - 1.0);
        mSurface->SetParameterFromEditor(mParamIdx, even);
        d = RoundedDelay(even);
    }
    if (mDragged && d != atPress)
        plug.mSettingsChanged = true;
    plug.mUserInteracting = false;
}

//------------------------------------------------------------------------
void IKnobMultiControlHalfPrompt::MouseDoubleClick(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    const double def = mDefaultValue;
    if (def >= 0.0) {
        mValue = def;
        MarkDirty(true);
    }
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    mDragged = true;
    MarkDirty(true);
    if (mSurface != nullptr)
        mSurface->MarkAllControlsDirty();
}

//------------------------------------------------------------------------
bool IKnobMultiControlHalfPrompt::Paint(IEditorSurface* surface)
{
    surface->BlitStripFrame(mStrip, mBounds, IBitmapControl::FrameForValue(mStrip.frames, mValue), &mBlend);
    return true;
}
