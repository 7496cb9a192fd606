#pragma once
// A blink: once started (SetBounce, value 1, shown) it fades in to full
// opacity, hides itself, fades out, and repeats until its bounces are used
// up; then it rests hidden and idle.
#include "editor/IBitmapControl.h"

class IBitmapControlBouncebackFade : public IBitmapControl {
public:
    // unusedFlag is accepted for the layout's argument list and has no effect.
    IBitmapControlBouncebackFade(IFxBase* plug, int x, int y, const IBitmapStrip& strip, double step,
                                 bool unusedFlag, int blendMethod = kBlendSourceAlpha);

    bool Paint(IEditorSurface* surface) override;
    void SetHidden(bool hide) override;
    // Number of fade-in/fade-out cycles and the step of the next blink;
    // ignored while a blink is running.
    void SetBounce(int count, double step) override;

    bool mFadingOut = false;
    bool mBusy = false;
    int mBouncesLeft = 1;
    double mStep = 0.0;
};
