#include "ui/controls/NudgeContactControl.h"

#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
NudgeContactControl::NudgeContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip, bool down,
                                         int blendMethod)
    : IBitmapControl(plug, x, y, -1, strip, blendMethod), mDown(down)
{
}

//------------------------------------------------------------------------
double NudgeContactControl::NudgedDelay(double b, bool down, bool evenOnly)
{
    // With even delays only, an odd delay first moves one unit away from
    // zero onto the even grid, and every click then steps by two. From 1
    // down and from -1 up the plain step of one already lands on 0.
    const bool even = static_cast<long long>(b) % 2 == 0;
    if (down) {
        if (!evenOnly || b == 1.0)
            return b - 1.0;
        return even ? b - 2.0 : (b > 0.0 ? b - 1.0 : b - 3.0);
    }
    if (!evenOnly || b == -1.0)
        return b + 1.0;
    return even ? b + 2.0 : (b > 0.0 ? b + 3.0 : b + 1.0);
}

//------------------------------------------------------------------------
void NudgeContactControl::MouseDown(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    plug.mFaderDragging = false;
    IFxParam* delay = plug.GetParam(kParamDelay);
    mValue = 1.0;
    if (delay != nullptr && mSurface != nullptr) {
        const double c = NudgedDelay(delay->Value(), mDown, plug.mEvenDelayOnly);
        // The surface brackets the edit for the host: this button has no
        // parameter of its own, so no press gesture covers it.
        mSurface->SetParameterFromEditor(kParamDelay, NormalizedFromPlain(*delay, c));
    }
    plug.mSettingsChanged = true;
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    plug.mIntroTicks = 0;
    plug.mRedrawTicks = 25;
    MarkDirty(true);
}

//------------------------------------------------------------------------
void NudgeContactControl::MouseUp(int, int, const IMouseState&)
{
    mValue = 0.0;
    OstrandOf(*this).mUserInteracting = false;
    MarkDirty(true);
}
