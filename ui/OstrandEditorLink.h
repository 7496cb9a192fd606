#pragma once
// The editor side of Ostrand's engine: what the engine's parameter handling
// and timer tell the editor (readout texts, lights, meters, the fader, the
// name plates, undo snapshots) reaches the controls through here.
//
// Threads: the engine calls in under the plug-in lock, from the audio thread
// (host automation, processing resets) or from its timer, while the editor
// thread draws without that lock. So a call only records the newest state in
// lock-free cells (EditorMailbox.h) and never touches a control; Apply, run
// by the surface on the editor thread before every draw tick and by the
// editor-thread operations before they act, moves the recorded state onto
// the controls. Calls never allocate, block or throw.
#include "editor/IEditorSurface.h"
#include "engine/ostrand/OstrandEditorServices.h"
#include "ui/EditorMailbox.h"

class Ostrand;

class OstrandEditorLink : public OstrandEditorServices, public IEditorTickHook {
public:
    OstrandEditorLink(Ostrand* plug, IEditorSurface* surface) : mPlug(plug), mSurface(surface) {}

    // --- OstrandEditorServices (any thread, plug-in lock held) ---------------
    void SetReadoutText(OstrandReadout readout, const char* text) override;
    void SetSwitchLight(OstrandLight light, bool on) override;
    void SetStyleLight(double value) override;
    void SetClipLightValues(double value) override;
    void ShowClipLight(bool right) override;
    void HideClipLights() override;
    void ShowPlates() override;
    void SetMeters(const OstrandMeters& meters) override;
    void SetDelayFader(double normalized) override;
    void RefreshParamControl(int paramIdx, double normalized) override;
    void MoveParamControl(int paramIdx, double normalized) override;
    void InitUndoHistory() override;
    void PushUndoSnapshot() override;
    void MarkAllControlsDirty() override;

    // --- Editor thread ---------------------------------------------------------
    // Moves everything recorded since the last call onto the controls.
    void Apply();
    void BeforeDrawTick() override { Apply(); }
    // Undo work the editor could not take in time (its window stayed closed).
    unsigned DroppedSnapshots() const { return mSnapshots.Dropped(); }

private:
    OstrandSnapshot CaptureValues() const;
    void ApplyMeters();
    void ApplyPlates();
    void ApplyClipLights();
    void ApplyLights();

    Ostrand* mPlug;
    IEditorSurface* mSurface;

    LatestText mReadouts[kNumReadouts];
    LatestState mSwitchLights[3];
    LatestValue mStyleLight;
    LatestValue mClipValues;
    LatestState mClipVisible[2]; // 0 hide, 1 show
    PendingFlag mShowPlates;
    LatestValue mMeters[5];      // difference, mid mix, side mix, output left, output right
    PendingFlag mMarkAllDirty;
    SnapshotQueue mSnapshots;
};
