#pragma once
// The framework base of every plug-in: parameters, preset slots, state
// serialisation, host identification, channel configuration and routing,
// and the edit path between editor, host and engine. A plug-in format
// binding derives from it and fills in the host-facing virtual operations;
// the plug-in derives from the binding and overrides the engine hooks.
//
// Threads: the plug-in lock (recursive) is held by the processing call for a
// whole block, by GUI edits, by the state calls and by the serialisers, so
// none of them interleaves with a block of audio.
#include "framework/BypassDelayLine.h"
#include "framework/ChannelConfig.h"
#include "framework/FxTypes.h"
#include "framework/IFxParam.h"
#include "framework/IFxPreset.h"
#include "framework/RelaxedAtomic.h"
#include "framework/StateChunk.h"

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

class IEditorLink;

// One input or output channel as the audio callback sees it.
struct IChannel {
    bool connected = false;
    double** slot = nullptr;          // entry in the base's pointer array
    std::vector<double> scratch;      // one block; used when unconnected or for 32-bit I/O
    float* hostFloatOut = nullptr;    // outputs: where 32-bit results go after rendering
};

class IFxBase {
public:
    IFxBase(int nParams, const char* channelIOString, int nPresets, const char* effectName,
            const char* productName, const char* makerName, int version, int uniqueID, int makerID,
            int latency, bool doesMidi, bool doesStateChunks, bool isInstrument, int api);
    virtual ~IFxBase();

    IFxBase(const IFxBase&) = delete;
    IFxBase& operator=(const IFxBase&) = delete;

    // --- Engine hooks (the plug-in overrides these) -----------------------
    virtual void ResetProcessing() {}
    virtual void ParamChanged(int /*paramIdx*/) {}
    // The base passes input i to output i and zeroes outputs without input.
    virtual void RenderBlock(double** inputs, double** outputs, int nFrames);
    virtual void RenderBlockFloat(float** inputs, float** outputs, int nFrames);
    virtual void EditorOpened() {}
    virtual void EditorClosing() {}
    virtual void IdleTick() {}
    virtual void ActiveChanged(bool /*active*/) {}
    virtual void HandleMidiEvent(IMidiEvent* event) { EmitMidiEvent(event); }
    // Reserved hooks keep the virtual layout of the framework's slot list.
    virtual void Hook10() {}
    virtual bool QueryText(int /*what*/, char* /*out*/) { return false; }

    // --- State ---------------------------------------------------------------
    // Locked wrappers of SerializeParams / UnserializeParams.
    virtual bool SaveState(StateChunk* chunk);
    virtual int LoadState(StateChunk* chunk, int startPos);
    // True when every current value is within 1e-5 of the stored one
    // (compared as 32-bit floats); false when the data is short.
    virtual bool StateEquals(const StateChunk* chunk, int startPos);
    virtual void EditorResized() {}
    virtual bool Query16() { return false; }
    virtual void HostIdentified() {}

