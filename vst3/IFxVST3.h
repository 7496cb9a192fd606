#pragma once
// The VST 3 binding of the plug-in framework: one object that is the audio
// component, its edit controller and its unit info. It turns the host's
// buses, processing calls, parameter queues, state streams and view requests
// into IFxBase's model (64-bit channel pointers, normalised parameter values,
// state chunks). A plug-in derives from it and overrides IFxBase's hooks.
//
// Threads: process() holds the plug-in lock for the whole call and never
// allocates once setupProcessing has sized the scratch buffers. The state
// calls take the same lock. Calls back into the host (performEdit and its
// begin/end, restartComponent) are made with no plug-in lock held, on the
// host's UI thread (the thread that created the instance, or the host's run
// loop) wherever the host offers one: from any other thread, and for every
// restart request, they are queued and delivered at the next idle tick on
// the host's run loop or the next UI-thread entry. A host that offers no run
// loop and makes no UI-thread call within kUiThreadGraceMs gets them from
// the idle timer's own thread (see docs/decisions.md).
#include "framework/IFxBase.h"
#include "vst3/IdleTimer.h"
#include "vst3/SingleComponentEffect.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class IFxVST3View;

class IFxVST3 : public IFxBase,
                public tarvo::vst3::SingleComponentEffect,
                public Steinberg::Vst::IUnitInfo {
public:
    using tresult = Steinberg::tresult;
    using int32 = Steinberg::int32;
    using ParamID = Steinberg::Vst::ParamID;
    using ParamValue = Steinberg::Vst::ParamValue;

    static constexpr ParamID kBypassId = 0x62706173;  // 'bpas'
    static constexpr ParamID kPresetId = 0x70727374;  // 'prst'
    // How long queued host calls wait for a UI-thread entry before the idle
    // timer's own thread delivers them (hosts with no run loop for us).
    static constexpr int kUiThreadGraceMs = 40;
    // Ticks without a processing call before the idle timer may rest (the
    // engine's own count before it takes audio as stopped).
    static constexpr int kTicksBeforeRest = 10;
    // The highest sample rate setupProcessing accepts: above any audio
    // interface's (768 kHz is the highest in use), and low enough that every
    // sample count the engine derives from the rate fits its integers.
    static constexpr double kMaxSampleRate = 1.0e6;
    // The longest slice process() hands the plug-in at once. Hosts may
    // announce any maximum block size (some offline renders announce
    // millions of frames); longer blocks are processed in slices of this
    // size, so the scratch memory stays small whatever the host says.
    static constexpr int kMaxSliceFrames = 16384;

    IFxVST3(void* instanceInfo, int nParams, const char* channelIOString, int nPresets,
            const char* effectName, const char* productName, const char* makerName, int version,
            int uniqueID, int makerID, int latency, bool doesMidi, bool doesStateChunks,
            bool isInstrument, int sidechainChannels);
    ~IFxVST3() override;

    // The plug-in's idle timer: IdleTick() every intervalMs on the host's UI
    // thread (see IdleTimer.h for the Linux fallback). Called without the
    // plug-in lock held.
    void StartIdleTimer(int intervalMs);
    void StopIdleTimer();

    int SidechainChannels() const { return mSidechainChannels; }
    bool DoesMidi() const { return mDoesMidi; }
    bool SidechainConnected() const { return mSidechainConnected; }

    // --- IPluginBase ---------------------------------------------------------
    tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // --- IComponent / IEditController (shared) -------------------------------
    tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    // The 124-byte stream for the plug-in (its parameters as little-endian
    // doubles, then the bypass flag), for both interfaces.
    tresult PLUGIN_API getState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    tresult PLUGIN_API setState(Steinberg::IBStream* stream) SMTG_OVERRIDE;

    // --- IAudioProcessor (IFxVST3Process.cpp) --------------------------------
    // Processing on or off ends a rest of the idle timer; nothing else.
    tresult PLUGIN_API setProcessing(Steinberg::TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                          Steinberg::Vst::SpeakerArrangement* outputs,
                                          int32 numOuts) SMTG_OVERRIDE;
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
    tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;

    // --- IEditController --------------------------------------------------------
    tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                             Steinberg::Vst::String128 string) SMTG_OVERRIDE;
    tresult PLUGIN_API getParamValueByString(ParamID id, Steinberg::Vst::TChar* string,
                                             ParamValue& valueNormalized) SMTG_OVERRIDE;
    ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) SMTG_OVERRIDE;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) SMTG_OVERRIDE;
    ParamValue PLUGIN_API getParamNormalized(ParamID id) SMTG_OVERRIDE;
    tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) SMTG_OVERRIDE;
    tresult PLUGIN_API setComponentHandler(Steinberg::Vst::IComponentHandler* handler) SMTG_OVERRIDE;
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;

    // --- IUnitInfo (IFxVST3Units.cpp) --------------------------------------------
    int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, Steinberg::Vst::UnitInfo& info) SMTG_OVERRIDE;
    int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramListInfo(int32 listIndex, Steinberg::Vst::ProgramListInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                      Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                      Steinberg::Vst::CString attributeId,
                                      Steinberg::Vst::String128 attributeValue) SMTG_OVERRIDE;
    tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId, int32 programIndex) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId, int32 programIndex,
                                           Steinberg::int16 midiPitch, Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() SMTG_OVERRIDE { return 0; }
    tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) SMTG_OVERRIDE;
    tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                    int32 busIndex, int32 channel, Steinberg::Vst::UnitID& unitId) SMTG_OVERRIDE;
    tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                          Steinberg::IBStream* data) SMTG_OVERRIDE;

    // --- IFxBase host-facing operations --------------------------------------------
    void BeginInformHostOfParamChange(int paramIdx) override;
    void InformHostOfParamChange(int paramIdx, double normalized) override;
    void EndInformHostOfParamChange(int paramIdx) override;
    bool RequestEditorResize(int width, int height) override;
    bool ShowHostParamMenu(int paramIdx, int x, int y) override;
    bool IsOfflineRender() override;
    double TransportSamplePos() override;
    double TransportTempo() override;
    void TransportTimeSig(int* numerator, int* denominator) override;
    void TransportSnapshot(ITransportInfo* info) override;
    bool EmitMidiEvent(IMidiEvent* /*event*/) override { return false; }
    // Stores the latency, resizes and clears the bypass delay line (under the
    // plug-in lock) and asks the host to restart with the latency-changed
    // flag, at the next UI-thread idle tick.
    void ChangeLatency(int samples) override;

    // --- Views (IFxVST3View) ----------------------------------------------------
    void ForgetView(IFxVST3View* view);
    int OpenViewCount() const { return static_cast<int>(mViews.size()); }
    IFxVST3View* OpenView(int idx) const;
    tarvo::vst3::IdleTimer& Timer() { return mTimer; }

    // Delivers queued host calls now, when on the UI thread and not nested in
    // another delivery. Called after every idle tick on the UI thread and
    // from the host's parameter reads and view requests (calls a host makes
    // from its UI thread while idle; never from inside activation, setup or
    // state calls).
    void DeliverHostCalls();

    OBJ_METHODS(IFxVST3, tarvo::vst3::SingleComponentEffect)
    DEFINE_INTERFACES
        DEF_INTERFACE(Steinberg::Vst::IUnitInfo)
    END_DEFINE_INTERFACES(tarvo::vst3::SingleComponentEffect)
    REFCOUNT_METHODS(tarvo::vst3::SingleComponentEffect)

    // The preset parameter's normalised value for a slot, and the slot a
    // normalised value selects (-1 for none). A host that hands back the
    // value it read selects the same slot, rounding included.
    double PresetNormalized(int slot) const;
    int PresetSlot(double normalized) const;

