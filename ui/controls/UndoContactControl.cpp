#include "ui/controls/UndoContactControl.h"

#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
UndoContactControl::UndoContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip, bool redo,
                                       int blendMethod)
    : IBitmapControl(plug, x, y, -1, strip, blendMethod), mRedo(redo)
{
}

//------------------------------------------------------------------------
void UndoContactControl::MouseDown(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    plug.SetHighlightTicks(0, false);
    plug.mFaderDragging = false;
    mValue = 0.5;
    if (!mUnavailable) {
        const double blink = mRedo ? plug.mHandles.redoBlink : plug.mHandles.undoBlink;
        if (IControl* blinker = PartnerControl(*this, blink))
            blinker->SetBounce(1, 0.255);
        SetPartnerValue(*this, blink, 1.0);
        ShowPartner(*this, blink, true);
    }
    // Stepping is asked for even when unavailable: the history then only
    // refreshes its lights.
    if (mRedo)
        plug.Redo();
    else
        plug.Undo();
    plug.SetHighlightTicks(15, true);
    plug.mUserInteracting = true;
    plug.mRedrawTicks = 25;
    MarkDirty(true);
}

//------------------------------------------------------------------------
void UndoContactControl::MouseUp(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    plug.RefreshMemoryLights();
    mValue = 0.0;
    plug.mUserInteracting = false;
    MarkDirty(true);
}
