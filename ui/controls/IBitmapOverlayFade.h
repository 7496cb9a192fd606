#pragma once
// The information screen: value 0 closed, 1 opening or open, 0.5 closing.
// Opening fades it in over the whole editor and then shows the version text
// and the oversampling-mode toggle; any click while it is open starts the
// fade out. A change of the oversampling mode made while it was open is
// recorded as a settings change once it has closed.
#include "editor/ISwitchControl.h"

class IBitmapOverlayFade : public ISwitchControl {
public:
    IBitmapOverlayFade(IFxBase* plug, int x, int y, const IBitmapStrip& strip, double step,
                       const IBounds& closedTarget, int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    bool Paint(IEditorSurface* surface) override;

    // Hit rectangle while closed; the layout gives one that holds no point.
    IBounds mClosedTarget;
    double mStep = 0.0;
    bool mRememberedMode = false;  // the mode toggle's state while opening
};
