// The component and controller side of the test plug-in: initialisation,
// buses, parameters, units and program list, views and interfaces.
#include "HarnessFixture.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kBypass = 0x62706173;
constexpr ParamID kPreset = 0x70727374;

class Vst3Component : public harness::PluginTest {
protected:
    void SetUp() override { Open(TARVO_TEST_GAIN_BUNDLE); }

    BusInfo Bus(MediaType type, BusDirection dir, int32 index)
    {
        BusInfo info{};
        EXPECT_EQ(plug->component->getBusInfo(type, dir, index, info), kResultTrue);
        return info;
    }
};

TEST_F(Vst3Component, SecondInitializeAddsNothing)
{
    int32 params = plug->controller->getParameterCount();
    EXPECT_EQ(plug->component->initialize(&plug->app), kResultFalse);
    EXPECT_EQ(plug->controller->getParameterCount(), params);
    EXPECT_EQ(plug->component->getBusCount(kAudio, kInput), 2);
    EXPECT_EQ(plug->component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(plug->component->getBusCount(kEvent, kInput), 0);
}

TEST_F(Vst3Component, BusesAreStereoMainSidechainAndOutput)
{
    BusInfo main = Bus(kAudio, kInput, 0);
    EXPECT_EQ(harness::ToUtf8(main.name), "Main Input");
    EXPECT_EQ(main.channelCount, 2);
    EXPECT_EQ(main.busType, kMain);
    EXPECT_EQ(main.flags, static_cast<uint32>(BusInfo::kDefaultActive));
    BusInfo side = Bus(kAudio, kInput, 1);
    EXPECT_EQ(harness::ToUtf8(side.name), "Aux Input");
    EXPECT_EQ(side.channelCount, 2);
    EXPECT_EQ(side.busType, kAux);
    EXPECT_EQ(side.flags, 0u);
    BusInfo out = Bus(kAudio, kOutput, 0);
    EXPECT_EQ(harness::ToUtf8(out.name), "Output");
    EXPECT_EQ(out.channelCount, 2);
    BusInfo none{};
    EXPECT_NE(plug->component->getBusInfo(kAudio, kInput, 2, none), kResultTrue);
}

TEST_F(Vst3Component, BusArrangementsFollowTheChannelConfigurations)
{
    SpeakerArrangement stereo[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    SpeakerArrangement mono[2] = {SpeakerArr::kMono, SpeakerArr::kStereo};
    SpeakerArrangement out[1] = {SpeakerArr::kStereo};
    SpeakerArrangement monoOut[1] = {SpeakerArr::kMono};
    EXPECT_EQ(plug->processor->setBusArrangements(stereo, 2, out, 1), kResultOk);
    // Nothing was replaced: the buses keep their names and order.
    EXPECT_EQ(harness::ToUtf8(Bus(kAudio, kInput, 0).name), "Main Input");
    EXPECT_EQ(harness::ToUtf8(Bus(kAudio, kInput, 1).name), "Aux Input");
    EXPECT_EQ(plug->processor->setBusArrangements(mono, 2, out, 1), kResultFalse);
    EXPECT_EQ(plug->processor->setBusArrangements(stereo, 2, monoOut, 1), kResultFalse);
    EXPECT_EQ(plug->processor->setBusArrangements(stereo, 1, out, 1), kResultFalse);

    // A replaced main input stays bus 0, ahead of the sidechain.
    SpeakerArrangement quad[2] = {SpeakerArr::kAmbi1stOrderACN, SpeakerArr::kStereo};
    EXPECT_EQ(plug->processor->setBusArrangements(quad, 2, out, 1), kResultOk);
    BusInfo main = Bus(kAudio, kInput, 0);
    EXPECT_EQ(harness::ToUtf8(main.name), "Input");
    EXPECT_EQ(main.channelCount, 4);
    EXPECT_EQ(Bus(kAudio, kInput, 1).busType, kAux);
    SpeakerArrangement arr = 0;
    EXPECT_EQ(plug->processor->getBusArrangement(kInput, 1, arr), kResultTrue);
    EXPECT_EQ(arr, SpeakerArr::kStereo);
}

TEST_F(Vst3Component, ParametersIncludePresetAndBypass)
{
    ASSERT_EQ(plug->controller->getParameterCount(), 6);
    ParameterInfo info{};
    ASSERT_EQ(plug->controller->getParameterInfo(0, info), kResultTrue);
    EXPECT_EQ(info.id, kPreset);
    EXPECT_EQ(harness::ToUtf8(info.title), "Preset");
    EXPECT_EQ(info.stepCount, 3);
    EXPECT_EQ(info.flags, 0x8000);
    ASSERT_EQ(plug->controller->getParameterInfo(1, info), kResultTrue);
    EXPECT_EQ(info.id, kBypass);
    EXPECT_EQ(info.flags, 0x10009);
    EXPECT_EQ(info.stepCount, 1);
    ASSERT_EQ(plug->controller->getParameterInfo(2, info), kResultTrue);
    EXPECT_EQ(info.id, 0u);
    EXPECT_EQ(harness::ToUtf8(info.title), "Gain");
    EXPECT_EQ(harness::ToUtf8(info.units), "x");
    EXPECT_EQ(info.stepCount, 0);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
    // The default as the plug-in maps it (plain 1 of 0..4 with shape 2).
    EXPECT_NEAR(info.defaultNormalizedValue, 0.5, 1e-12);
}

TEST_F(Vst3Component, ParameterQueriesUseThePluginsMapping)
{
    auto* c = plug->controller;
    // Gain: 0..4 with shape 2, plain 1 sits at normalised 0.5.
    EXPECT_NEAR(c->getParamNormalized(0), 0.5, 1e-12);
    EXPECT_NEAR(c->plainParamToNormalized(0, 1.0), 0.5, 1e-12);
    EXPECT_NEAR(c->normalizedParamToPlain(0, 0.5), 1.0, 1e-12);
    EXPECT_NEAR(c->normalizedParamToPlain(0, c->plainParamToNormalized(0, 2.7)), 2.7, 1e-9);
    EXPECT_EQ(c->plainParamToNormalized(kPreset, 0.3), 0.3);
    EXPECT_EQ(c->plainParamToNormalized(kBypass, 7.0), 7.0);

    String128 text{};
    EXPECT_EQ(c->getParamStringByValue(0, 0.5, text), kResultOk);
    EXPECT_EQ(harness::ToUtf8(text), "1.000");
    EXPECT_EQ(c->getParamStringByValue(3, 0.5, text), kResultOk);
    EXPECT_EQ(harness::ToUtf8(text), "Warm");
    EXPECT_EQ(c->getParamStringByValue(kBypass, 1.0, text), kResultFalse);
    EXPECT_EQ(c->getParamStringByValue(99, 0.0, text), kResultFalse);
    ParamValue parsed = -1;
    EXPECT_EQ(c->getParamValueByString(0, text, parsed), kResultFalse);  // "Warm" is no number
    String128 two{'2', 0};
    EXPECT_EQ(c->getParamValueByString(0, two, parsed), kResultOk);
    EXPECT_NEAR(parsed, c->plainParamToNormalized(0, 2.0), 1e-12);

    EXPECT_EQ(c->setParamNormalized(0, 1.0), kResultOk);
    EXPECT_NEAR(c->getParamNormalized(0), 1.0, 1e-12);
    EXPECT_EQ(c->setParamNormalized(kBypass, 1.0), kResultFalse);
    EXPECT_EQ(c->setParamNormalized(kPreset, 1.0), kResultFalse);
    EXPECT_EQ(c->getParamNormalized(kBypass), 0.0);
    EXPECT_EQ(c->getParamNormalized(12345), 0.0);
}

TEST_F(Vst3Component, ParameterQueriesHoldBadValuesToTheRange)
{
    auto* c = plug->controller;
    String128 text{};
    // Gain is 0..4: a value past either end reads as that end, NaN as the start.
    EXPECT_EQ(c->getParamStringByValue(0, 1.5, text), kResultOk);
    EXPECT_EQ(harness::ToUtf8(text), "4.000");
    EXPECT_EQ(c->getParamStringByValue(0, -0.5, text), kResultOk);
    EXPECT_EQ(harness::ToUtf8(text), "0.000");
    EXPECT_EQ(c->getParamStringByValue(0, std::nan(""), text), kResultOk);
    EXPECT_EQ(harness::ToUtf8(text), "0.000");
    EXPECT_EQ(c->getParamStringByValue(3, 7.0, text), kResultOk);
    EXPECT_EQ(harness::ToUtf8(text), "Hot");

    EXPECT_EQ(c->normalizedParamToPlain(0, std::nan("")), 0.0);
    EXPECT_EQ(c->normalizedParamToPlain(0, 2.0), 4.0);
    EXPECT_EQ(c->plainParamToNormalized(0, std::nan("")), 0.0);
    EXPECT_EQ(c->plainParamToNormalized(0, 1e300), 1.0);
    EXPECT_EQ(c->plainParamToNormalized(0, -HUGE_VAL), 0.0);
}

TEST_F(Vst3Component, RootUnitCarriesTheFactoryPresets)
{
    IUnitInfo* units = nullptr;
    ASSERT_EQ(plug->component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)), kResultOk);
    EXPECT_EQ(units->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), kResultTrue);
    EXPECT_EQ(unit.id, kRootUnitId);
    EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
    EXPECT_EQ(harness::ToUtf8(unit.name), "Root Unit");
    EXPECT_EQ(unit.programListId, static_cast<ProgramListID>(kPreset));
    EXPECT_EQ(units->getUnitInfo(1, unit), kResultFalse);
    EXPECT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultTrue);
    EXPECT_EQ(harness::ToUtf8(list.name), "Factory Presets");
    EXPECT_EQ(list.programCount, 3);
    EXPECT_EQ(units->getProgramListInfo(1, list), kResultFalse);
    String128 name{};
    ASSERT_EQ(units->getProgramName(kPreset, 2, name), kResultTrue);
    EXPECT_EQ(harness::ToUtf8(name), "Side Only");
    ASSERT_EQ(units->getProgramName(kPreset, 7, name), kResultTrue);
    EXPECT_EQ(harness::ToUtf8(name), "");
    EXPECT_EQ(units->getProgramName(1, 0, name), kResultFalse);
    EXPECT_EQ(units->getSelectedUnit(), 0);
    EXPECT_EQ(units->selectUnit(0), kNotImplemented);
    units->release();
}

