#pragma once
// A small round knob turned by dragging up and down (Shift or Ctrl for fine
// adjustment). A click on its value readout, or a right click anywhere on
// it, opens a text entry instead; hovering it fades out its name plate to
// uncover the readout.
#include "editor/IKnobControl.h"

class IKnobMultiControlTextMO : public IKnobControl {
public:
    IKnobMultiControlTextMO(IFxBase* plug, const IBounds& bounds, int paramIdx, const IBitmapStrip& strip,
                            const ITextStyle& promptStyle, int direction, double gearing, double plate);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mouse) override;
    void MouseDoubleClick(int x, int y, const IMouseState& mouse) override;
    void MouseHover(int x, int y, const IMouseState& mouse) override;
    void MouseLeave() override;
    bool Paint(IEditorSurface* surface) override;

    IBounds mValueTextBounds;  // a click here opens the text entry
    IBounds mBitmapBounds;     // where the knob's frame is drawn
    IBitmapStrip mStrip;
    double mPlate = -1;        // the name plate over this knob's readout
    double mLastSeen = 0.0;    // the value at the last press
    bool mDragged = false;
};
