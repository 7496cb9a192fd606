#pragma once
// The horizontal Delay fader. Dragging sideways moves it eight times faster
// than dragging up and down; a right click mirrors the delay. On release,
// with even delays only, an odd delay moves one unit away from zero.
#include "editor/IKnobControl.h"

class IKnobMultiControlHalfPrompt : public IKnobControl {
public:
    // The rectangle is one frame of the strip at (x, y); it takes clicks
    // five pixels below that too.
    IKnobMultiControlHalfPrompt(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                                const ITextStyle& promptStyle, int direction, double gearing);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mouse) override;
    void MouseDoubleClick(int x, int y, const IMouseState& mouse) override;
    bool Paint(IEditorSurface* surface) override;

    // The plain delay of a normalised value rounded to whole units, halves
    // away from zero.
    int RoundedDelay(double normalized) const;

    IBounds mValueTextBounds;  // kept for the layout; clicks never use it
    IBounds mBitmapBounds;
    IBitmapStrip mStrip;
    double mLastSeen = 0.0;
    bool mDragged = false;
    double mValueAtPress = 0.0;
};
