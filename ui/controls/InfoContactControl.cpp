#include "ui/controls/InfoContactControl.h"

#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
InfoContactControl::InfoContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip, int blendMethod)
    : ISwitchControl(plug, x, y, -1, strip, blendMethod)
{
    mPromptDisabled = true;
}

//------------------------------------------------------------------------
void InfoContactControl::MouseDown(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    mValue = 1.0;
    SetPartnerValue(*this, plug.mHandles.infoScreen, 1.0);
    ShowPartnerClean(*this, plug.mHandles.infoScreen, true);
    plug.mRedrawTicks = 25;
    MarkDirty(true);
}

//------------------------------------------------------------------------
void InfoContactControl::MouseUp(int, int, const IMouseState&)
{
    mValue = 0.0;
    MarkDirty(true);
}

//------------------------------------------------------------------------
bool InfoContactControl::HitTest(int x, int y)
{
    // The logo's name beside it takes clicks too.
    mTargetBounds.right = mTargetBounds.left + 2 * mStrip.width;
    return mTargetBounds.Contains(x, y);
}
