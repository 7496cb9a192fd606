// The processor side of IFxVST3: bus arrangements, processing setup and the
// processing call, which applies parameter queues, routes the host's buffers
// to the framework's 64-bit channel pointers (sidechain included) and runs
// either the plug-in or the latency-compensated bypass.
//
// Real-time: process() takes only the plug-in lock, allocates nothing and
// never reads or writes beyond the block size set by setupProcessing; a host
// that sends longer blocks is served in slices of that size.
#include "vst3/IFxVST3.h"

#include "vst3/InterfaceGuard.h"
#include "vst3/SpeakerLayout.h"
#include "vst3/TextConvert.h"

#include "framework/IEditorLink.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;
using tarvo::vst3::ArrangementForChannels;
using tarvo::vst3::ChannelsInArrangement;
using tarvo::vst3::Guarded;

namespace {

// Gives an existing audio bus the wanted channel count. The bus object stays,
// and with it its index, type, flags and the host's activation, whatever the
// order in which the host activates and arranges; only a bus whose count
// changes takes the new arrangement and the new name.
void ArrangeBus(AudioBus& bus, int channels, SpeakerArrangement arrangement, const char* name)
{
    if (ChannelsInArrangement(bus.getArrangement()) == channels)
        return;
    String128 text{};
    tarvo::vst3::Utf8ToUtf16(name, text, 128);
    bus.setArrangement(arrangement);
    bus.setName(text);
}

} // namespace

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                               int32 numOuts)
{
    if (numIns < 0 || numOuts < 0 || (numIns > 0 && inputs == nullptr) || (numOuts > 0 && outputs == nullptr))
        return kInvalidArgument;
    return Guarded(kInternalError, [&] { return ArrangeBuses(inputs, numIns, outputs, numOuts); });
}

//------------------------------------------------------------------------
tresult IFxVST3::ArrangeBuses(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs, int32 numOuts)
{
    // Everything is checked before anything changes: a refused request
    // leaves the buses as they were.
    int nIn = numIns > 0 ? ChannelsInArrangement(inputs[0]) : 0;
    int nOut = numOuts > 0 ? ChannelsInArrangement(outputs[0]) : 0;
    if (!LegalIO(nIn, nOut))
        return kResultFalse;
    AudioBus* mainIn = AudioInputBus(0);
    AudioBus* mainOut = AudioOutputBus(0);
    if (mainIn == nullptr || mainOut == nullptr)
        return kResultFalse;  // not initialised
    if (mSidechainChannels == 0 && numIns != 1)
        return kResultFalse;
    AudioBus* side = nullptr;
    int nSide = 0;
    if (mSidechainChannels != 0) {
        side = AudioInputBus(1);
        if (numIns != 2 || side == nullptr)
            return kResultFalse;
        // An empty arrangement means nothing is connected to the sidechain;
        // a mono one is spread over the sidechain channels in process.
        nSide = ChannelsInArrangement(inputs[1]);
        if (nSide > mSidechainChannels)
            return kResultFalse;
    }

    // Hosts should arrange only while inactive, but some do it while the
    // plug-in runs: the lock keeps a block from seeing a half-made change.
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    MarkInputsConnected(0, NInputChannels(), false);
    MarkOutputsConnected(0, NOutputChannels(), false);
    ArrangeBus(*mainIn, nIn, ArrangementForChannels(nIn), "Input");
    ArrangeBus(*mainOut, nOut, ArrangementForChannels(nOut), "Output");
    if (side != nullptr) {
        mSidechainArranged = nSide > 0;
        if (nSide > 0)
            ArrangeBus(*side, nSide, inputs[1], "Sidechain Input");
    }
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue : kResultFalse;
}

