#include "ui/controls/IBitmapControlSloFade.h"

#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
IBitmapControlSloFade::IBitmapControlSloFade(IFxBase* plug, int x, int y, const IBitmapStrip& strip, double step,
                                             bool clearsClipLights, int blendMethod)
    : IBitmapControlSloFade(plug, x, y, -1, strip, step, clearsClipLights, blendMethod)
{
}

//------------------------------------------------------------------------
IBitmapControlSloFade::IBitmapControlSloFade(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                                             double step, bool clearsClipLights, int blendMethod)
    : IBitmapControl(plug, x, y, paramIdx, strip, blendMethod), mClearsClipLights(clearsClipLights), mStep(step)
{
}

//------------------------------------------------------------------------
void IBitmapControlSloFade::MouseDown(int, int, const IMouseState&)
{
    if (mClearsClipLights)
        OstrandOf(*this).ResetClipLights();
}

//------------------------------------------------------------------------
bool IBitmapControlSloFade::Paint(IEditorSurface* surface)
{
    // One step per drawn frame, each step asking for the next frame, so a
    // fade runs to its end even when the plug-in's redraw countdown runs out
    // first. The weight may overshoot 1 or undershoot 0 by less than a step.
    if (!mFadingOut) {
        mRedrawRequest = true;
        if (mBlend.weight < 1.0f) {
            mBlend.weight = static_cast<float>(mBlend.weight + mStep);
        } else {
            mHidden = false;
            MarkClean();
        }
    } else if (mBlend.weight > 0.0f) {
        mRedrawRequest = true;
        mBlend.weight = static_cast<float>(mBlend.weight - mStep);
    } else {
        mHidden = true;
        mRedrawRequest = true;
    }
    return IBitmapControl::Paint(surface);
}

//------------------------------------------------------------------------
void IBitmapControlSloFade::SetHidden(bool hide)
{
    mFadingOut = hide;
    if (mBlend.weight == 1.0f) {
        // Fully shown: stay visible; hiding fades out over the next frames.
        mHidden = false;
        return;
    }
    mHidden = hide;
    mRedrawRequest = true;
    MarkClean();
}
