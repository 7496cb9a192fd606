#pragma once
// A meter image: draws the frame of its value; a click on it clears the
// clip lights.
#include "editor/IBitmapControl.h"

class IBitmapControlE : public IBitmapControl {
public:
    IBitmapControlE(IFxBase* plug, int x, int y, const IBitmapStrip& strip, int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
};
