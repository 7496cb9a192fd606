// Ostrand's editor services that act on controls: revealing a value readout
// under its name plate, the four memory slots and the undo history. All of
// it runs on the editor thread.
#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/OstrandEditorAccess.h"
#include "ui/OstrandEditorLink.h"
#include "ui/controls/ControlLinks.h"

#include <algorithm>

namespace {

// Which memory slot the pressed button asks for: the first of A ... D whose
// value is exactly the operation's (0.67 store, 0.34 recall, 1 clear).
int SlotShowing(Ostrand& plug, double operation)
{
    OstrandEditorAccess ui(plug);
    for (int slot = 0; slot < 4; ++slot)
        if (ui.Control(plug.mHandles.memoryButton[slot]) != nullptr &&
            ui.Value(plug.mHandles.memoryButton[slot]) == operation)
            return slot;
    return -1;
}

void SetParamsFromEditor(Ostrand& plug, const OstrandSnapshot& values)
{
    IEditorSurface* surface = OstrandEditorAccess(plug).Surface();
    if (surface == nullptr)
        return;
    for (int i = 0; i < kNumOstrandParams; ++i)
        surface->SetParameterFromEditor(i, values[static_cast<std::size_t>(i)]);
}

} // namespace

//------------------------------------------------------------------------
void Ostrand::RevealReadout(double handle)
{
    FlushEditorState();
    if (mIntroTicks > 186)
        return;
    mRedrawTicks = 45;
    OstrandEditorAccess ui(*this);
    if (HandleIndex(handle) >= 0 && HandleIndex(handle) == HandleIndex(mHandles.faderLight)) {
        mHighlightTicks = 32;
        if (!mFaderDragging)
            ui.Show(mHandles.faderLight, true);
        return;
    }
    int t = mHighlightTicks;
    if (HandleIndex(handle) >= 0 && HandleIndex(handle) == HandleIndex(mHandles.anglePlate))
        t += 76;
    else if (t <= 99)
        t = 180;
    else if (t <= 147)
        t += 127;
    else if (t <= 209)
        t += 80;
    else
        t += 55;
    mHighlightTicks = std::min(t, 340);
    ui.Show(handle, false);
}

//------------------------------------------------------------------------
void Ostrand::StoreMemorySlot()
{
    FlushEditorState();
    int slot = SlotShowing(*this, 0.67);
    if (slot < 0)
        return;
    mMemorySlotFull[slot] = true;
    mMemorySlots[slot] = CurrentParamSnapshot(*this);
}

//------------------------------------------------------------------------
void Ostrand::RecallMemorySlot()
{
    FlushEditorState();
    int slot = SlotShowing(*this, 0.34);
    if (slot < 0 || !mMemorySlotFull[slot])
        return;
    mGuiChangeCount = 15;
    SetParamsFromEditor(*this, mMemorySlots[slot]);
}

//------------------------------------------------------------------------
void Ostrand::ClearMemorySlot()
{
    FlushEditorState();
    int slot = SlotShowing(*this, 1.0);
    if (slot < 0)
        return;
    OstrandEditorAccess ui(*this);
    mMemorySlotFull[slot] = false;
    ui.Show(mHandles.memoryLight[slot], false);
    ui.SetMemoryButtonEmpty(slot, true);
    mRedrawTicks = 25;
}

//------------------------------------------------------------------------
void Ostrand::RefreshMemoryLights()
{
    FlushEditorState();
    OstrandEditorAccess ui(*this);
    for (int slot = 0; slot < 4; ++slot) {
        if (!mMemorySlotFull[slot])
            continue;
        ui.SetValue(mHandles.memoryLight[slot], 1.0);
        ui.Show(mHandles.memoryLight[slot], true);
        ui.SetMemoryButtonEmpty(slot, false);
    }
}

