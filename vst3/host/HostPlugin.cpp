// A plug-in instance in the host.
#include "vst3/host/HostPlugin.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace tarvo::host {

//------------------------------------------------------------------------
HostPlugin::HostPlugin(std::string hostName, bool offerRunLoop)
    : app(std::move(hostName), &loop, offerRunLoop)
{
}

//------------------------------------------------------------------------
HostPlugin::~HostPlugin()
{
    Destroy();
}

//------------------------------------------------------------------------
bool HostPlugin::Create(IPluginFactory* factory, std::string* error)
{
    auto fail = [&](const char* why) {
        if (error)
            *error = why;
        Destroy();
        return false;
    };
    if (factory == nullptr)
        return fail("no factory");
    int32 count = factory->countClasses();
    for (int32 i = 0; i < count && component == nullptr; ++i) {
        PClassInfo info;
        if (factory->getClassInfo(i, &info) != kResultOk || std::strcmp(info.category, kVstAudioEffectClass) != 0)
            continue;
        void* obj = nullptr;
        if (factory->createInstance(info.cid, IComponent::iid, &obj) == kResultOk)
            component = static_cast<IComponent*>(obj);
    }
    if (component == nullptr)
        return fail("the module made no audio effect");
    if (component->initialize(&app) != kResultOk)
        return fail("initialize failed");
    if (component->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor)) != kResultOk)
        return fail("the component has no audio processor");
    // A single-component plug-in is its own controller.
    if (component->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller)) != kResultOk)
        return fail("the component has no edit controller");
    controller->initialize(&app);  // refused the second time; hosts call it anyway
    controller->setComponentHandler(&handler);
    hasSidechain = component->getBusCount(kAudio, kInput) > 1;
    return true;
}

//------------------------------------------------------------------------
bool HostPlugin::Prepare(double sampleRate, int maxBlock, bool wide, bool sidechain, bool offline,
                         std::string* error)
{
    auto fail = [&](const char* why) {
        if (error)
            *error = why;
        return false;
    };
    if (processor == nullptr)
        return fail("no plug-in");
    if (mActive) {
        processor->setProcessing(false);
        component->setActive(false);
        mActive = false;
    }
    SpeakerArrangement ins[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    SpeakerArrangement outs[1] = {SpeakerArr::kStereo};
    if (processor->setBusArrangements(ins, hasSidechain ? 2 : 1, outs, 1) != kResultOk)
        return fail("the plug-in refused stereo buses");
    // Hosts switch on the buses they use; main buses are default-active.
    component->activateBus(kAudio, kInput, 0, true);
    component->activateBus(kAudio, kOutput, 0, true);
    if (hasSidechain)
        component->activateBus(kAudio, kInput, 1, sidechain);
    use64 = wide;
    if (processor->canProcessSampleSize(wide ? kSample64 : kSample32) != kResultOk)
        return fail("the plug-in cannot process this sample size");
    ProcessSetup setup{offline ? kOffline : kRealtime, wide ? kSample64 : kSample32, maxBlock, sampleRate};
    if (processor->setupProcessing(setup) != kResultOk)
        return fail("setupProcessing failed");
    component->setActive(true);
    processor->setProcessing(true);
    mActive = true;
    return true;
}

//------------------------------------------------------------------------
template <typename T>
tresult HostPlugin::Process(const std::vector<T*>& in, const std::vector<T*>& side, const std::vector<T*>& out,
                            int frames, ParameterChanges* changes)
{
    AudioBusBuffers inputs[2];
    AudioBusBuffers outputs[1];
    auto fill = [](AudioBusBuffers& bus, const std::vector<T*>& channels) {
        bus.numChannels = static_cast<int32>(channels.size());
        if constexpr (sizeof(T) == 8)
            bus.channelBuffers64 = const_cast<T**>(channels.data());
        else
            bus.channelBuffers32 = const_cast<T**>(channels.data());
    };
    fill(inputs[0], in);
    fill(inputs[1], side);
    fill(outputs[0], out);
    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = sizeof(T) == 8 ? kSample64 : kSample32;
    data.numSamples = frames;
    data.numInputs = hasSidechain ? 2 : 1;
    data.numOutputs = 1;
    data.inputs = inputs;
    data.outputs = outputs;
    data.inputParameterChanges = changes;
    return processor->process(data);
}

template tresult HostPlugin::Process<float>(const std::vector<float*>&, const std::vector<float*>&,
                                            const std::vector<float*>&, int, ParameterChanges*);
template tresult HostPlugin::Process<double>(const std::vector<double*>&, const std::vector<double*>&,
                                             const std::vector<double*>&, int, ParameterChanges*);

//------------------------------------------------------------------------
void HostPlugin::Destroy()
{
    if (component != nullptr && mActive) {
        if (processor)
            processor->setProcessing(false);
        component->setActive(false);
        mActive = false;
    }
    if (controller != nullptr) {
        controller->setComponentHandler(nullptr);
        controller->release();
        controller = nullptr;
    }
    if (processor != nullptr) {
        processor->release();
        processor = nullptr;
    }
    if (component != nullptr) {
        component->terminate();
        component->release();
        component = nullptr;
    }
}

} // namespace tarvo::host
