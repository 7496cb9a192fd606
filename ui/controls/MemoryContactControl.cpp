#include "ui/controls/MemoryContactControl.h"

#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

//------------------------------------------------------------------------
MemoryContactControl::MemoryContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip,
                                           double blinkHandle, int blendMethod)
    : IBitmapControl(plug, x, y, -1, strip, blendMethod), mBlink(blinkHandle)
{
}

//------------------------------------------------------------------------
void MemoryContactControl::MouseDown(int, int, const IMouseState& mouse)
{
    Ostrand& plug = OstrandOf(*this);
    plug.SetHighlightTicks(0, false);
    plug.mFaderDragging = false;

    auto blink = [this](int count, double step) {
        if (IControl* blinker = PartnerControl(*this, mBlink))
            blinker->SetBounce(count, step);
        SetPartnerValue(*this, mBlink, 1.0);
        ShowPartner(*this, mBlink, true);
    };

    // The plug-in finds the slot by this button's value, so the value is
    // set before the slot operation runs.
    if ((mouse.left || mouse.right) && mouse.shift) {
        mValue = kClearValue;
        if (!mEmpty) {
            blink(3, 1.0);
            plug.mSnapshotDelay = 0;
            plug.ClearMemorySlot();
        }
        plug.mSettingsChanged = true;
    } else if (mouse.right || (mouse.left && (mouse.control || mouse.alt))) {
        mValue = kStoreValue;
        blink(2, 0.255);
        plug.mSnapshotDelay = 0;
        plug.StoreMemorySlot();
        plug.RefreshMemoryLights();
    } else {
        mValue = kRecallValue;
        if (!mEmpty) {
            blink(1, 0.315);
            plug.RecallMemorySlot();
            plug.SetHighlightTicks(15, true);
        }
        plug.mSettingsChanged = true;
    }
    plug.mUserInteracting = true;
    plug.mRedrawTicks = 25;
    MarkDirty(true);
}

//------------------------------------------------------------------------
void MemoryContactControl::MouseUp(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    if (mValue != kStoreValue)
        plug.mSettingsChanged = true;
    mValue = 0.0;
    plug.mUserInteracting = false;
    MarkDirty(true);
}
