#pragma once
// One object that is both the audio component (IComponent, IAudioProcessor)
// and its own edit controller (IEditController, IEditController2). Hosts
// reach the controller side by querying IEditController on the component.
// Holds the bus lists and the last accepted process setup; subclasses fill
// in the processing. Every method a host can reach that calls into the SDK's
// support classes runs guarded (InterfaceGuard.h).
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace tarvo::vst3 {

class SingleComponentEffect : public Steinberg::Vst::EditController,
                              public Steinberg::Vst::IComponent,
                              public Steinberg::Vst::IAudioProcessor {
public:
    using tresult = Steinberg::tresult;
    using int32 = Steinberg::int32;
    using TBool = Steinberg::TBool;

    SingleComponentEffect();
    ~SingleComponentEffect() override;

    // IPluginBase (reached through both IComponent and IEditController).
    // A second call before terminate returns false.
    tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // IComponent
    // kNotImplemented, leaving classID alone: there is no separate controller
    // class, so hosts query IEditController on the component instead.
    tresult PLUGIN_API getControllerClassId(Steinberg::TUID classID) SMTG_OVERRIDE;
    tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) SMTG_OVERRIDE;
    int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir) SMTG_OVERRIDE;
    tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                  int32 index, Steinberg::Vst::BusInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                      Steinberg::Vst::RoutingInfo& outInfo) SMTG_OVERRIDE;
    tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                   int32 index, TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API setActive(TBool state) SMTG_OVERRIDE;
    // Shared by IComponent and IEditController: one object, one state.
    tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;

    // IEditController: the SDK's parameter container looks indices up with a
    // checked access that throws; out-of-range indices are refused here.
    tresult PLUGIN_API getParameterInfo(int32 paramIndex, Steinberg::Vst::ParameterInfo& info) SMTG_OVERRIDE;
    // IConnectionPoint: a text message is acknowledged as the SDK's base
    // does, without the SDK's text conversion (which throws on malformed
    // UTF-16).
    tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) SMTG_OVERRIDE;

    // IAudioProcessor
    tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                          Steinberg::Vst::SpeakerArrangement* outputs,
                                          int32 numOuts) SMTG_OVERRIDE;
    tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir, int32 index,
                                         Steinberg::Vst::SpeakerArrangement& arr) SMTG_OVERRIDE;
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE { return 0; }
    tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    // kNotImplemented, as single-component effects answer: processing needs
    // no start or stop step beyond setActive (hosts accept either answer).
    tresult PLUGIN_API setProcessing(TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE { return 0; }

    // Bus helpers: each appends to its list and returns the new bus.
    Steinberg::Vst::AudioBus* addAudioInput(const Steinberg::Vst::TChar* name,
                                            Steinberg::Vst::SpeakerArrangement arr,
                                            Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                                            int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
    Steinberg::Vst::AudioBus* addAudioOutput(const Steinberg::Vst::TChar* name,
                                             Steinberg::Vst::SpeakerArrangement arr,
                                             Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                                             int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
    Steinberg::Vst::EventBus* addEventInput(const Steinberg::Vst::TChar* name, int32 channels,
                                            Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
                                            int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
    // The audio bus at index, or null.
    Steinberg::Vst::AudioBus* AudioInputBus(int32 index) const;
    Steinberg::Vst::AudioBus* AudioOutputBus(int32 index) const;

    OBJ_METHODS(SingleComponentEffect, Steinberg::Vst::EditController)
    DEFINE_INTERFACES
        DEF_INTERFACE(Steinberg::Vst::IComponent)
        DEF_INTERFACE(Steinberg::Vst::IAudioProcessor)
    END_DEFINE_INTERFACES(Steinberg::Vst::EditController)
    REFCOUNT_METHODS(Steinberg::Vst::EditController)

protected:
    Steinberg::Vst::BusList* BusListFor(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir);

    Steinberg::Vst::BusList audioInputs;
    Steinberg::Vst::BusList audioOutputs;
    Steinberg::Vst::BusList eventInputs;
    Steinberg::Vst::BusList eventOutputs;
    Steinberg::Vst::ProcessSetup processSetup;

private:
    // Set by a successful initialize, cleared by terminate. The SDK's own
    // check looks only at the host context, so after an initialize with no
    // context a second one would make every bus and parameter twice.
    bool mInitialized = false;
};

} // namespace tarvo::vst3
