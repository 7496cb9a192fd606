#pragma once
// The undo or the redo button: a click steps the plug-in's undo history and
// blinks while a step is available.
#include "editor/IBitmapControl.h"

class UndoContactControl : public IBitmapControl {
public:
    UndoContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip, bool redo,
                       int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;

    bool mRedo = false;
    bool mUnavailable = true;  // nothing to step to; the plug-in keeps it current
};