private:
    static void OnIdleTimer(void* self);
    // After a tick: whether the timer may rest until the next poke. Nothing
    // is processing, no view exists, no host call waits for delivery and
    // the engine's ticks change nothing.
    bool TicksMayRest();
    // Ends a rest of the idle timer: after every change a tick may act on.
    void WakeTimer() { mTimer.Poke(); }
    tresult Initialize(Steinberg::FUnknown* context);
    // The normalised value a text stands for, for any parameter ID.
    bool ValueFromText(ParamID id, const char* text, double* normalized) const;
    void TellHostOfPresetLoad();
    // Delivers queued host calls; on any thread when anyThread.
    void DeliverHost(bool anyThread);
    static std::int64_t NowMs();
    // Marks that a host call is queued (keeps the earliest time).
    void NoteHostCallWaiting();
    // How long the oldest queued host call has waited, or -1.
    std::int64_t HostCallsWaitingMs();
    bool OnUiThread() const { return std::this_thread::get_id() == mUiThread; }
    void MakeBusesAndParameters();
    void AddPluginParameter(int idx);
    // One processing slice of at most the block size, starting offset frames
    // into the host's buffers.
    void RouteInputs(Steinberg::Vst::ProcessData& data, int offset, int frames, bool is64);
    void RouteOutputs(Steinberg::Vst::ProcessData& data, int offset, bool is64);
    tresult ArrangeBuses(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                         Steinberg::Vst::SpeakerArrangement* outputs, int32 numOuts);
    tresult Process(Steinberg::Vst::ProcessData& data);
    tresult WriteState(Steinberg::IBStream* stream);
    tresult ReadState(Steinberg::IBStream* stream);
    void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
    void ApplyEvents(Steinberg::Vst::IEventList* events);
    void StoreContext(const Steinberg::Vst::ProcessContext& context);

    int mSidechainChannels;
    bool mDoesMidi;
    bool mSidechainConnected = false;
    // False while the host's arrangement for the sidechain bus is empty:
    // nothing is connected, though the bus keeps its place and activation.
    bool mSidechainArranged = true;
    Steinberg::Vst::ProcessContext mContext{};
    std::vector<IFxVST3View*> mViews;
    std::atomic<int> mViewCount{0};  // mViews.size(), for the timer's thread
    std::atomic<bool> mProcessCalled{false};
    int mTicksWithoutProcess = 0;  // ticking thread only

    // Offset host-buffer pointers for a slice; sized for the widest bus.
    std::vector<float*> mSlice32;
    std::vector<double*> mSlice64;

    std::thread::id mUiThread;
    tarvo::vst3::IdleTimer mTimer;
    // Host calls waiting for the UI thread.
    std::unique_ptr<std::atomic<double>[]> mPendingValue;
    std::unique_ptr<std::atomic<bool>[]> mPendingEdit;
    std::atomic<bool> mAnyPendingEdit{false};
    // Restart flags waiting for delivery, and the preset loads the host
    // already knows of (guarded by the plug-in lock).
    std::atomic<int32> mPendingRestart{0};
    std::atomic<unsigned> mPresetLoadsTold{0};
    std::atomic<std::int64_t> mWaitingSince{0};
    std::recursive_mutex mDeliverLock;
    bool mDelivering = false;  // guarded by mDeliverLock
};
