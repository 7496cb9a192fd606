// What only an in-process look can see: the class names the binding answers
// to (a host module's FObject identity does not cross module boundaries).
#include "vst3/IFxVST3.h"

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

} // namespace
