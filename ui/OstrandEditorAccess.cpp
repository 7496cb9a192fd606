#include "ui/OstrandEditorAccess.h"

#include "editor/IEditorSurface.h"
#include "ui/controls/ControlLinks.h"
#include "ui/controls/CustomTextControlD.h"
#include "ui/controls/MemoryContactControl.h"
#include "ui/controls/TextBoxPrompt.h"
#include "ui/controls/UndoContactControl.h"

#include <mutex>

//------------------------------------------------------------------------
OstrandEditorAccess::OstrandEditorAccess(Ostrand& plug)
    : mPlug(plug), mSurface(static_cast<IEditorSurface*>(plug.EditorSurface()))
{
}

//------------------------------------------------------------------------
IControl* OstrandEditorAccess::Control(double handle) const
{
    const int index = HandleIndex(handle);
    return mSurface != nullptr && index >= 0 ? mSurface->GetControl(index) : nullptr;
}

//------------------------------------------------------------------------
void OstrandEditorAccess::SetValue(double handle, double value) const
{
    if (Control(handle) != nullptr)
        mSurface->PushValueToControl(HandleIndex(handle), value);
}

//------------------------------------------------------------------------
double OstrandEditorAccess::Value(double handle) const
{
    IControl* control = Control(handle);
    return control != nullptr ? control->GetValue() : 0.0;
}

//------------------------------------------------------------------------
void OstrandEditorAccess::Show(double handle, bool shown) const
{
    if (IControl* control = Control(handle))
        control->SetHidden(!shown);
}

//------------------------------------------------------------------------
ITextControl* OstrandEditorAccess::ReadoutLabel(OstrandReadout readout) const
{
    if (readout < 0 || readout >= kNumReadouts || mSurface == nullptr)
        return nullptr;
    return mPlug.mHandles.readoutLabels[readout];
}

//------------------------------------------------------------------------
void OstrandEditorAccess::ClearDelayPrompt() const
{
    if (mPlug.mHandles.delayPromptControl != nullptr)
        mPlug.mHandles.delayPromptControl->ClearText();
}

//------------------------------------------------------------------------
void OstrandEditorAccess::SetMemoryButtonEmpty(int slot, bool empty) const
{
    if (slot >= 0 && slot < 4 && mPlug.mHandles.memoryButtons[slot] != nullptr)
        mPlug.mHandles.memoryButtons[slot]->mEmpty = empty;
}

//------------------------------------------------------------------------
void OstrandEditorAccess::SetUndoAvailable(bool redo, bool available) const
{
    UndoContactControl* button = redo ? mPlug.mHandles.redoControl : mPlug.mHandles.undoControl;
    if (button != nullptr)
        button->mUnavailable = !available;
}

//------------------------------------------------------------------------
OstrandSnapshot CurrentParamSnapshot(Ostrand& plug)
{
    // The audio thread changes parameters under the plug-in lock.
    std::lock_guard<std::recursive_mutex> lock(plug.PluginLock());
    OstrandSnapshot values{};
    for (int i = 0; i < kNumOstrandParams; ++i)
        values[static_cast<std::size_t>(i)] = plug.GetParam(i)->ToNormalized();
    return values;
}