    // --- Host communication (the binding overrides these) ------------------
    virtual bool ShowHostParamMenu(int /*paramIdx*/, int /*x*/, int /*y*/) { return false; }
    // Editor edit: parameter value, host notification, engine notification,
    // in that order, under the plug-in lock. Ignores invalid indices.
    virtual void SetParameterFromGUI(int paramIdx, double normalized);
    virtual void BeginInformHostOfParamChange(int /*paramIdx*/) {}
    virtual void InformHostOfParamChange(int /*paramIdx*/, double /*normalized*/) {}
    virtual void EndInformHostOfParamChange(int /*paramIdx*/) {}
    virtual void Hook23() {}
    virtual bool IsOfflineRender() { return false; }
    virtual double TransportSamplePos() { return mTransport.samplePos; }
    virtual double TransportTempo() { return mTransport.tempo; }
    virtual void TransportTimeSig(int* numerator, int* denominator);
    virtual void TransportSnapshot(ITransportInfo* info) { if (info) *info = mTransport; }
    virtual int HostCode() { return mHost; }
    virtual int ApiCode() { return mApi; }
    virtual bool RequestEditorResize(int /*width*/, int /*height*/) { return false; }
    virtual void Hook32() {}
    // Takes ownership of the surface, makes its back buffer and pushes every
    // parameter to its controls, under the plug-in lock.
    virtual void AttachEditor(IEditorLink* surface);
    virtual void SetMaxBlockFrames(int frames);
    // Stores the latency and resizes and clears the bypass delay line; the
    // binding also tells the host.
    virtual void ChangeLatency(int samples);
    virtual bool EmitMidiEvent(IMidiEvent* /*event*/) { return false; }
    virtual bool EmitMidiSysEx(const void* /*data*/, int /*size*/, int /*offset*/) { return false; }
    virtual bool SerializeParams(StateChunk* chunk);
    virtual int UnserializeParams(StateChunk* chunk, int startPos);
    // Pushes every parameter's value to the editor surface, if attached.
    virtual void RefreshEditorParams();
    virtual bool SerializePresets(StateChunk* chunk);
    virtual int UnserializePresets(StateChunk* chunk, int startPos);
    virtual void Hook43() {}
    virtual void PresetLoadStarting() {}
    virtual void PresetLoadFinished() {}
    virtual bool Query46() { return false; }
    // After the slot list: true when the last IdleTick left nothing for
    // later ones. Until a parameter, state, block or editor action reaches the
    // plug-in, every further tick would change nothing, so a binding may skip
    // them. Asked on the ticking thread right after IdleTick.
    virtual bool IdleTicksChangeNothing() const { return false; }

    // --- Parameters ------------------------------------------------------------
    int NParams() const { return static_cast<int>(mParams.size()); }
    IFxParam* GetParam(int idx) { return ValidParam(idx) ? &mParams[static_cast<std::size_t>(idx)] : nullptr; }
    const IFxParam* GetParam(int idx) const { return ValidParam(idx) ? &mParams[static_cast<std::size_t>(idx)] : nullptr; }
    bool ValidParam(int idx) const { return idx >= 0 && idx < NParams(); }
    // Tells the host every parameter's current normalised value, under the lock.
    void InformHostOfAllParamChanges();

    // --- Presets -------------------------------------------------------------
    int NPresets() const { return static_cast<int>(mPresets.size()); }
    const IFxPreset* GetPreset(int idx) const;
    int CurrentPresetIndex() const { return mCurrentPreset; }
    // Stores the values (one per parameter, in index order) in the first
    // uninitialised slot. Does nothing when every slot is taken or the value
    // count does not match the parameter count.
    bool DefinePreset(const char* name, std::initializer_list<double> values);
    bool LoadPreset(int idx);
    // Counts the preset loads that succeeded, wherever they came from (the
    // host, the editor, a bank restore), so a binding can tell its host.
    unsigned PresetLoadCount() const { return mPresetLoads.load(); }
    const char* PresetName(int idx) const;
    // "user preset N", N being one more than the slots already so named.
    static void NextUserPresetName(const std::vector<IFxPreset>& presets, char* out, int outSize);

    // --- Identity, host and setup -----------------------------------------------
    const char* EffectName() const { return mEffectName; }
    const char* ProductName() const { return mProductName; }
    const char* MakerName() const { return mMakerName; }
    int UniqueID() const { return mUniqueID; }
    int MakerID() const { return mMakerID; }
    int Version() const { return mVersion; }
    bool DoesStateChunks() const { return mDoesStateChunks; }
    bool IsInstrument() const { return mIsInstrument; }
    void SetHost(const char* hostName, int version);
    int HostVersion() const { return mHostVersion; }
    bool LegalIO(int nIn, int nOut) const { return mChannelConfig.IsLegal(nIn, nOut); }
    const fx::ChannelConfig& ChannelConfiguration() const { return mChannelConfig; }

