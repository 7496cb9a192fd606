#include "ui/controls/IKnobMultiControlScrew.h"

#include "editor/IBitmapControl.h"
#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

namespace {

//------------------------------------------------------------------------
IBounds ScrewBounds(int x, int y, const IBitmapStrip& strip)
{
    return {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()};
}

} // namespace

//------------------------------------------------------------------------
IKnobMultiControlScrew::IKnobMultiControlScrew(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                                               const char* firstAddress, const char* secondAddress,
                                               const char* caption, int direction, double gearing)
    : IKnobControl(plug, ScrewBounds(x, y, strip), paramIdx), mStrip(strip)
{
    mDirection = direction;
    mGearing = gearing;
    mPromptDisabled = true;
    CopyTextIfGiven(mFirstAddress, sizeof mFirstAddress, firstAddress);
    CopyTextIfGiven(mSecondAddress, sizeof mSecondAddress, secondAddress);
    CopyTextIfGiven(mCaption, sizeof mCaption, caption);
}

//------------------------------------------------------------------------
void IKnobMultiControlScrew::MouseDrag(int, int, int, int dy, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    // Held still while the information screen is open.
    if (PartnerValue(*this, plug.mHandles.infoScreen, 0.0) != 0.0)
        return;
    const double gearing = (mouse.shift || mouse.control) ? mGearing * 10.0 : mGearing;
    const double value = mValue + dy / static_cast<double>(mBounds.top - mBounds.bottom) / gearing;
    mValue = value;
    if (value < 0.1 && !plug.mHoverActive) {
        // Near the bottom: the logo plate makes way for the guide hint.
        plug.mRedrawTicks = 25;
        plug.SetHighlightTicks(210, false);
        ShowPartner(*this, plug.mHandles.logoPlate, false);
        plug.mLogoHoverState = 1;
        plug.mHoverActive = true;
    }
    if (value >= 0.1 && plug.mHoverActive) {
        plug.SetHighlightTicks(56, false);
        plug.mRedrawTicks = 25;
        ShowPartner(*this, plug.mHandles.logoPlate, true);
        plug.mLogoHoverState = 2;
        plug.mHoverActive = false;
    }
    if (value >= 1.0) {
        SetPartnerValue(*this, plug.mHandles.infoScreen, 1.0);
        ShowPartnerClean(*this, plug.mHandles.modeIndicator, true);
        plug.mRedrawTicks = 25;
    }
    MarkDirty(true);
}

//------------------------------------------------------------------------
void IKnobMultiControlScrew::MouseUp(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    const double value = mValue;
    if (value == 0.0 && mSurface != nullptr) {
        if (!mSurface->OpenWebAddress(mFirstAddress, mCaption, nullptr, nullptr))
            mSurface->OpenWebAddress(mSecondAddress, mCaption, nullptr, nullptr);
    }
    if (value == 1.0)
        plug.mRedrawTicks = 25;
    // The screw springs back to the middle.
    mValue = 0.5;
    MarkDirty(true);
    if (plug.mHoverActive) {
        plug.SetHighlightTicks(56, false);
        plug.mRedrawTicks = 25;
        ShowPartner(*this, plug.mHandles.logoPlate, true);
        plug.mLogoHoverState = 2;
        plug.mHoverActive = false;
    }
}

//------------------------------------------------------------------------
bool IKnobMultiControlScrew::Paint(IEditorSurface* surface)
{
    surface->BlitStripFrame(mStrip, mBounds, IBitmapControl::FrameForValue(mStrip.frames, mValue), &mBlend);
    return true;
}
