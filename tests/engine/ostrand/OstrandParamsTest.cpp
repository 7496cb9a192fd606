// Parameters, factory presets, internal quantities and the state layout.
#include "tests/engine/ostrand/OstrandTestSupport.h"

#include "engine/ostrand/OstrandMapping.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ostrand_test;

TEST(OstrandParams, IdentityAndParameterTable)
{
    Ostrand plug;
    EXPECT_EQ(plug.NParams(), 15);
    EXPECT_EQ(plug.NPresets(), 11);
    EXPECT_STREQ(plug.EffectName(), "Tarvo");
    EXPECT_STREQ(plug.MakerName(), "quenby audio");
    EXPECT_EQ(plug.Version(), 0x00010002);
    EXPECT_EQ(plug.UniqueID(), ('t' << 24) | ('A' << 16) | ('r' << 8) | 'V');
    EXPECT_EQ(plug.MakerID(), ('Q' << 24) | ('e' << 16) | ('n' << 8) | 'b');
    EXPECT_TRUE(plug.LegalIO(2, 2));
    EXPECT_TRUE(plug.LegalIO(4, 2));

    struct Row { const char* name; double min, max, def, shape; const char* label; bool isInt; };
    const Row rows[] = {
        {"Angle", -180, 180, 180, 1, " \xC2\xB0", false},
        {"Delay", -72, 72, 0, 1, "Fractional Samples", true},
        {"Attack", 0.01, 800, 25.5, 4.87, "ms", false},
        {"Release", 1, 1600, 50, 5.07, "ms", false},
        {"Sensitivity", -100, 100, 0, 1, "<->", false},
        {"M/S Balance", -100, 100, 0, 1, "<->", false},
        {"Strength", 0.0001, 18, 1, 4.15, "x", false},
        {"Output", -4, 22, 0, 2.7, "dB", false},
        {"Tight", 0, 100, 50, 1, "%", false},
        {"Classic", 0, 100, 50, 1, "%", false},
        {"Juice", 0, 5, 1, 1, " ", true},
        {"Invert Envelope", 0, 1, 0, 1, " ", true},
        {"Invert PDR", 0, 1, 1, 1, " ", true},
        {"Ext Sidechain", 0, 1, 0, 1, " ", true},
        {"Oversample Mode", 0, 1, 0, 1, " ", true},
    };
    for (int i = 0; i < 15; ++i) {
        const IFxParam* p = plug.GetParam(i);
        SCOPED_TRACE(rows[i].name);
        EXPECT_STREQ(p->DisplayName(), rows[i].name);
        EXPECT_STREQ(p->Label(), rows[i].label);
        EXPECT_EQ(p->Min(), rows[i].min);
        EXPECT_EQ(p->Max(), rows[i].max);
        EXPECT_EQ(p->Default(), rows[i].def);
        EXPECT_EQ(p->Shape(), rows[i].shape);
        EXPECT_EQ(p->Kind(), rows[i].isInt ? kKindInt : kKindDouble);
        EXPECT_STREQ(p->GroupName(), "");
    }
    // The shape is what the host's knob travel follows.
    EXPECT_NEAR(plug.GetParam(kParamAttack)->FromNormalized(0.5), std::pow(0.5, 4.87) * 799.99 + 0.01, 1e-12);
}

