#pragma once
// What the engine asks of the plug-in's editor: readout texts, lights,
// meters, the name plates and the undo history. The editor implements it and
// hands it to Ostrand::SetEditorServices; without an editor the engine simply
// has no one to tell.
//
// Threads: calls made from parameter handling may come from the audio thread
// under the plug-in lock (a host automating a parameter), so every call must
// only store values, texts and visibility flags and never block. The engine
// makes the calls that move controls or take snapshots from its timer only.
#include "engine/ostrand/OstrandReadouts.h"

enum OstrandLight : int {
    kLightInvertEnvelope = 0, // SwitchLight1
    kLightInvertPdr,          // SwitchLight2
    kLightExtSidechain,       // SwitchLight3
};

// The five smoothed meter values of the last block, 0 ... 1.
struct OstrandMeters {
    double difference = 0.0; // how much the output differs from the input
    double mixMid = 0.0;     // twice the peak mid mix amount
    double mixSide = 0.0;    // twice the peak side mix amount
    double outputLeft = 0.0;
    double outputRight = 0.0;
};

class OstrandEditorServices {
public:
    virtual ~OstrandEditorServices() = default;

    virtual void SetReadoutText(OstrandReadout readout, const char* text) = 0;
    // Sets a switch light's value (1 on, 0 off) and shows or hides it.
    virtual void SetSwitchLight(OstrandLight light, bool on) = 0;
    // The oversampling style light: 1 for "Clear", 0.34 (dimmed) for "Regular".
    virtual void SetStyleLight(double value) = 0;
    // The value of both clip lights; their visibility is left alone.
    virtual void SetClipLightValues(double value) = 0;
    virtual void ShowClipLight(bool right) = 0;
    // Hides both clip lights.
    virtual void HideClipLights() = 0;
    // Fades the name plates back in, hides the fader light, clears the delay prompt.
    virtual void ShowPlates() = 0;
    virtual void SetMeters(const OstrandMeters& meters) = 0;
    // The Delay fader's position, normalised.
    virtual void SetDelayFader(double normalized) = 0;
    // Sets the controls bound to a parameter to its value (no edit follows).
    virtual void RefreshParamControl(int paramIdx, double normalized) = 0;
    // Moves the controls bound to a parameter as a user would, so that they
    // pass the value on through SetParameterFromGUI.
    virtual void MoveParamControl(int paramIdx, double normalized) = 0;
    virtual void InitUndoHistory() = 0;
    virtual void PushUndoSnapshot() = 0;
    virtual void MarkAllControlsDirty() = 0;
};
