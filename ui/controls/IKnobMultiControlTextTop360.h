#pragma once
// The endless Angle knob: dragging up or right turns it up, down or left
// turns it down, and past either end it carries on from the other. A right
// click mirrors the angle (+90 becomes -90); a click on the readout above it
// opens a text entry.
#include "editor/IKnobControl.h"

class IKnobMultiControlTextTop360 : public IKnobControl {
public:
    IKnobMultiControlTextTop360(IFxBase* plug, const IBounds& bounds, int paramIdx, const IBitmapStrip& strip,
                                const ITextStyle& promptStyle, int direction, double gearing, double plate);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mouse) override;
    void MouseDoubleClick(int x, int y, const IMouseState& mouse) override;
    bool Paint(IEditorSurface* surface) override;

    IBounds mValueTextBounds;
    IBounds mBitmapBounds;
    IBitmapStrip mStrip;
    double mPlate = -1;
    double mLastSeen = 0.0;     // the value when a drag last raised the hover highlight
    bool mDragged = false;
    double mValueAtPress = 0.0;
};
