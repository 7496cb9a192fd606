#include "ui/controls/IBitmapControlE.h"

#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
IBitmapControlE::IBitmapControlE(IFxBase* plug, int x, int y, const IBitmapStrip& strip, int blendMethod)
    : IBitmapControl(plug, x, y, -1, strip, blendMethod)
{
    mPromptDisabled = true;
}

//------------------------------------------------------------------------
void IBitmapControlE::MouseDown(int, int, const IMouseState&)
{
    OstrandOf(*this).ResetClipLights();
}
