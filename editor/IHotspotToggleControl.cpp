#include "editor/IHotspotToggleControl.h"

//------------------------------------------------------------------------
IHotspotToggleControl::IHotspotToggleControl(IFxBase* plug, const IBounds& bounds, int paramIdx)
    : IControl(plug, bounds, paramIdx, kBlendCopy)
{
    mPromptDisabled = true;
}

//------------------------------------------------------------------------
void IHotspotToggleControl::MouseDown(int, int, const IMouseState&)
{
    mValue = mValue < 0.5 ? 1.0 : 0.0;
    MarkDirty(true);
}

//------------------------------------------------------------------------
bool IHotspotToggleControl::Paint(IEditorSurface*)
{
    return true;
}