TEST(OstrandParams, FactoryPresetsRecallWithClamping)
{
    Ostrand plug;
    const char* names[] = {"Welcome to Tarvo", "Drum Love", "Pumpy Phaselove", "Silky Rotation", "Vocal Press",
                           "Big Yellow", "Gluon Expander", "Some Velvet Gate", "DJVoltaic Bass", "BigWheel Jump",
                           "KickerKing"};
    for (int i = 0; i < 11; ++i)
        EXPECT_STREQ(plug.PresetName(i), names[i]);

    ASSERT_TRUE(plug.LoadPreset(1));
    EXPECT_EQ(plug.GetParam(kParamAttack)->Value(), 0.01); // stored 8.82185e-05
    EXPECT_EQ(plug.GetParam(kParamAngle)->Value(), -63.718795);
    EXPECT_EQ(plug.GetParam(kParamDelay)->Value(), 47);
    EXPECT_EQ(plug.GetParam(kParamRelease)->Value(), 7.77035);
    EXPECT_EQ(plug.GetParam(kParamClassic)->Value(), 100.0);
    EXPECT_EQ(plug.GetParam(kParamJuice)->Value(), 3);
    EXPECT_EQ(plug.GetParam(kParamInvertPdr)->Value(), 0);

    ASSERT_TRUE(plug.LoadPreset(10));
    EXPECT_EQ(plug.GetParam(kParamOversampleMode)->Value(), 1);
    EXPECT_EQ(plug.GetParam(kParamDelay)->Value(), 72);
    EXPECT_EQ(plug.GetParam(kParamAttack)->Value(), 340.188678);

    // Every preset recalls into range and the engine takes every value.
    for (int i = 0; i < 11; ++i) {
        ASSERT_TRUE(plug.LoadPreset(i));
        for (int p = 0; p < 15; ++p) {
            EXPECT_GE(plug.GetParam(p)->Value(), plug.GetParam(p)->Min());
            EXPECT_LE(plug.GetParam(p)->Value(), plug.GetParam(p)->Max());
        }
    }
}

TEST(OstrandParams, InternalQuantitiesBothWays)
{
    EXPECT_DOUBLE_EQ(SensitivityOffset(-100.0), -20.0);
    EXPECT_DOUBLE_EQ(SensitivityOffset(100.0), 0.5);
    EXPECT_DOUBLE_EQ(SensitivityOffset(-50.0), -5.0);
    EXPECT_DOUBLE_EQ(BalanceOffset(100.0), 0.5);
    EXPECT_DOUBLE_EQ(BalanceOffset(-100.0), -0.5);
    EXPECT_DOUBLE_EQ(BalanceOffset(-50.0), -0.125);
    for (double knob : {-100.0, -63.2, -1.0, 0.0, 7.5, 100.0}) {
        EXPECT_NEAR(SensitivityFromOffset(SensitivityOffset(knob)), knob, 1e-9);
        EXPECT_NEAR(BalanceFromOffset(BalanceOffset(knob)), knob, 1e-9);
    }
    EXPECT_EQ(OutputGain(22.0), 9.99999999999999); // 12.59 capped below 10
    EXPECT_NEAR(OutputGain(-4.0), std::pow(10.0, -4.0 / 20.0), 1e-12);
    EXPECT_DOUBLE_EQ(DelayShift(1, 44100.0), 0.25);
    EXPECT_DOUBLE_EQ(DelayShift(-3, 96000.0), -1.5);

    auto plug = MakeReady(44100.0);
    SetPlain(*plug, kParamOutput, 22.0);
    SetPlain(*plug, kParamSensitivity, -100.0);
    Settle(*plug, 20);
    EXPECT_EQ(plug->OutputGainFactor(), 9.99999999999999);
    EXPECT_EQ(plug->GlideValue(kGlideSensitivity), -20.0);
    EXPECT_STREQ(plug->Readout(kReadoutSensitivity), " -100 ");
    EXPECT_STREQ(plug->Readout(kReadoutOutput), " 22.00 dB");
}

TEST(OstrandParams, StateLayoutAndRoundTrip)
{
    Ostrand a;
    SetPlain(a, kParamAngle, -33.25);
    SetPlain(a, kParamJuice, 4);
    SetPlain(a, kParamStrength, 6.5);
    StateChunk chunk;
    ASSERT_TRUE(a.SaveState(&chunk));
    ASSERT_EQ(chunk.ByteCount(), 15 * 8);
    double first = 0.0;
    std::memcpy(&first, chunk.Data(), 8);
    EXPECT_EQ(first, -33.25);

    Ostrand b;
    EXPECT_EQ(b.LoadState(&chunk, 0), 120);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(b.GetParam(i)->Value(), a.GetParam(i)->Value());
    EXPECT_FALSE(b.SerializeParams(nullptr));
}