//------------------------------------------------------------------------
void Ostrand::Undo()
{
    FlushEditorState();
    OstrandEditorAccess ui(*this);
    const int last = static_cast<int>(mUndoHistory.size()) - 1;
    --mUndoPosition;
    if (mUndoPosition > 0 && mUndoPosition <= last) {
        ui.SetValue(mHandles.undoLight, 1.0);
        ui.Show(mHandles.undoLight, true);
        ui.SetUndoAvailable(false, true);
        ResetClipLights();
    } else if (mUndoPosition == 0 && last >= 0) {
        ui.Show(mHandles.undoLight, false);
        ui.SetUndoAvailable(false, false);
    } else {
        // Before the first snapshot (or before the history exists): nothing
        // to go back to, and the position stays a valid one.
        mUndoPosition = std::clamp(mUndoPosition, 0, std::max(last, 0));
        ui.Show(mHandles.undoLight, false);
        ui.SetUndoAvailable(false, false);
        return;
    }
    mGuiChangeCount = 15;
    SetParamsFromEditor(*this, mUndoHistory[static_cast<std::size_t>(mUndoPosition)]);
    ui.SetValue(mHandles.redoLight, 1.0);
    ui.Show(mHandles.redoLight, true);
    ui.SetUndoAvailable(true, true);
    ui.Show(mHandles.clipLightLeft, false);
    ui.Show(mHandles.clipLightRight, false);
    mSnapshotDelay = 0;
    mRedrawTicks = 25;
}

//------------------------------------------------------------------------
void Ostrand::Redo()
{
    FlushEditorState();
    OstrandEditorAccess ui(*this);
    const int last = static_cast<int>(mUndoHistory.size()) - 1;
    ++mUndoPosition;
    if (mUndoPosition < last) {
        ui.SetValue(mHandles.redoLight, 1.0);
        ui.Show(mHandles.redoLight, true);
        ui.SetUndoAvailable(true, true);
        ResetClipLights();
    } else {
        const bool beyond = mUndoPosition > last;
        // An empty history has no last entry: the position stays at 0.
        mUndoPosition = std::max(last, 0);
        ui.Show(mHandles.redoLight, false);
        ui.SetUndoAvailable(true, false);
        if (beyond || last < 0)
            return;
    }
    ui.SetValue(mHandles.undoLight, 1.0);
    ui.Show(mHandles.undoLight, true);
    ui.SetUndoAvailable(false, true);
    ResetClipLights();
    mGuiChangeCount = 15;
    SetParamsFromEditor(*this, mUndoHistory[static_cast<std::size_t>(mUndoPosition)]);
    mRedrawTicks = 25;
}

//------------------------------------------------------------------------
void Ostrand::InitUndoHistory()
{
    FlushEditorState();
    InitUndoHistoryWith(*this, CurrentParamSnapshot(*this));
}

//------------------------------------------------------------------------
void Ostrand::PushUndoSnapshot()
{
    FlushEditorState();
    PushUndoSnapshotWith(*this, CurrentParamSnapshot(*this));
}

//------------------------------------------------------------------------
void Ostrand::FlushEditorState()
{
    if (mEditorLink != nullptr)
        static_cast<OstrandEditorLink*>(mEditorLink.get())->Apply();
}

//------------------------------------------------------------------------
void InitUndoHistoryWith(Ostrand& plug, const OstrandSnapshot& values)
{
    plug.mUndoPosition = std::clamp(plug.mUndoPosition, 0, kUndoHistoryCap - 1);
    plug.mUndoHistory.resize(static_cast<std::size_t>(plug.mUndoPosition) + 1);
    plug.mUndoHistory[static_cast<std::size_t>(plug.mUndoPosition)] = values;
}

//------------------------------------------------------------------------
void PushUndoSnapshotWith(Ostrand& plug, const OstrandSnapshot& values)
{
    auto& history = plug.mUndoHistory;
    // A new edit after undoing drops the redo branch; the new snapshot is
    // always the one at the position, whatever the position was.
    const int next = std::clamp(plug.mUndoPosition + 1, 0, static_cast<int>(history.size()));
    history.resize(static_cast<std::size_t>(next));
    history.push_back(values);
    plug.mUndoPosition = next;
    if (history.size() > static_cast<std::size_t>(kUndoHistoryCap)) {
        history.erase(history.begin(), history.begin() + (static_cast<long>(history.size()) - kUndoHistoryCap));
        plug.mUndoPosition = kUndoHistoryCap - 1;
    }

    OstrandEditorAccess ui(plug);
    ui.SetValue(plug.mHandles.undoLight, 1.0);
    ui.Show(plug.mHandles.undoLight, true);
    ui.SetUndoAvailable(false, true);
    ui.Show(plug.mHandles.redoLight, false);
    ui.SetUndoAvailable(true, false);
    plug.mRedrawTicks = 25;
    plug.mAngleDragged = false;
}