//------------------------------------------------------------------------
uint32 PLUGIN_API IFxVST3::getLatencySamples()
{
    return static_cast<uint32>(std::max(Latency(), 0));
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setupProcessing(ProcessSetup& setup)
{
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    // A rate the engine cannot run at, or no room for a single frame, would
    // configure every rate-dependent block with nonsense.
    if (!std::isfinite(setup.sampleRate) || setup.sampleRate <= 0.0 || setup.sampleRate > kMaxSampleRate ||
        setup.maxSamplesPerBlock <= 0)
        return kResultFalse;
    return Guarded(kInternalError, [&]() -> tresult {
        std::lock_guard<std::recursive_mutex> lock(PluginLock());
        // Bypass is the host's and the saved project's: hosts set up again
        // after restoring a project and whenever the rate or block size
        // changes, and a bypassed insert must stay bypassed. The engine and
        // the bypass delay line start afresh.
        SetSampleRate(setup.sampleRate);
        SetMaxBlockFrames(std::min<int>(setup.maxSamplesPerBlock, kMaxSliceFrames));
        ClearBypassDelay();
        ResetProcessing();
        processSetup = setup;
        WakeTimer();
        return kResultOk;
    });
}

//------------------------------------------------------------------------
void IFxVST3::StoreContext(const ProcessContext& context)
{
    mContext = context;
    mTransport.tempo = context.tempo;
    mTransport.samplePos = static_cast<double>(context.projectTimeSamples);
    mTransport.ppqPos = context.projectTimeMusic;
    mTransport.lastBarStartPpq = context.barPositionMusic;
    mTransport.cycleStartPpq = context.cycleStartMusic;
    mTransport.cycleEndPpq = context.cycleEndMusic;
    mTransport.timeSigNumerator = context.timeSigNumerator;
    mTransport.timeSigDenominator = context.timeSigDenominator;
    mTransport.transportRunning = (context.state & ProcessContext::kPlaying) != 0;
    mTransport.cycleActive = (context.state & ProcessContext::kCycleActive) != 0;
}

//------------------------------------------------------------------------
void IFxVST3::ApplyParameterChanges(IParameterChanges* changes)
{
    if (changes == nullptr)
        return;
    int32 count = changes->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        IParamValueQueue* queue = changes->getParameterData(i);
        if (queue == nullptr)
            continue;
        int32 points = queue->getPointCount();
        int32 offset = 0;
        ParamValue value = 0.0;
        if (points <= 0 || queue->getPoint(points - 1, offset, value) != kResultOk || !std::isfinite(value))
            continue;
        ParamID id = queue->getParameterId();
        if (id == kBypassId) {
            SetBypassed(value > 0.5);
        } else if (id == kPresetId) {
            // Out of range restores nothing. The host chose this preset; it
            // hears of the values it changed through a restart request.
            if (LoadPreset(PresetSlot(value))) {
                mPresetLoadsTold.store(PresetLoadCount());
                mPendingRestart.fetch_or(kParamValuesChanged);
                NoteHostCallWaiting();
            }
        } else if (id < static_cast<ParamID>(NParams())) {
            int idx = static_cast<int>(id);
            GetParam(idx)->SetFromNormalized(value);
            if (IEditorLink* surface = EditorSurface())
                surface->PushParamToControls(idx, value, true);
            ParamChanged(idx);
        }
    }
}

//------------------------------------------------------------------------
void IFxVST3::ApplyEvents(IEventList* events)
{
    if (!mDoesMidi || events == nullptr)
        return;
    int32 count = events->getEventCount();
    for (int32 i = 0; i < count; ++i) {
        Event event{};
        if (events->getEvent(i, event) != kResultOk)
            continue;
        IMidiEvent midi;
        midi.offset = event.sampleOffset;
        if (event.type == Event::kNoteOnEvent) {
            midi.status = static_cast<std::uint8_t>(0x90 | (event.noteOn.channel & 0x0F));
            midi.data1 = static_cast<std::uint8_t>(event.noteOn.pitch & 0x7F);
            midi.data2 = static_cast<std::uint8_t>(std::clamp(event.noteOn.velocity, 0.0f, 1.0f) * 127.0f);
        } else if (event.type == Event::kNoteOffEvent) {
            midi.status = static_cast<std::uint8_t>(0x80 | (event.noteOff.channel & 0x0F));
            midi.data1 = static_cast<std::uint8_t>(event.noteOff.pitch & 0x7F);
            midi.data2 = 0;
        } else {
            continue;
        }
        HandleMidiEvent(&midi);
    }
}

//------------------------------------------------------------------------
void IFxVST3::RouteInputs(ProcessData& data, int offset, int frames, bool is64)
{
    if (data.numInputs <= 0 || data.inputs == nullptr) {
        // No input bus this call: no channel may keep last call's host pointer.
        MarkInputsConnected(0, NInputChannels(), false);
        ClearScratch();
        return;
    }

    // Binds host bus b's buffers (from offset) over channels [first, first+count).
    // With spreadMono, a one-channel bus feeds every channel of the range.
    auto bind = [&](int bus, int first, int count, bool spreadMono) {
        const AudioBusBuffers* buffers = bus < data.numInputs ? &data.inputs[bus] : nullptr;
        int n = buffers ? std::min(buffers->numChannels, static_cast<int32>(mSlice32.size())) : 0;
        if (n <= 0 || (is64 ? buffers->channelBuffers64 == nullptr : buffers->channelBuffers32 == nullptr)) {
            // Missing bus or buffers: the channels read silence.
            if (is64)
                BindInputBuffers(first, count, static_cast<double* const*>(nullptr), 0);
            else
                BindInputBuffers(first, count, static_cast<float* const*>(nullptr), 0, frames);
            return;
        }
        for (int c = 0; c < n; ++c) {
            if (is64) {
                double* p = buffers->channelBuffers64[c];
                mSlice64[static_cast<std::size_t>(c)] = p ? p + offset : nullptr;
            } else {
                float* p = buffers->channelBuffers32[c];
                mSlice32[static_cast<std::size_t>(c)] = p ? p + offset : nullptr;
            }
        }
        if (spreadMono && n == 1) {
            n = std::min(count, static_cast<int>(mSlice32.size()));
            std::fill(mSlice64.begin() + 1, mSlice64.begin() + n, mSlice64[0]);
            std::fill(mSlice32.begin() + 1, mSlice32.begin() + n, mSlice32[0]);
        }
        if (is64)
            BindInputBuffers(first, count, mSlice64.data(), n);
        else
            BindInputBuffers(first, count, mSlice32.data(), n, frames);
    };

    int mainCount = data.inputs[0].numChannels;
    if (mSidechainChannels == 0) {
        MarkInputsConnected(0, mainCount, true);
        MarkInputsConnected(mainCount, NInputChannels(), false);
        bind(0, 0, NInputChannels(), false);
        return;
    }

    AudioBus* sideBus = AudioInputBus(1);
    // An active bus the host arranged empty has nothing connected to it.
    bool sideActive = sideBus != nullptr && sideBus->isActive() && mSidechainArranged;
    int span = NInputChannels() - mSidechainChannels;
    if (sideActive) {
        mSidechainConnected = true;
        MarkInputsConnected(0, NInputChannels(), true);
    } else {
        if (mSidechainConnected) {
            ClearScratch();
            mSidechainConnected = false;
        }
        MarkInputsConnected(0, NInputChannels(), true);
        MarkInputsConnected(mainCount, span, false);
    }
    bind(0, 0, span, false);
    // Without a second host bus the sidechain channels read silence rather
    // than a pointer left over from an earlier call. A mono sidechain feeds
    // both sidechain channels, so the detector sees it at its full level.
    bind(1, mSidechainChannels, span, true);
}

