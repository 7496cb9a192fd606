#include "editor/IControl.h"

#include "editor/IEditorSurface.h"
#include "framework/IFxBase.h"

#include <cmath>

//------------------------------------------------------------------------
IControl::IControl(IFxBase* plug, const IBounds& bounds, int paramIdx, int blendMethod)
    : mPlug(plug), mBounds(bounds), mTargetBounds(bounds), mParamIdx(paramIdx)
{
    mBlend.method = blendMethod;
    mBlend.weight = 1.0f;
}

//------------------------------------------------------------------------
void IControl::MouseDown(int, int, const IMouseState&) {}
void IControl::MouseUp(int, int, const IMouseState&) {}
void IControl::MouseDrag(int, int, int, int, const IMouseState&) {}
void IControl::MouseWheel(int, int, const IMouseState&, int) {}
bool IControl::KeyPress(int, int, int) { return false; }
void IControl::MouseHover(int, int, const IMouseState&) {}
void IControl::MouseLeave() {}
void IControl::SetTextFromEntry(const char*) {}

//------------------------------------------------------------------------
void IControl::MouseDoubleClick(int, int, const IMouseState&)
{
    const double def = mDefaultValue;
    if (def >= 0.0) {
        mValue = def;
        MarkDirty(true);
    }
}

//------------------------------------------------------------------------
void IControl::SetValueFromHost(double value)
{
    // A NaN never becomes the value or the default, and never counts as a
    // change (it compares unequal to everything).
    if (std::isnan(value))
        return;
    if (mDefaultValue < 0.0) {
        mValue = value;
        mDefaultValue = value;
    }
    if (value != mValue) {
        mValue = value;
        MarkDirty(false);
        mRedrawRequest = true;
    }
}

//------------------------------------------------------------------------
void IControl::SetValueFromUser(double value)
{
    if (!std::isnan(value) && value != mValue) {
        mValue = value;
        MarkDirty(true);
        mRedrawRequest = true;
    }
}

//------------------------------------------------------------------------
void IControl::SetHidden(bool hide)
{
    mHidden = hide;
    mRedrawRequest = true;
    MarkDirty(false);
}

//------------------------------------------------------------------------
void IControl::SetGreyed(bool grey)
{
    mGreyed = grey;
    mBlend.weight = grey ? 0.25f : 1.0f;
    MarkDirty(false);
}

//------------------------------------------------------------------------
bool IControl::HitTest(int x, int y)
{
    return !mTargetBounds.IsEmpty() && mTargetBounds.Contains(x, y);
}

//------------------------------------------------------------------------
void IControl::MarkDirty(bool pushToPlug)
{
    const double v = mValue;
    const double lo = mClampLo;
    const double hi = mClampHi;
    if (std::isnan(v) || v < lo)
        mValue = lo;
    else if (v > hi)
        mValue = hi;
    mDirty = true;
    if (!pushToPlug || mPlug == nullptr || mParamIdx < 0)
        return;
    // An edit outside any gesture (a typed value applied by a later tick, a
    // control moved by the plug-in) is bracketed on its own, so the host
    // never sees a value change without a begin and an end around it.
    const bool bracket = mSurface != nullptr && !mSurface->InGesture(mParamIdx);
    if (bracket)
        mPlug->BeginInformHostOfParamChange(mParamIdx);
    mPlug->SetParameterFromGUI(mParamIdx, mValue);
    if (bracket)
        mPlug->EndInformHostOfParamChange(mParamIdx);
}

//------------------------------------------------------------------------
void IControl::MarkClean()
{
    mDirty = mRedrawRequest.Load();
    mRedrawRequest = false;
}

//------------------------------------------------------------------------
bool IControl::IsMarkedDirty()
{
    return mDirty;
}

//------------------------------------------------------------------------
void IControl::PromptForValue(const IBounds& bounds)
{
    if (mParamIdx < 0 || mPromptDisabled)
        return;
    IFxParam* param = mPlug != nullptr ? mPlug->GetParam(mParamIdx) : nullptr;
    if (mSurface != nullptr)
        mSurface->PromptForParamValue(this, param, bounds);
    mRedrawRequest = true;
}
