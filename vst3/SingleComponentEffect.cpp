// Default behaviour of the combined component and controller: bus lists,
// bus queries and activation, and the processor calls a subclass replaces.
#include "vst3/SingleComponentEffect.h"

#include "vst3/InterfaceGuard.h"
#include "vst3/SpeakerLayout.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace tarvo::vst3 {

//------------------------------------------------------------------------
SingleComponentEffect::SingleComponentEffect()
    : audioInputs(kAudio, kInput)
    , audioOutputs(kAudio, kOutput)
    , eventInputs(kEvent, kInput)
    , eventOutputs(kEvent, kOutput)
{
    processSetup.processMode = kRealtime;
    processSetup.symbolicSampleSize = kSample32;
    processSetup.maxSamplesPerBlock = 0;
    processSetup.sampleRate = 44100.0;
}

//------------------------------------------------------------------------
SingleComponentEffect::~SingleComponentEffect() = default;

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context)
{
    if (mInitialized)
        return kResultFalse;
    return Guarded(kInternalError, [&] {
        tresult result = EditController::initialize(context);
        mInitialized = result == kResultOk;
        return result;
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::terminate()
{
    return Guarded(kInternalError, [&] {
        audioInputs.clear();
        audioOutputs.clear();
        eventInputs.clear();
        eventOutputs.clear();
        mInitialized = false;
        return EditController::terminate();
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::getControllerClassId(TUID /*classID*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::setIoMode(IoMode /*mode*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
BusList* SingleComponentEffect::BusListFor(MediaType type, BusDirection dir)
{
    if (type == kAudio)
        return dir == kInput ? &audioInputs : &audioOutputs;
    if (type == kEvent)
        return dir == kInput ? &eventInputs : &eventOutputs;
    return nullptr;
}

//------------------------------------------------------------------------
int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
    BusList* list = BusListFor(type, dir);
    return list ? static_cast<int32>(list->size()) : 0;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                                     BusInfo& info)
{
    BusList* list = BusListFor(type, dir);
    if (list == nullptr || index < 0 || index >= static_cast<int32>(list->size()))
        return kInvalidArgument;
    info.mediaType = type;
    info.direction = dir;
    return Guarded(kInternalError, [&]() -> tresult {
        return (*list)[static_cast<std::size_t>(index)]->getInfo(info) ? kResultTrue : kResultFalse;
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::getRoutingInfo(RoutingInfo& /*inInfo*/, RoutingInfo& /*outInfo*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index,
                                                      TBool state)
{
    BusList* list = BusListFor(type, dir);
    if (list == nullptr || index < 0 || index >= static_cast<int32>(list->size()))
        return kInvalidArgument;
    (*list)[static_cast<std::size_t>(index)]->setActive(state);
    return kResultTrue;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::setActive(TBool /*state*/)
{
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::setState(IBStream* /*state*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::getState(IBStream* /*state*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    if (paramIndex < 0 || paramIndex >= parameters.getParameterCount())
        return kResultFalse;
    Parameter* parameter = parameters.getParameterByIndex(paramIndex);
    if (parameter == nullptr)
        return kResultFalse;
    info = parameter->getInfo();
    return kResultTrue;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::notify(IMessage* message)
{
    if (message == nullptr)
        return kInvalidArgument;
    return Guarded(kInternalError, [&]() -> tresult {
        FIDString id = message->getMessageID();
        if (id == nullptr || std::strcmp(id, "TextMessage") != 0)
            return kResultFalse;
        IAttributeList* attributes = message->getAttributes();
        TChar text[256] = {};
        if (attributes == nullptr || attributes->getString("Text", text, sizeof(text)) != kResultOk)
            return kResultFalse;
        return kResultOk;  // received; nothing here acts on text messages
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                             SpeakerArrangement* outputs, int32 numOuts)
{
    // Accept exactly the arrangements the buses already have.
    if (numIns != static_cast<int32>(audioInputs.size()) || numOuts != static_cast<int32>(audioOutputs.size()))
        return kResultFalse;
    for (int32 i = 0; i < numIns; ++i) {
        auto* bus = AudioInputBus(i);
        if (inputs == nullptr || bus == nullptr || bus->getArrangement() != inputs[i])
            return kResultFalse;
    }
    for (int32 i = 0; i < numOuts; ++i) {
        auto* bus = AudioOutputBus(i);
        if (outputs == nullptr || bus == nullptr || bus->getArrangement() != outputs[i])
            return kResultFalse;
    }
    return kResultTrue;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index,
                                                            SpeakerArrangement& arr)
{
    AudioBus* bus = dir == kInput ? AudioInputBus(index) : AudioOutputBus(index);
    if (bus == nullptr)
        return kInvalidArgument;
    arr = bus->getArrangement();
    return kResultTrue;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    processSetup = setup;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::setProcessing(TBool /*state*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API SingleComponentEffect::process(ProcessData& /*data*/)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                               int32 flags)
{
    auto* bus = new AudioBus(name, busType, flags, arr);
    audioInputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

//------------------------------------------------------------------------
AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType,
                                                int32 flags)
{
    auto* bus = new AudioBus(name, busType, flags, arr);
    audioOutputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

//------------------------------------------------------------------------
EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
    auto* bus = new EventBus(name, busType, flags, channels);
    eventInputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

//------------------------------------------------------------------------
AudioBus* SingleComponentEffect::AudioInputBus(int32 index) const
{
    if (index < 0 || index >= static_cast<int32>(audioInputs.size()))
        return nullptr;
    return FCast<AudioBus>(audioInputs[static_cast<std::size_t>(index)].get());
}

//------------------------------------------------------------------------
AudioBus* SingleComponentEffect::AudioOutputBus(int32 index) const
{
    if (index < 0 || index >= static_cast<int32>(audioOutputs.size()))
        return nullptr;
    return FCast<AudioBus>(audioOutputs[static_cast<std::size_t>(index)].get());
}

} // namespace tarvo::vst3
