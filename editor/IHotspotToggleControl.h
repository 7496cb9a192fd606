#pragma once
// An invisible area that toggles its parameter: a press sets the value to 1
// when it is below 0.5, else to 0, and pushes it to the plug-in. It never
// opens a prompt and draws nothing.
#include "editor/IControl.h"

class IHotspotToggleControl : public IControl {
public:
    IHotspotToggleControl(IFxBase* plug, const IBounds& bounds, int paramIdx);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    bool Paint(IEditorSurface* surface) override;
};
