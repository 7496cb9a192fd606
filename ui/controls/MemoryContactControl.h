#pragma once
// One memory slot button. A click recalls the slot, a right click (or Ctrl
// or Alt click) stores the current settings into it, a Shift click clears
// it. Its value tells the plug-in which operation and which slot: 0.34
// recall, 0.67 store, 1 clear (frames 2, 3, 4; 0 is idle).
#include "editor/IBitmapControl.h"

class MemoryContactControl : public IBitmapControl {
public:
    static constexpr double kRecallValue = 0.34;
    static constexpr double kStoreValue = 0.67;
    static constexpr double kClearValue = 1.0;

    MemoryContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip, double blinkHandle,
                         int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;

    double mBlink = -1;   // the blink that plays over this button
    bool mEmpty = true;   // the slot holds nothing; the plug-in keeps it current
};