    double SampleRate() const { return mSampleRate; }
    void SetSampleRate(double rate) { mSampleRate = rate; }
    int BlockSize() const { return mBlockSize; }
    int Latency() const { return mLatency; }
    bool IsBypassed() const { return mBypassed; }
    void SetBypassed(bool on) { mBypassed = on; }
    // Forgets the audio stored in the bypass delay line (a new processing
    // setup must not replay what came before it).
    void ClearBypassDelay() { mBypassDelay.Clear(); }
    IEditorLink* EditorSurface() const { return mEditor; }

    std::recursive_mutex& PluginLock() const { return mLock; }

    // --- Channel routing (driven by the format binding) -------------------------
    int NInputChannels() const { return static_cast<int>(mInChannels.size()); }
    int NOutputChannels() const { return static_cast<int>(mOutChannels.size()); }
    const IChannel& InputChannel(int i) const { return mInChannels[static_cast<std::size_t>(i)]; }
    const IChannel& OutputChannel(int i) const { return mOutChannels[static_cast<std::size_t>(i)]; }
    // Sets the connected flag on channels [first, first + count), cut at the
    // last channel; an unconnected channel's slot points at its scratch.
    void MarkInputsConnected(int first, int count, bool connected);
    void MarkOutputsConnected(int first, int count, bool connected);
    // Walks channels [first, first + count) and gives each connected one the
    // next host buffer. 64-bit buffers are used in place; 32-bit input is
    // converted into scratch, and 32-bit output is kept for RenderBuffers.
    void BindInputBuffers(int first, int count, double* const* buffers, int nBuffers);
    void BindInputBuffers(int first, int count, float* const* buffers, int nBuffers, int nFrames);
    void BindOutputBuffers(int first, int count, double* const* buffers, int nBuffers);
    void BindOutputBuffers(int first, int count, float* const* buffers, int nBuffers);
    // Clears every scratch buffer for the stored block size.
    void ClearScratch();
    // Bypass: the latency-compensated pass-through (or a plain copy when
    // there is no latency), then the 32-bit conversion.
    void BypassBlock(int nFrames);
    // RenderBlock over the pointer arrays, then the 32-bit conversion.
    void RenderBuffers(int nFrames);
    double** InputPointers() { return mInPtrs.data(); }
    double** OutputPointers() { return mOutPtrs.data(); }

    std::vector<std::string>& InputBusLabels() { return mInputBusLabels; }
    std::vector<std::string>& OutputBusLabels() { return mOutputBusLabels; }
    std::vector<std::string>& ParamGroupNames() { return mParamGroupNames; }

protected:
    ITransportInfo mTransport;

private:
    void MarkConnected(std::vector<IChannel>& channels, int first, int count, bool connected);
    void ConvertOutputsToFloat(int nFrames);

    fx::ChannelConfig mChannelConfig;
    mutable std::recursive_mutex mLock;
    std::vector<IFxParam> mParams;
    char mEffectName[128] = {};
    char mProductName[128] = {};
    char mMakerName[128] = {};
    int mUniqueID = 0;
    int mMakerID = 0;
    int mVersion = 0;
    int mApi = 0;
    int mHost = -1;
    int mHostVersion = 0;
    bool mDoesStateChunks = false;
    bool mIsInstrument = false;
    bool mBypassed = false;
    int mCurrentPreset = 0;
    std::atomic<unsigned> mPresetLoads{0};
    double mSampleRate = 44100.0;
    int mBlockSize = 0;
    // Written under the plug-in lock (by the idle tick too); hosts read it
    // through getLatencySamples on any thread without the lock.
    RelaxedAtomic<int> mLatency{0};
    BypassDelayLine mBypassDelay;
    std::vector<std::string> mParamGroupNames;
    IEditorLink* mEditor = nullptr;
    std::vector<IFxPreset> mPresets;
    std::vector<double*> mInPtrs;
    std::vector<double*> mOutPtrs;
    std::vector<IChannel> mInChannels;
    std::vector<IChannel> mOutChannels;
    std::vector<std::string> mInputBusLabels;
    std::vector<std::string> mOutputBusLabels;
};
