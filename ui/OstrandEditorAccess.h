#pragma once
// Editor-thread access to the controls Ostrand addresses by handle, and the
// undo-history steps shared by the timer's requests and the editor's own
// operations. A handle is an attach index stored as a double; one outside
// the surface's control list addresses nothing, and every operation on it is
// skipped.
#include "engine/ostrand/Ostrand.h"

class IControl;
class IEditorSurface;
class ITextControl;

class OstrandEditorAccess {
public:
    explicit OstrandEditorAccess(Ostrand& plug);

    IEditorSurface* Surface() const { return mSurface; }
    // The control a handle addresses, or null.
    IControl* Control(double handle) const;
    // PushValueToControl(handle, value).
    void SetValue(double handle, double value) const;
    double Value(double handle) const;
    // SetHidden(!shown): fading controls fade in or out from here.
    void Show(double handle, bool shown) const;
    ITextControl* ReadoutLabel(OstrandReadout readout) const;
    void ClearDelayPrompt() const;
    // The memory button's empty flag and the undo or redo button's
    // availability, which the buttons read on their next press.
    void SetMemoryButtonEmpty(int slot, bool empty) const;
    void SetUndoAvailable(bool redo, bool available) const;

private:
    Ostrand& mPlug;
    IEditorSurface* mSurface;
};

// The normalised values of parameters 0 ... 14 now.
OstrandSnapshot CurrentParamSnapshot(Ostrand& plug);
// The history becomes mUndoPosition + 1 entries long and its entry at the
// position takes values.
void InitUndoHistoryWith(Ostrand& plug, const OstrandSnapshot& values);
// A new snapshot after the current position: the redo branch is dropped and
// the oldest snapshot goes once the history holds kUndoHistoryCap.
void PushUndoSnapshotWith(Ostrand& plug, const OstrandSnapshot& values);