TEST_F(Vst3Component, AnswersItsInterfacesAndClassNames)
{
    for (const auto& iid : {IComponent::iid, IAudioProcessor::iid, IEditController::iid, IEditController2::iid,
                            IConnectionPoint::iid, IUnitInfo::iid, IPluginBase::iid}) {
        FUnknown* obj = nullptr;
        EXPECT_EQ(plug->component->queryInterface(iid, reinterpret_cast<void**>(&obj)), kResultOk);
        if (obj)
            obj->release();
    }
    FUnknown* none = nullptr;
    EXPECT_EQ(plug->component->queryInterface(IPlugView::iid, reinterpret_cast<void**>(&none)), kNoInterface);
    // No separate controller class, as single-component effects answer;
    // the host's buffer is left as it was.
    TUID cid;
    std::memset(cid, 0xAB, sizeof(cid));
    EXPECT_EQ(plug->component->getControllerClassId(cid), kNotImplemented);
    EXPECT_EQ(static_cast<unsigned char>(cid[0]), 0xABu);
    EXPECT_EQ(static_cast<unsigned char>(cid[15]), 0xABu);
    EXPECT_EQ(plug->processor->getTailSamples(), 0u);
    EXPECT_EQ(plug->processor->setProcessing(true), kNotImplemented);
    EXPECT_EQ(plug->processor->canProcessSampleSize(kSample64), kResultTrue);
    EXPECT_EQ(plug->processor->canProcessSampleSize(7), kResultFalse);
}

TEST_F(Vst3Component, ViewsOnlyForTheEditorName)
{
    EXPECT_EQ(plug->controller->createView("Editor"), nullptr);
    EXPECT_EQ(plug->controller->createView("editor2"), nullptr);
    EXPECT_EQ(plug->controller->createView(nullptr), nullptr);
    IPlugView* first = plug->controller->createView("editor");
    IPlugView* second = plug->controller->createView("editor");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    // The test plug-in has no editor surface: every size and attach request fails.
    EXPECT_EQ(first->isPlatformTypeSupported("HWND"), kResultFalse);
    ViewRect rect;
    EXPECT_EQ(first->getSize(&rect), kResultFalse);
    EXPECT_EQ(first->attached(nullptr, "HWND"), kResultFalse);
    EXPECT_EQ(first->onSize(nullptr), kResultOk);
    EXPECT_EQ(first->canResize(), kResultFalse);
    first->release();
    // Terminate forgets the remaining view; releasing it afterwards is safe.
    EXPECT_EQ(plug->component->terminate(), kResultOk);
    second->release();
    EXPECT_EQ(plug->component->initialize(&plug->app), kResultOk);
}

} // namespace
