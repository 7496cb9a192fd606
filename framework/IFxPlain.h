#pragma once
// A plug-in base with no host binding: the plug-in runs headless on buffers
// (tests, offline tools). It takes the same constructor arguments as the
// VST 3 binding, so a plug-in class can sit on either without change. Its
// idle timer never ticks on its own: callers drive IdleTick() by hand.
#include "framework/IFxBase.h"

class IFxPlain : public IFxBase {
public:
    IFxPlain(void* /*instanceInfo*/, int nParams, const char* channelIOString, int nPresets,
             const char* effectName, const char* productName, const char* makerName, int version,
             int uniqueID, int makerID, int latency, bool doesMidi, bool doesStateChunks,
             bool isInstrument, int /*sidechainChannels*/)
        : IFxBase(nParams, channelIOString, nPresets, effectName, productName, makerName, version,
                  uniqueID, makerID, latency, doesMidi, doesStateChunks, isInstrument, 0)
    {
        MarkInputsConnected(0, NInputChannels(), true);
        MarkOutputsConnected(0, NOutputChannels(), true);
    }

    // The plug-in's periodic idle timer (every intervalMs on the UI thread,
    // calling IdleTick). Headless: no timer runs.
    void StartIdleTimer(int /*intervalMs*/) {}
    void StopIdleTimer() {}
};