//------------------------------------------------------------------------
void IFxVST3::RouteOutputs(ProcessData& data, int offset, bool is64)
{
    // Channels no host bus covers write to scratch.
    MarkOutputsConnected(0, NOutputChannels(), false);
    if (data.outputs == nullptr)
        return;
    int k = 0;
    for (int32 j = 0; j < data.numOutputs && k < NOutputChannels(); ++j) {
        AudioBusBuffers& bus = data.outputs[j];
        int c = std::max(bus.numChannels, 0);
        AudioBus* sdkBus = AudioOutputBus(j);
        bool active = sdkBus != nullptr && sdkBus->isActive();
        MarkOutputsConnected(k, c, active);
        MarkOutputsConnected(k + c, NOutputChannels(), false);
        int n = std::min(c, static_cast<int>(mSlice32.size()));
        bool present = is64 ? bus.channelBuffers64 != nullptr : bus.channelBuffers32 != nullptr;
        if (!present)
            n = 0;
        for (int ch = 0; ch < n; ++ch) {
            if (is64) {
                double* p = bus.channelBuffers64[ch];
                mSlice64[static_cast<std::size_t>(ch)] = p ? p + offset : nullptr;
            } else {
                float* p = bus.channelBuffers32[ch];
                mSlice32[static_cast<std::size_t>(ch)] = p ? p + offset : nullptr;
            }
        }
        if (is64)
            BindOutputBuffers(k, c, mSlice64.data(), n);
        else
            BindOutputBuffers(k, c, mSlice32.data(), n);
        if (active)
            bus.silenceFlags = 0;
        k += c;
    }
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setProcessing(TBool state)
{
    WakeTimer();
    return SingleComponentEffect::setProcessing(state);
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::process(ProcessData& data)
{
    // Before the block as well: a tick due while it runs waits for it on
    // the plug-in lock, as a tick of the running timer would, rather than
    // being passed over. Atomics only (and a futex wake at most once).
    WakeTimer();
    tresult result = Guarded(kInternalError, [&] { return Process(data); });
    // After it: the next tick sees what it changed.
    mProcessCalled.store(true);
    WakeTimer();
    return result;
}

//------------------------------------------------------------------------
tresult IFxVST3::Process(ProcessData& data)
{
    std::lock_guard<std::recursive_mutex> lock(PluginLock());

    if (data.processContext != nullptr)
        StoreContext(*data.processContext);
    ApplyParameterChanges(data.inputParameterChanges);
    ApplyEvents(data.inputEvents);

    if (data.numSamples <= 0)
        return kResultOk;  // a parameter flush
    bool is64 = data.symbolicSampleSize == kSample64;
    if (!is64 && data.symbolicSampleSize != kSample32)
        return kInvalidArgument;
    int maxFrames = BlockSize();
    if (maxFrames <= 0)
        return kNotInitialized;  // no setupProcessing yet: nothing is sized

    // Longer blocks than the setup allowed are processed in slices, so the
    // scratch buffers are never overrun.
    for (int offset = 0; offset < data.numSamples; offset += maxFrames) {
        int frames = std::min(maxFrames, data.numSamples - offset);
        RouteInputs(data, offset, frames, is64);
        RouteOutputs(data, offset, is64);
        if (IsBypassed())
            BypassBlock(frames);
        else
            RenderBuffers(frames);
    }
    return kResultOk;
}
