#include "ui/controls/IBitmapControlBouncebackFade.h"

#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
IBitmapControlBouncebackFade::IBitmapControlBouncebackFade(IFxBase* plug, int x, int y, const IBitmapStrip& strip,
                                                           double step, bool, int blendMethod)
    : IBitmapControl(plug, x, y, -1, strip, blendMethod), mStep(step)
{
}

//------------------------------------------------------------------------
bool IBitmapControlBouncebackFade::Paint(IEditorSurface* surface)
{
    if (!mFadingOut) {
        mBusy = true;
        mRedrawRequest = true;
        if (mBlend.weight < 1.0f) {
            mBlend.weight = static_cast<float>(mBlend.weight + mStep);
        } else {
            // At full opacity the blink turns round and fades out.
            mBlend.weight = 1.0f;
            mHidden = false;
            mRedrawRequest = true;
            SetHidden(true);
        }
    } else if (mBlend.weight > 0.0f) {
        // Every step asks for the next frame, fading out as fading in.
        mBusy = true;
        mRedrawRequest = true;
        mBlend.weight = static_cast<float>(mBlend.weight - mStep);
    } else {
        mHidden = true;
        mRedrawRequest = true;
        mBlend.weight = 0.0f;
        if (mBouncesLeft > 1) {
            SetHidden(false);
            --mBouncesLeft;
        } else {
            mBusy = false;
            MarkDirty(false);
        }
    }
    return IBitmapControl::Paint(surface);
}

//------------------------------------------------------------------------
void IBitmapControlBouncebackFade::SetHidden(bool hide)
{
    // The plug-in's redraw countdown carries the fade-out frames.
    OstrandOf(*this).mRedrawTicks = 50;
    mFadingOut = hide;
    if (mBlend.weight == 1.0f) {
        mHidden = false;
        return;
    }
    mHidden = hide;
    mRedrawRequest = true;
}

//------------------------------------------------------------------------
void IBitmapControlBouncebackFade::SetBounce(int count, double step)
{
    if (mBusy)
        return;
    mBouncesLeft = count;
    mStep = step;
}
