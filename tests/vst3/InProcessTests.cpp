// What only an in-process look can see: the class names the binding answers
// to (a host module's FObject identity does not cross module boundaries).
#include "vst3/IFxVST3.h"
#include "vst3/host/HostObjects.h"

#include <gtest/gtest.h>

namespace {

class Minimal : public IFxVST3 {
public:
    Minimal() : IFxVST3(nullptr, 1, "2-2", 0, "Minimal", "", "quenby audio", 0x00010000, 1, 2, 0, false, true, false, 0)
    {
        GetParam(0)->SetupContinuous("Level", 0.5, 0.0, 1.0, 0.01);
    }
};

TEST(Vst3Binding, NamesItselfAndItsBaseClasses)
{
    auto* plug = new Minimal;
    EXPECT_STREQ(plug->isA(), "IFxVST3");
    for (const char* base : {"SingleComponentEffect", "EditController", "ComponentBase", "FObject"})
        EXPECT_TRUE(plug->isTypeOf(base, true)) << base;
    EXPECT_FALSE(plug->isTypeOf("SingleComponentEffect", false));
    // Without presets there is no program list, but the root unit still names one.
    EXPECT_EQ(plug->getProgramListCount(), 0);
    Steinberg::Vst::UnitInfo unit{};
    EXPECT_EQ(plug->getUnitInfo(0, unit), Steinberg::kResultTrue);
    EXPECT_EQ(unit.programListId, static_cast<Steinberg::Vst::ProgramListID>(IFxVST3::kPresetId));
    plug->release();
}

// A plug-in with presets it can load itself, as its editor would.
class WithPresets : public IFxVST3 {
public:
    WithPresets()
        : IFxVST3(nullptr, 2, "2-2", 4, "Presets", "", "quenby audio", 0x00010000, 1, 2, 0, false, true, false, 0)
    {
        GetParam(0)->SetupContinuous("Level", 0.5, 0.0, 1.0, 0.01);
        GetParam(1)->SetupContinuous("Width", 0.0, 0.0, 1.0, 0.01);
        DefinePreset("Low", {0.1, 0.2});
        DefinePreset("High", {0.9, 0.8});
    }
};

TEST(Vst3Binding, PresetLoadedByThePluginIsToldToTheHostAsEdits)
{
    auto* plug = new WithPresets;
    tarvo::host::ComponentHandler handler;
    ASSERT_EQ(plug->initialize(nullptr), Steinberg::kResultOk);
    plug->setComponentHandler(&handler);
    ASSERT_TRUE(plug->LoadPreset(1));
    plug->DeliverHostCalls();
    auto edits = handler.Edits();
    auto performed = [&](Steinberg::Vst::ParamID id) {
        for (auto& e : edits)
            if (e.kind == 'p' && e.id == id)
                return e.value;
        return -1.0;
    };
    EXPECT_DOUBLE_EQ(performed(IFxVST3::kPresetId), 0.25);  // slot 1 of 4
    EXPECT_DOUBLE_EQ(performed(0), 0.9);
    EXPECT_DOUBLE_EQ(performed(1), 0.8);
    EXPECT_DOUBLE_EQ(plug->getParamNormalized(IFxVST3::kPresetId), 0.25);
    // Each as a whole gesture, and only once.
    EXPECT_EQ(edits.size(), 3u * 3u);
    EXPECT_EQ(edits.front().kind, 'b');
    plug->DeliverHostCalls();
    EXPECT_EQ(handler.Edits().size(), edits.size());
    plug->setComponentHandler(nullptr);
    plug->terminate();
    plug->release();
}

} // namespace
