#pragma once
// A control that shows one frame of a bitmap strip, chosen by its value:
// frame k = trunc((N - 1) * value + 0.5) + 1, held to 1..N.
#include "editor/IControl.h"

class IBitmapControl : public IControl {
public:
    // Bounds are one frame of a vertical strip: (x, y, x + width, y + height / frames).
    IBitmapControl(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                   int blendMethod = kBlendSourceAlpha);
    // Explicit bounds (the surface's background uses this).
    IBitmapControl(IFxBase* plug, const IBounds& bounds, int paramIdx, const IBitmapStrip& strip,
                   int blendMethod = kBlendSourceAlpha);

    bool Paint(IEditorSurface* surface) override;

    // The frame (from 1) that a value shows in a strip of the given frames.
    static int FrameForValue(int frames, double value);

    IBitmapStrip mStrip;
};
