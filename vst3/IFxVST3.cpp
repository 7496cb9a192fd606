// IFxVST3: construction, initialisation (buses and parameters), the
// controller's parameter queries, the idle timer and the calls to the host.
#include "vst3/IFxVST3.h"

#include "vst3/IFxVST3View.h"
#include "vst3/InterfaceGuard.h"
#include "vst3/SpeakerLayout.h"
#include "vst3/TextConvert.h"

#include "framework/IEditorLink.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using tarvo::vst3::Guarded;
using tarvo::vst3::Utf16ToUtf8;
using tarvo::vst3::Utf8ToUtf16;

namespace {

// A framework text as a host string.
struct HostText {
    String128 text{};
    explicit HostText(const char* utf8) { Utf8ToUtf16(utf8, text, 128); }
};

// A normalised value from the host, held to 0 .. 1 (NaN counts as 0): the
// shaped mapping would otherwise show values outside the parameter's range,
// or NaN.
double HostNormalized(double value)
{
    return value > 0.0 ? std::min(value, 1.0) : 0.0;
}

// What a normalised value handed to the host must be: finite and in 0 .. 1.
bool IsNormalized(double value)
{
    return value >= 0.0 && value <= 1.0;  // false for NaN
}

// A whole number in the text (leading spaces allowed, trailing text not
// looked at), or false.
bool ParseNumber(const char* text, double* value)
{
    char* end = nullptr;
    double number = std::strtod(text, &end);
    if (end == text || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

// The bypass parameter's value texts, for index 0 and 1.
constexpr const char* kBypassTexts[2] = {"off", "on"};

} // namespace

//------------------------------------------------------------------------
IFxVST3::IFxVST3(void* /*instanceInfo*/, int nParams, const char* channelIOString, int nPresets,
                 const char* effectName, const char* productName, const char* makerName, int version,
                 int uniqueID, int makerID, int latency, bool doesMidi, bool doesStateChunks,
                 bool isInstrument, int sidechainChannels)
    : IFxBase(nParams, channelIOString, nPresets, effectName, productName, makerName, version, uniqueID,
              makerID, latency, doesMidi, doesStateChunks, isInstrument, kApiVst3)
    , mSidechainChannels(std::max(sidechainChannels, 0))
    , mDoesMidi(doesMidi)
    , mUiThread(std::this_thread::get_id())
    , mTimer(&IFxVST3::OnIdleTimer, this)
{
    MarkInputsConnected(0, NInputChannels(), true);
    MarkOutputsConnected(0, NOutputChannels(), true);

    InputBusLabels().clear();
    InputBusLabels().emplace_back("Main Input");
    if (mSidechainChannels != 0)
        InputBusLabels().emplace_back("Aux Input");
    OutputBusLabels().clear();
    if (isInstrument) {
        char label[32];
        for (int pair = 0; pair < (NOutputChannels() + 1) / 2; ++pair) {
            std::snprintf(label, sizeof(label), "Output %i", pair + 1);
            OutputBusLabels().emplace_back(label);
        }
    } else {
        OutputBusLabels().emplace_back("Output");
    }

    std::size_t widest = static_cast<std::size_t>(std::max(NInputChannels(), NOutputChannels()));
    mSlice32.assign(widest, nullptr);
    mSlice64.assign(widest, nullptr);

    std::size_t n = static_cast<std::size_t>(std::max(nParams, 0));
    mPendingValue = std::make_unique<std::atomic<double>[]>(n);
    mPendingEdit = std::make_unique<std::atomic<bool>[]>(n);
    for (std::size_t i = 0; i < n; ++i) {
        mPendingValue[i] = 0.0;
        mPendingEdit[i] = false;
    }
}

//------------------------------------------------------------------------
IFxVST3::~IFxVST3()
{
    mTimer.Stop();
    for (IFxVST3View* view : mViews)
        view->Detach();
    mViews.clear();
    mViewCount.store(0);
}

//------------------------------------------------------------------------
void IFxVST3::StartIdleTimer(int intervalMs)
{
    mTimer.Start(intervalMs);
}

//------------------------------------------------------------------------
void IFxVST3::StopIdleTimer()
{
    mTimer.Stop();
}

//------------------------------------------------------------------------
void IFxVST3::OnIdleTimer(void* self)
{
    // Called by the host's run loop or the system's timer: nothing may
    // escape into them.
    auto* plug = static_cast<IFxVST3*>(self);
    Guarded([plug] {
        const std::uint64_t pokes = plug->mTimer.Pokes();
        plug->IdleTick();
        // A tick from the host's run loop is on its UI thread, whichever
        // thread made the instance. A tick from the timer's own thread
        // delivers only what waited in vain for a UI-thread entry.
        bool uiThread = plug->OnUiThread() || plug->mTimer.TicksOnUiThread();
        if (uiThread || plug->HostCallsWaitingMs() >= kUiThreadGraceMs)
            plug->DeliverHost(true);
        plug->mTimer.SetResting(plug->TicksMayRest(), pokes);
    });
}

//------------------------------------------------------------------------
bool IFxVST3::TicksMayRest()
{
    if (mProcessCalled.exchange(false)) {
        mTicksWithoutProcess = 0;
        return false;
    }
    if (mTicksWithoutProcess < kTicksBeforeRest) {
        ++mTicksWithoutProcess;
        return false;
    }
    if (!IdleTicksChangeNothing() || mViewCount.load() != 0)
        return false;
    // Queued host calls count their grace time in ticks.
    if (mWaitingSince.load() != 0 || mAnyPendingEdit.load() || PresetLoadCount() != mPresetLoadsTold.load())
        return false;
    if (mPendingRestart.load() != 0) {
        // A restart request waits for a handler, which setComponentHandler
        // brings (and pokes); with one there, it waits for delivery.
        std::unique_lock<std::recursive_mutex> lock(mDeliverLock, std::try_to_lock);
        if (!lock.owns_lock() || componentHandler != nullptr)
            return false;
    }
    return true;
}

//------------------------------------------------------------------------
std::int64_t IFxVST3::NowMs()
{
    using namespace std::chrono;
    // Never 0, which means "nothing waiting".
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 1;
}

//------------------------------------------------------------------------
void IFxVST3::NoteHostCallWaiting()
{
    std::int64_t none = 0;
    mWaitingSince.compare_exchange_strong(none, NowMs());
    WakeTimer();
}

//------------------------------------------------------------------------
std::int64_t IFxVST3::HostCallsWaitingMs()
{
    // A preset the editor loaded waits as well, though nothing marked it.
    if (PresetLoadCount() != mPresetLoadsTold.load())
        NoteHostCallWaiting();
    std::int64_t since = mWaitingSince.load();
    return since == 0 ? -1 : NowMs() - since;
}

//------------------------------------------------------------------------
void IFxVST3::DeliverHostCalls()
{
    DeliverHost(false);
}

//------------------------------------------------------------------------
void IFxVST3::DeliverHost(bool anyThread)
{
    if (!anyThread && !OnUiThread())
        return;
    // One delivery at a time, from whichever thread; a host that calls us
    // back from inside one (same thread) gets nothing delivered twice.
    std::unique_lock<std::recursive_mutex> lock(mDeliverLock, std::try_to_lock);
    if (!lock.owns_lock() || mDelivering)
        return;
    mDelivering = true;
    // Anything queued from here on waits afresh.
    mWaitingSince.store(0);
    if (mAnyPendingEdit.exchange(false)) {
        for (int i = 0; i < NParams(); ++i) {
            auto idx = static_cast<std::size_t>(i);
            if (!mPendingEdit[idx].exchange(false))
                continue;
            auto id = static_cast<ParamID>(i);
            beginEdit(id);
            performEdit(id, mPendingValue[idx].load());
            endEdit(id);
        }
    }
    TellHostOfPresetLoad();
    // Kept until the host has given a handler to tell.
    if (componentHandler != nullptr) {
        if (int32 flags = mPendingRestart.exchange(0))
            componentHandler->restartComponent(flags);
    }
    mDelivering = false;
}

//------------------------------------------------------------------------
void IFxVST3::TellHostOfPresetLoad()
{
    // A preset the plug-in loaded itself (editor, bank restore): the host
    // hears of the slot and of every parameter, as one edit each, so it can
    // record them like any edit made in the editor. Loads the host asked for
    // through the preset parameter are told in process().
    // Checked without the lock first: parameter reads arrive here, and must
    // not wait for a block of audio.
    if (NPresets() <= 0 || componentHandler == nullptr || PresetLoadCount() == mPresetLoadsTold.load())
        return;
    std::vector<double> values;
    int slot = 0;
    {
        std::lock_guard<std::recursive_mutex> lock(PluginLock());
        unsigned loads = PresetLoadCount();
        if (loads == mPresetLoadsTold.load())
            return;
        mPresetLoadsTold.store(loads);
        slot = CurrentPresetIndex();
        values.reserve(static_cast<std::size_t>(NParams()));
        for (int i = 0; i < NParams(); ++i)
            values.push_back(GetParam(i)->ToNormalized());
    }
    // The host is called with no plug-in lock held.
    beginEdit(kPresetId);
    performEdit(kPresetId, PresetNormalized(slot));
    endEdit(kPresetId);
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto id = static_cast<ParamID>(i);
        beginEdit(id);
        performEdit(id, values[i]);
        endEdit(id);
    }
}

//------------------------------------------------------------------------
double IFxVST3::PresetNormalized(int slot) const
{
    if (NPresets() <= 0 || slot <= 0)
        return 0.0;
    return std::min(static_cast<double>(slot) / NPresets(), 1.0);
}

//------------------------------------------------------------------------
int IFxVST3::PresetSlot(double normalized) const
{
    if (!std::isfinite(normalized) || NPresets() <= 0)
        return -1;
    // The integer part of value x presets; a value within rounding of the
    // next slot up (slot / presets computed in floating point) counts as it.
    double scaled = std::clamp(normalized, -1.0, 2.0) * NPresets();
    return static_cast<int>(scaled + 1e-9);
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::initialize(FUnknown* context)
{
    return Guarded(kInternalError, [&] { return Initialize(context); });
}

//------------------------------------------------------------------------
tresult IFxVST3::Initialize(FUnknown* context)
{
    tresult result = SingleComponentEffect::initialize(context);

    char hostName[128] = {};
    if (context != nullptr) {
        IHostApplication* app = nullptr;
        if (context->queryInterface(IHostApplication::iid, reinterpret_cast<void**>(&app)) == kResultOk &&
            app != nullptr) {
            String128 name{};
            if (app->getName(name) == kResultOk)
                Utf16ToUtf8(name, hostName, sizeof(hostName), 128);
            SetHost(hostName, 0);
            app->release();
        }
    }

    if (result == kResultOk) {
        // Presets loaded before the host arrived are part of the state it
        // reads; only later loads are news.
        {
            std::lock_guard<std::recursive_mutex> lock(PluginLock());
            mPresetLoadsTold.store(PresetLoadCount());
        }
        MakeBusesAndParameters();
        // Some hosts offer their run loop through the context; tick there.
        mTimer.UseRunLoop(context);
    }
    HostIdentified();
    WakeTimer();
    return result;
}

//------------------------------------------------------------------------
void IFxVST3::MakeBusesAndParameters()
{
    int mainIn = NInputChannels() - mSidechainChannels;
    if (mainIn >= 1 && mainIn <= 6)
        addAudioInput(HostText(InputBusLabels()[0].c_str()).text, tarvo::vst3::ArrangementForChannels(mainIn),
                      kMain, BusInfo::kDefaultActive);

    if (IsInstrument()) {
        for (int pair = 0; pair < (NOutputChannels() + 1) / 2; ++pair) {
            auto p = static_cast<std::size_t>(pair);
            const char* label = p < OutputBusLabels().size() ? OutputBusLabels()[p].c_str() : "";
            addAudioOutput(HostText(label).text, SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
        }
    } else {
        const char* label = OutputBusLabels().empty() ? "" : OutputBusLabels()[0].c_str();
        addAudioOutput(HostText(label).text, tarvo::vst3::ArrangementForChannels(NOutputChannels()), kMain,
                       BusInfo::kDefaultActive);
    }

    if (mSidechainChannels != 0) {
        mSidechainChannels = std::min(mSidechainChannels, 2);
        const char* label = InputBusLabels().size() > 1 ? InputBusLabels()[1].c_str() : "";
        addAudioInput(HostText(label).text, tarvo::vst3::ArrangementForChannels(mSidechainChannels), kAux, 0);
    }

    if (mDoesMidi)
        addEventInput(HostText("MIDI Input").text, 1, kMain, BusInfo::kDefaultActive);

    if (NPresets() > 0) {
        auto* preset = new Parameter(HostText("Preset").text, kPresetId, nullptr, 0.0, NPresets(),
                                     ParameterInfo::kIsProgramChange, 0);
        parameters.addParameter(preset);
    }
    if (!IsInstrument()) {
        auto* bypass = new StringListParameter(HostText("Bypass").text, kBypassId, nullptr,
                                               ParameterInfo::kCanAutomate | ParameterInfo::kIsList |
                                                   ParameterInfo::kIsBypass,
                                               0);
        bypass->appendString(HostText(kBypassTexts[0]).text);
        bypass->appendString(HostText(kBypassTexts[1]).text);
        parameters.addParameter(bypass);
    }
    for (int i = 0; i < NParams(); ++i)
        AddPluginParameter(i);
}

//------------------------------------------------------------------------
void IFxVST3::AddPluginParameter(int idx)
{
    const IFxParam* param = GetParam(idx);
    if (param == nullptr || param->Kind() == kKindNone)
        return;

    UnitID unit = 0;
    if (param->GroupName()[0] != '\0') {
        auto& groups = ParamGroupNames();
        auto it = std::find(groups.begin(), groups.end(), std::string(param->GroupName()));
        if (it == groups.end()) {
            groups.emplace_back(param->GroupName());
            unit = static_cast<UnitID>(groups.size());
        } else {
            unit = static_cast<UnitID>(it - groups.begin()) + 1;
        }
    }

    HostText title(param->DisplayName());
    HostText units(param->UnitLabel());
    auto id = static_cast<ParamID>(idx);
    if (param->Kind() == kKindBool || param->Kind() == kKindEnum) {
        int32 flags = ParameterInfo::kIsList | (param->Automatable() ? ParameterInfo::kCanAutomate : 0);
        auto* list = new StringListParameter(title.text, id, units.text, flags, unit);
        for (int v = 0; v < param->ValueTextCount(); ++v)
            list->appendString(HostText(param->ValueText(v)).text);
        parameters.addParameter(list);
    } else {
        int32 flags = param->Automatable() ? ParameterInfo::kCanAutomate : 0;
        auto* range = new RangeParameter(title.text, id, units.text, param->Min(), param->Max(), param->Default(),
                                         0, flags, unit);
        range->setPrecision(param->Decimals());
        // The host's reset-to-default must land on the plug-in's default,
        // which the linear range mapping would miss for shaped parameters.
        range->getInfo().defaultNormalizedValue = param->ToNormalized(param->Default());
        parameters.addParameter(range);
    }
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::terminate()
{
    return Guarded(kInternalError, [&] {
        for (IFxVST3View* view : mViews)
            view->Detach();
        mViews.clear();
        mViewCount.store(0);
        // The host context goes away: its run loop may go with it.
        mTimer.UseRunLoop(nullptr);
        return SingleComponentEffect::terminate();
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setActive(TBool state)
{
    return Guarded(kInternalError, [&]() -> tresult {
        ActiveChanged(state != 0);
        WakeTimer();
        return kResultOk;
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setComponentState(IBStream* /*state*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string)
{
    const IFxParam* param = id < static_cast<ParamID>(NParams()) ? GetParam(static_cast<int>(id)) : nullptr;
    if (param == nullptr || string == nullptr)
        return kResultFalse;
    return Guarded(kInternalError, [&]() -> tresult {
        char text[128] = {};
        param->FormatValue(HostNormalized(valueNormalized), true, text, true, sizeof(text));
        Utf8ToUtf16(text, string, 128);
        return kResultOk;
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized)
{
    if (string == nullptr)
        return kResultFalse;
    return Guarded(kInternalError, [&]() -> tresult {
        // Whatever the host's text field holds: read at most its 128 units,
        // malformed UTF-16 included, and never through the SDK's converters.
        char text[4 * tarvo::vst3::kHostStringUnits] = {};
        Utf16ToUtf8(string, text, sizeof(text));
        double value = 0.0;
        if (!ValueFromText(id, text, &value) || !IsNormalized(value))
            return kResultFalse;
        valueNormalized = value;
        return kResultOk;
    });
}

//------------------------------------------------------------------------
bool IFxVST3::ValueFromText(ParamID id, const char* text, double* normalized) const
{
    if (id < static_cast<ParamID>(NParams())) {
        const IFxParam* param = GetParam(static_cast<int>(id));
        if (param == nullptr)
            return false;
        // The plug-in's own mapping, so the text a host reads back converts
        // to the value it came from (shaped parameters included).
        int listed = 0;
        double plain = 0.0;
        if (param->FindValueText(text, &listed))
            plain = static_cast<double>(listed);
        else if (!ParseNumber(text, &plain))
            return false;
        *normalized = param->ToNormalized(plain);
        return true;
    }
    if (id == kBypassId && !IsInstrument()) {
        for (int i = 0; i < 2; ++i) {
            if (std::strcmp(text, kBypassTexts[i]) == 0) {
                *normalized = static_cast<double>(i);
                return true;
            }
        }
        return false;
    }
    // The preset parameter's text is its normalised value itself.
    if (id == kPresetId && NPresets() > 0)
        return ParseNumber(text, normalized);
    return false;
}

//------------------------------------------------------------------------
ParamValue PLUGIN_API IFxVST3::normalizedParamToPlain(ParamID id, ParamValue valueNormalized)
{
    return Guarded(0.0, [&] {
        // Inverse of plainParamToNormalized: both use the parameter's shape.
        if (id < static_cast<ParamID>(NParams()))
            if (const IFxParam* param = GetParam(static_cast<int>(id)))
                return param->FromNormalized(HostNormalized(valueNormalized));
        // The SDK's list mapping casts to an integer: keep it in range.
        return SingleComponentEffect::normalizedParamToPlain(id, HostNormalized(valueNormalized));
    });
}

//------------------------------------------------------------------------
ParamValue PLUGIN_API IFxVST3::plainParamToNormalized(ParamID id, ParamValue plainValue)
{
    return Guarded(0.0, [&] {
        if (id < static_cast<ParamID>(NParams()))
            if (const IFxParam* param = GetParam(static_cast<int>(id)))
                return param->ToNormalized(std::isnan(plainValue) ? param->Min() : plainValue);
        return plainValue;
    });
}

//------------------------------------------------------------------------
ParamValue PLUGIN_API IFxVST3::getParamNormalized(ParamID id)
{
    return Guarded(0.0, [&] {
        DeliverHostCalls();
        if (id == kBypassId)
            return IsBypassed() ? 1.0 : 0.0;
        if (id == kPresetId)
            return PresetNormalized(CurrentPresetIndex());
        if (id < static_cast<ParamID>(NParams()))
            if (const IFxParam* param = GetParam(static_cast<int>(id)))
                return param->ToNormalized();
        return 0.0;
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setParamNormalized(ParamID id, ParamValue value)
{
    if (id >= static_cast<ParamID>(NParams()))
        return kResultFalse;
    IFxParam* param = GetParam(static_cast<int>(id));
    if (param == nullptr)
        return kResultFalse;
    return Guarded(kInternalError, [&]() -> tresult {
        param->SetFromNormalized(value);
        // The engine notices a value set this way at its next tick.
        WakeTimer();
        return kResultOk;
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setComponentHandler(IComponentHandler* handler)
{
    return Guarded(kInternalError, [&] {
        // Not while a delivery from the timer's thread is using the old one.
        std::lock_guard<std::recursive_mutex> lock(mDeliverLock);
        tresult result = SingleComponentEffect::setComponentHandler(handler);
        // A restart request kept for want of a handler waits afresh for a
        // UI-thread call, then the timer's own thread delivers it (it may
        // have waited out its grace already while no handler was there).
        if (handler != nullptr && mPendingRestart.load() != 0)
            NoteHostCallWaiting();
        WakeTimer();
        return result;
    });
}

//------------------------------------------------------------------------
IPlugView* PLUGIN_API IFxVST3::createView(FIDString name)
{
    return Guarded(static_cast<IPlugView*>(nullptr), [&]() -> IPlugView* {
        DeliverHostCalls();
        if (name == nullptr || std::strcmp(name, "editor") != 0)
            return nullptr;
        mViews.reserve(mViews.size() + 1);  // the list's growth cannot fail after the view exists
        auto* view = new IFxVST3View(this);
        mViews.push_back(view);
        mViewCount.store(static_cast<int>(mViews.size()));
        WakeTimer();
        return view;
    });
}

//------------------------------------------------------------------------
void IFxVST3::ForgetView(IFxVST3View* view)
{
    auto it = std::find(mViews.begin(), mViews.end(), view);
    if (it != mViews.end())
        mViews.erase(it);
    mViewCount.store(static_cast<int>(mViews.size()));
}

//------------------------------------------------------------------------
IFxVST3View* IFxVST3::OpenView(int idx) const
{
    if (idx < 0 || idx >= OpenViewCount())
        return nullptr;
    return mViews[static_cast<std::size_t>(idx)];
}

//------------------------------------------------------------------------
void IFxVST3::BeginInformHostOfParamChange(int paramIdx)
{
    // Off the UI thread the whole gesture is delivered later as one edit.
    if (ValidParam(paramIdx) && OnUiThread())
        beginEdit(static_cast<ParamID>(paramIdx));
}

//------------------------------------------------------------------------
void IFxVST3::InformHostOfParamChange(int paramIdx, double normalized)
{
    if (!ValidParam(paramIdx))
        return;
    if (OnUiThread()) {
        performEdit(static_cast<ParamID>(paramIdx), normalized);
        return;
    }
    auto idx = static_cast<std::size_t>(paramIdx);
    mPendingValue[idx].store(normalized);
    mPendingEdit[idx].store(true);
    mAnyPendingEdit.store(true);
    NoteHostCallWaiting();
}

//------------------------------------------------------------------------
void IFxVST3::EndInformHostOfParamChange(int paramIdx)
{
    if (ValidParam(paramIdx) && OnUiThread())
        endEdit(static_cast<ParamID>(paramIdx));
}

//------------------------------------------------------------------------
bool IFxVST3::RequestEditorResize(int width, int height)
{
    if (EditorSurface() == nullptr || mViews.empty())
        return false;
    return mViews.front()->RequestResize(width, height);
}

//------------------------------------------------------------------------
bool IFxVST3::ShowHostParamMenu(int paramIdx, int x, int y)
{
    if (componentHandler == nullptr || mViews.empty())
        return false;
    IComponentHandler3* handler3 = nullptr;
    if (componentHandler->queryInterface(IComponentHandler3::iid, reinterpret_cast<void**>(&handler3)) != kResultOk ||
        handler3 == nullptr)
        return false;
    auto id = static_cast<ParamID>(paramIdx);
    IContextMenu* menu = handler3->createContextMenu(mViews.front(), &id);
    bool shown = false;
    if (menu != nullptr) {
        shown = menu->popup(x, y) == kResultOk;
        menu->release();
    }
    handler3->release();
    return shown;
}

//------------------------------------------------------------------------
bool IFxVST3::IsOfflineRender()
{
    return processSetup.processMode == kOffline;
}

//------------------------------------------------------------------------
double IFxVST3::TransportSamplePos()
{
    return static_cast<double>(mContext.projectTimeSamples);
}

//------------------------------------------------------------------------
double IFxVST3::TransportTempo()
{
    return mContext.tempo;
}

//------------------------------------------------------------------------
void IFxVST3::TransportTimeSig(int* numerator, int* denominator)
{
    if (numerator)
        *numerator = mContext.timeSigNumerator;
    if (denominator)
        *denominator = mContext.timeSigDenominator;
}

//------------------------------------------------------------------------
void IFxVST3::TransportSnapshot(ITransportInfo* info)
{
    if (info == nullptr)
        return;
    info->tempo = mContext.tempo;
    info->samplePos = static_cast<double>(mContext.projectTimeSamples);
    info->ppqPos = mContext.projectTimeMusic;
    info->lastBarStartPpq = mContext.barPositionMusic;
    info->cycleStartPpq = mContext.cycleStartMusic;
    info->cycleEndPpq = mContext.cycleEndMusic;
    info->timeSigNumerator = mContext.timeSigNumerator;
    info->timeSigDenominator = mContext.timeSigDenominator;
    info->transportRunning = (mContext.state & ProcessContext::kPlaying) != 0;
    info->cycleActive = (mContext.state & ProcessContext::kCycleActive) != 0;
}

//------------------------------------------------------------------------
void IFxVST3::ChangeLatency(int samples)
{
    {
        std::lock_guard<std::recursive_mutex> lock(PluginLock());
        IFxBase::ChangeLatency(samples);
    }
    // Never from inside a lock or a processing call: a host may answer the
    // restart synchronously by stopping and reconfiguring processing.
    mPendingRestart.fetch_or(kLatencyChanged);
    NoteHostCallWaiting();
}
