#include "ui/controls/LogoURLControl.h"

#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
LogoURLControl::LogoURLControl(IFxBase* plug, const IBounds& bounds, const char* firstAddress,
                               const char* secondAddress, const char* caption)
    : IControl(plug, bounds)
{
    CopyTextIfGiven(mFirstAddress, sizeof mFirstAddress, firstAddress);
    CopyTextIfGiven(mSecondAddress, sizeof mSecondAddress, secondAddress);
    CopyTextIfGiven(mCaption, sizeof mCaption, caption);
}

//------------------------------------------------------------------------
void LogoURLControl::MouseDown(int x, int y, const IMouseState& mouse)
{
    if (mSurface != nullptr && !mSurface->OpenWebAddress(mFirstAddress, mCaption, nullptr, nullptr))
        mSurface->OpenWebAddress(mSecondAddress, mCaption, nullptr, nullptr);
    MouseHover(x, y, mouse);
}

//------------------------------------------------------------------------
void LogoURLControl::MouseHover(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    if (plug.mHoverActive)
        return;
    plug.mRedrawTicks = 25;
    plug.SetHighlightTicks(210, false);
    ShowPartner(*this, plug.mHandles.logoPlate, false);
    plug.mLogoHoverState = 1;
    plug.mHoverActive = true;
}

//------------------------------------------------------------------------
void LogoURLControl::MouseLeave()
{
    Ostrand& plug = OstrandOf(*this);
    plug.SetHighlightTicks(56, false);
    plug.mRedrawTicks = 25;
    ShowPartner(*this, plug.mHandles.logoPlate, true);
    plug.mLogoHoverState = 2;
    plug.mHoverActive = false;
}

//------------------------------------------------------------------------
bool LogoURLControl::Paint(IEditorSurface*)
{
    return true;
}
