#include "ui/OstrandEditorLink.h"

#include "editor/IEditorSurface.h"
#include "editor/ITextControl.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/OstrandEditorAccess.h"

//------------------------------------------------------------------------
void OstrandEditorLink::SetReadoutText(OstrandReadout readout, const char* text)
{
    if (readout >= 0 && readout < kNumReadouts)
        mReadouts[readout].Write(text);
}

//------------------------------------------------------------------------
void OstrandEditorLink::SetSwitchLight(OstrandLight light, bool on)
{
    if (light >= 0 && light < 3)
        mSwitchLights[light].Write(on ? 1 : 0);
}

//------------------------------------------------------------------------
void OstrandEditorLink::SetStyleLight(double value)
{
    mStyleLight.Write(value);
}

//------------------------------------------------------------------------
void OstrandEditorLink::SetClipLightValues(double value)
{
    mClipValues.Write(value);
}

//------------------------------------------------------------------------
void OstrandEditorLink::ShowClipLight(bool right)
{
    mClipVisible[right ? 1 : 0].Write(1);
}

//------------------------------------------------------------------------
void OstrandEditorLink::HideClipLights()
{
    mClipVisible[0].Write(0);
    mClipVisible[1].Write(0);
}

//------------------------------------------------------------------------
void OstrandEditorLink::ShowPlates()
{
    mShowPlates.Raise();
}

//------------------------------------------------------------------------
void OstrandEditorLink::SetMeters(const OstrandMeters& meters)
{
    mMeters[0].Write(meters.difference);
    mMeters[1].Write(meters.mixMid);
    mMeters[2].Write(meters.mixSide);
    mMeters[3].Write(meters.outputLeft);
    mMeters[4].Write(meters.outputRight);
}

//------------------------------------------------------------------------
void OstrandEditorLink::SetDelayFader(double normalized)
{
    // Control values are relaxed atomics: the surface's push is safe here.
    mSurface->PushParamToControls(kParamDelay, normalized, true);
}

//------------------------------------------------------------------------
void OstrandEditorLink::RefreshParamControl(int paramIdx, double normalized)
{
    mSurface->PushParamToControls(paramIdx, normalized, true);
}

//------------------------------------------------------------------------
void OstrandEditorLink::MoveParamControl(int paramIdx, double normalized)
{
    // What a control does when the user moves it: it takes the value and
    // hands it on as an edit. Both steps are safe under the plug-in lock.
    mSurface->PushParamToControls(paramIdx, normalized, true);
    mPlug->SetParameterFromGUI(paramIdx, normalized);
}

//------------------------------------------------------------------------
void OstrandEditorLink::InitUndoHistory()
{
    mSnapshots.Push(SnapshotQueue::kInitHistory, CaptureValues());
}

//------------------------------------------------------------------------
void OstrandEditorLink::PushUndoSnapshot()
{
    mSnapshots.Push(SnapshotQueue::kPushSnapshot, CaptureValues());
}

//------------------------------------------------------------------------
void OstrandEditorLink::MarkAllControlsDirty()
{
    mMarkAllDirty.Raise();
}

//------------------------------------------------------------------------
OstrandSnapshot OstrandEditorLink::CaptureValues() const
{
    return CurrentParamSnapshot(*mPlug);
}

//------------------------------------------------------------------------
void OstrandEditorLink::Apply()
{
    OstrandEditorAccess ui(*mPlug);
    for (int i = 0; i < kNumReadouts; ++i) {
        char text[LatestText::kCapacity];
        if (mReadouts[i].Take(text))
            if (ITextControl* label = ui.ReadoutLabel(static_cast<OstrandReadout>(i)))
                label->SetText(text);
    }
    ApplyLights();
    ApplyClipLights();
    ApplyMeters();
    if (mShowPlates.Take())
        ApplyPlates();

    SnapshotQueue::Entry entry;
    while (mSnapshots.Pop(entry)) {
        if (entry.kind == SnapshotQueue::kInitHistory)
            InitUndoHistoryWith(*mPlug, entry.values);
        else
            PushUndoSnapshotWith(*mPlug, entry.values);
    }

    if (mMarkAllDirty.Take())
        mSurface->MarkAllControlsDirty();
}

//------------------------------------------------------------------------
void OstrandEditorLink::ApplyLights()
{
    OstrandEditorAccess ui(*mPlug);
    const double lights[3] = {mPlug->mHandles.switchLight1, mPlug->mHandles.switchLight2,
                              mPlug->mHandles.switchLight3};
    for (int i = 0; i < 3; ++i) {
        int on = 0;
        if (mSwitchLights[i].Take(on)) {
            ui.SetValue(lights[i], on != 0 ? 1.0 : 0.0);
            ui.Show(lights[i], on != 0);
        }
    }
    double style = 0.0;
    if (mStyleLight.Take(style))
        ui.SetValue(mPlug->mHandles.modeIndicator, style);
}

//------------------------------------------------------------------------
void OstrandEditorLink::ApplyClipLights()
{
    OstrandEditorAccess ui(*mPlug);
    const double lights[2] = {mPlug->mHandles.clipLightLeft, mPlug->mHandles.clipLightRight};
    double value = 0.0;
    if (mClipValues.Take(value))
        for (double light : lights)
            ui.SetValue(light, value);
    for (int side = 0; side < 2; ++side) {
        int visible = 0;
        if (mClipVisible[side].Take(visible))
            ui.Show(lights[side], visible != 0);
    }
}

//------------------------------------------------------------------------
void OstrandEditorLink::ApplyMeters()
{
    OstrandEditorAccess ui(*mPlug);
    const OstrandEditorHandles& h = mPlug->mHandles;
    const double meters[5] = {h.vuLayer3, h.vuLayer2, h.vuLayer1, h.levelMeterLeft, h.levelMeterRight};
    for (int i = 0; i < 5; ++i) {
        double value = 0.0;
        if (mMeters[i].Take(value))
            ui.SetValue(meters[i], value);
    }
}

//------------------------------------------------------------------------
void OstrandEditorLink::ApplyPlates()
{
    OstrandEditorAccess ui(*mPlug);
    const OstrandEditorHandles& h = mPlug->mHandles;
    for (double plate : {h.tightPlate, h.classicPlate, h.juicePlate, h.attackPlate, h.releasePlate,
                         h.sensitivityPlate, h.strengthPlate, h.balancePlate, h.outPlate, h.envPlate,
                         h.pdrPlate, h.extPlate, h.anglePlate, h.logoPlate})
        ui.Show(plate, true);
    ui.Show(h.faderLight, false);
    ui.ClearDelayPrompt();
}
