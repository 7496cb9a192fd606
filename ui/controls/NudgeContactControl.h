#pragma once
// The "-" and "+" buttons beside the Delay fader: a click moves the delay by
// one unit, or, with even delays only, onto the even grid and then by two.
#include "editor/IBitmapControl.h"

class NudgeContactControl : public IBitmapControl {
public:
    NudgeContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip, bool down,
                        int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;

    // The delay (plain units) one click leads to from b.
    static double NudgedDelay(double b, bool down, bool evenOnly);

    bool mDown = false;
};
