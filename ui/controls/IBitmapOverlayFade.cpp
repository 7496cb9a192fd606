#include "ui/controls/IBitmapOverlayFade.h"

#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
IBitmapOverlayFade::IBitmapOverlayFade(IFxBase* plug, int x, int y, const IBitmapStrip& strip, double step,
                                       const IBounds& closedTarget, int blendMethod)
    : ISwitchControl(plug, x, y, -1, strip, blendMethod), mClosedTarget(closedTarget), mStep(step)
{
    // The screen starts closed: it takes no clicks and is faded out even
    // before it is first drawn.
    mTargetBounds = closedTarget;
    mBlend.weight = 0.0f;
}

//------------------------------------------------------------------------
bool IBitmapOverlayFade::Paint(IEditorSurface* surface)
{
    Ostrand& plug = OstrandOf(*this);
    const double value = mValue;
    if (value < 0.5) {
        mTargetBounds = mClosedTarget;
        mBlend.weight = 0.0f;
        return true;
    }
    if (value == 1.0) {
        // Opening (or open): covers the whole editor and takes every click.
        mTargetBounds = mBounds;
        if (mBlend.weight < 1.0f) {
            mRedrawRequest = true;
            mBlend.weight = static_cast<float>(mBlend.weight + mStep);
            MarkDirty(false);
            mRememberedMode = PartnerValue(*this, plug.mHandles.modeToggle, 0.0) != 0.0;
        } else {
            ShowPartnerClean(*this, plug.mHandles.versionLabel, true);
            ShowPartnerClean(*this, plug.mHandles.modeToggle, true);
            // The toggle draws nothing: the style light shows what it set,
            // however the screen was opened (the screw also shows it).
            ShowPartnerClean(*this, plug.mHandles.modeIndicator, true);
            MarkClean();
        }
        return IBitmapControl::Paint(surface);
    }
    // Closing.
    if (mBlend.weight > 0.0f) {
        mRedrawRequest = true;
        mBlend.weight = static_cast<float>(mBlend.weight - mStep);
        MarkDirty(false);
    } else {
        mValue = 0.0;
        MarkClean();
        const bool mode = PartnerValue(*this, plug.mHandles.modeToggle, 0.0) != 0.0;
        if (mode != mRememberedMode) {
            // The mode was changed while the screen was open: it counts as
            // an edit now that the screen is gone.
            plug.mSettingsChanged = true;
            plug.mSnapshotDelay = 20;
            plug.RevealReadout(plug.mHandles.juicePlate);
        }
    }
    return IBitmapControl::Paint(surface);
}

//------------------------------------------------------------------------
void IBitmapOverlayFade::MouseDown(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    ShowPartner(*this, plug.mHandles.modeIndicator, false);
    plug.mRedrawTicks = 25;
    mValue = 0.5;
    ShowPartner(*this, plug.mHandles.versionLabel, false);
    ShowPartner(*this, plug.mHandles.modeToggle, false);
    MarkClean();
}
