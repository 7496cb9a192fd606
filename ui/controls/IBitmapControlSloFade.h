#pragma once
// A bitmap that fades in and out: SetHidden(true) lowers its opacity by the
// step on every drawn frame until it is gone, SetHidden(false) raises it
// again. Used for the name plates, the lights and the clip lights (whose
// click clears both clip lights).
#include "editor/IBitmapControl.h"

class IBitmapControlSloFade : public IBitmapControl {
public:
    IBitmapControlSloFade(IFxBase* plug, int x, int y, const IBitmapStrip& strip, double step,
                          bool clearsClipLights, int blendMethod = kBlendSourceAlpha);
    // The form bound to a parameter (the fader light follows the Delay).
    IBitmapControlSloFade(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip, double step,
                          bool clearsClipLights, int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    // One animation step, then the frame of the value at the current opacity.
    bool Paint(IEditorSurface* surface) override;
    void SetHidden(bool hide) override;

    bool mClearsClipLights = false;
    bool mFadingOut = false;
    double mStep = 0.0;  // opacity change per drawn frame
};
