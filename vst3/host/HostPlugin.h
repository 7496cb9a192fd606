#pragma once
// One plug-in instance driven as a host drives it: created through the
// module's factory, initialised with a host context, given a component
// handler, its buses arranged, processing set up and blocks processed.
#include "vst3/host/HostModule.h"
#include "vst3/host/HostObjects.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>
#include <vector>

namespace tarvo::host {

class HostPlugin {
public:
    HostPlugin(std::string hostName, bool offerRunLoop);
    ~HostPlugin();
    HostPlugin(const HostPlugin&) = delete;
    HostPlugin& operator=(const HostPlugin&) = delete;

    // Creates the module's first audio-effect class and initialises it.
    bool Create(Steinberg::IPluginFactory* factory, std::string* error);
    // Stereo main input and output, with a stereo sidechain bus when the
    // plug-in has one (activated when sidechain is true); then
    // setupProcessing and setActive / setProcessing on.
    bool Prepare(double sampleRate, int maxBlock, bool use64, bool sidechain, bool offline, std::string* error);
    // Processes one block. Pointer lists hold one buffer per channel (float
    // or double, matching Prepare); side may be empty.
    template <typename T>
    Steinberg::tresult Process(const std::vector<T*>& in, const std::vector<T*>& side, const std::vector<T*>& out,
                               int frames, ParameterChanges* changes);
    // setActive off, terminate, release.
    void Destroy();

    Steinberg::Vst::IComponent* component = nullptr;
    Steinberg::Vst::IAudioProcessor* processor = nullptr;
    Steinberg::Vst::IEditController* controller = nullptr;
    RunLoop loop;
    HostApplication app;
    ComponentHandler handler;
    bool use64 = false;
    bool hasSidechain = false;

private:
    bool mActive = false;
};

} // namespace tarvo::host
