#pragma once
// A spring-loaded screw beside the logo, resting in the middle. Turned fully
// down and let go it opens the user guide (or the fallback address); turned
// fully up it opens the information screen at once. It does not move while
// that screen is open.
#include "editor/IKnobControl.h"

class IKnobMultiControlScrew : public IKnobControl {
public:
    // Each text is copied (cut to its buffer) when given and not empty.
    IKnobMultiControlScrew(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                           const char* firstAddress, const char* secondAddress, const char* caption, int direction,
                           double gearing);

    void MouseUp(int x, int y, const IMouseState& mouse) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mouse) override;
    bool Paint(IEditorSurface* surface) override;

    IBitmapStrip mStrip;
    char mFirstAddress[256] = {};
    char mSecondAddress[256] = {};
    char mCaption[1024] = {};
};
