#pragma once
// Base of the plug-in's knobs and faders. It only carries the two fields
// their drag handlers read; every subclass supplies its own press, drag and
// drawing behaviour.
#include "editor/IControl.h"

class IKnobControl : public IControl {
public:
    IKnobControl(IFxBase* plug, const IBounds& bounds, int paramIdx, int blendMethod = kBlendSourceAlpha)
        : IControl(plug, bounds, paramIdx, blendMethod) {}

    int mDirection = 0;     // 0 round knob, 1 fader
    double mGearing = 1.0;  // divisor of mouse movement
};
