#pragma once
// Base of the plug-in's buttons and overlay fades: a bitmap control whose
// double-click acts as another press (the control's own MouseDown).
#include "editor/IBitmapControl.h"

class ISwitchControl : public IBitmapControl {
public:
    void MouseDoubleClick(int x, int y, const IMouseState& mouse) override { MouseDown(x, y, mouse); }

protected:
    ISwitchControl(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                   int blendMethod = kBlendSourceAlpha)
        : IBitmapControl(plug, x, y, paramIdx, strip, blendMethod) {}
};
