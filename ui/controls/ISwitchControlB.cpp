#include "ui/controls/ISwitchControlB.h"

#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
ISwitchControlB::ISwitchControlB(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                                 double ownPlate, double partnerPlate, bool hidePartner, bool showPartner,
                                 int blendMethod)
    : ISwitchControl(plug, x, y, paramIdx, strip, blendMethod)
    , mOwnPlate(ownPlate)
    , mPartnerPlate(partnerPlate)
    , mHidePartner(hidePartner)
    , mShowPartner(showPartner)
{
}

//------------------------------------------------------------------------
void ISwitchControlB::MouseDown(int x, int y, const IMouseState& mouse)
{
    const int frames = mStrip.frames;
    double value = mValue + (frames < 2 ? 1.0 : 1.0 / (frames - 1));
    if (value > 1.001)
        value = 0.0;
    mValue = value;
    Ostrand& plug = OstrandOf(*this);
    plug.mUserInteracting = true;
    plug.mGuiChangeCount = 1;
    MouseHover(x, y, mouse);
    MarkDirty(true);
}

//------------------------------------------------------------------------
void ISwitchControlB::MouseUp(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    plug.mSettingsChanged = true;
    plug.mUserInteracting = false;
}

//------------------------------------------------------------------------
void ISwitchControlB::MouseHover(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    if (plug.mHoverActive)
        return;
    plug.mRedrawTicks = 25;
    plug.SetHighlightTicks(185, false);
    ShowPartner(*this, mOwnPlate, false);
    if (mHidePartner)
        ShowPartner(*this, mPartnerPlate, false);
    if (mShowPartner)
        ShowPartner(*this, mPartnerPlate, true);
    plug.mHoverActive = true;
}

//------------------------------------------------------------------------
void ISwitchControlB::MouseLeave()
{
    Ostrand& plug = OstrandOf(*this);
    plug.mRedrawTicks = 25;
    plug.mHoverActive = false;
}

//------------------------------------------------------------------------
bool ISwitchControlB::HitTest(int x, int y)
{
    // A circle around the switch's centre, 13 pixels beyond its larger half
    // size: the small switches are easy to hit.
    const IBounds& b = mTargetBounds;
    const double halfW = (b.right - b.left) / 2.0;
    const double halfH = (b.bottom - b.top) / 2.0;
    const double cx = b.left + halfW;
    const double cy = b.top + halfH;
    const double r = (halfH > halfW ? halfH : halfW) + 13.0;
    const double dx = x - cx;
    const double dy = y - cy;
    return r * r >= dx * dx + dy * dy;
}
