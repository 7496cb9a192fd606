// Value readouts, the Delay rounding correction and the opening banner.
#include "tests/engine/ostrand/OstrandTestSupport.h"

#include <gtest/gtest.h>

using namespace ostrand_test;

namespace {
std::string Text(void (*format)(double, ReadoutText), double v)
{
    ReadoutText out;
    format(v, out);
    return out;
}
} // namespace

TEST(OstrandReadouts, FormatsByRange)
{
    EXPECT_EQ(Text(FormatDelayReadout, 1632.6), " 1633 ^s  Delay  ");
    EXPECT_EQ(Text(FormatDelayReadout, 11.3), "  11 ^s  Delay  ");
    EXPECT_EQ(Text(FormatDelayReadout, 0.0), "   0 ^s  Delay  ");
    EXPECT_EQ(Text(FormatDelayReadout, -5.7), "  -6 ^s  Delay  ");
    EXPECT_EQ(Text(FormatDelayReadout, -56.0), " -56 ^s  Delay  ");
    EXPECT_EQ(Text(FormatDelayReadout, -408.2), "-408 ^s  Delay  ");

    EXPECT_EQ(Text(FormatAngleReadout, 152.560976), " 152.56$");
    EXPECT_EQ(Text(FormatAngleReadout, 5.0), "  5.00$");
    EXPECT_EQ(Text(FormatAngleReadout, -45.89957), " -45.90$");
    EXPECT_EQ(Text(FormatAngleReadout, -180.0), "-180.00$");

    EXPECT_EQ(Text(FormatAttackReadout, 0.01), " 0.010 ms");
    EXPECT_EQ(Text(FormatAttackReadout, 25.5), " 25.50 ms");
    EXPECT_EQ(Text(FormatAttackReadout, 60.25), " 60.2 ms");
    EXPECT_EQ(Text(FormatAttackReadout, 340.188678), " 340 ms");
    EXPECT_EQ(Text(FormatReleaseReadout, 1.0), " 1.00 ms");
    EXPECT_EQ(Text(FormatReleaseReadout, 50.0), " 50.0 ms");
    EXPECT_EQ(Text(FormatReleaseReadout, 1329.63069), " 1330 ms");

    EXPECT_EQ(Text(FormatStrengthReadout, 1.656161), " 1.7 ");
    EXPECT_EQ(Text(FormatStrengthReadout, 0.05), " 0.05 ");
    EXPECT_EQ(Text(FormatStrengthReadout, 0.0001), " 0.000 ");
    EXPECT_EQ(Text(FormatOutputReadout, -0.111232), " -0.11 dB");
    EXPECT_EQ(Text(FormatWeightReadout, 0.4818182), "48 ");
    EXPECT_EQ(Text(FormatSensitivityReadout, -20.0), " -100 ");
    EXPECT_EQ(Text(FormatSensitivityReadout, 0.5), " 100 ");
    EXPECT_EQ(Text(FormatBalanceReadout, -0.125), " -50 ");

    ReadoutText juice;
    FormatJuiceReadout(4, true, juice);
    EXPECT_STREQ(juice, "Clear  4 ");
    FormatJuiceReadout(1, false, juice);
    EXPECT_STREQ(juice, "Regular 1 ");
}

TEST(OstrandReadouts, DelayShowsTheRoundedShift)
{
    auto plug = MakeReady(44100.0);
    SetPlain(*plug, kParamJuice, 3); // F = 4: a quarter sample is one oversampled sample
    SetPlain(*plug, kParamDelay, 1);
    Settle(*plug, 5);
    EXPECT_STREQ(plug->Readout(kReadoutDelay), "   6 ^s  Delay  ");

    SetPlain(*plug, kParamJuice, 1); // F = 2: half an oversampled sample rounds up to a whole
    Settle(*plug, 5);
    SetPlain(*plug, kParamDelay, 1);
    EXPECT_NEAR(plug->DelayMicros(), 0.5 / 0.0441, 1e-9);
    EXPECT_STREQ(plug->Readout(kReadoutDelay), "  11 ^s  Delay  ");

    SetPlain(*plug, kParamDelay, -3); // -0.75 samples, -1.5 oversampled, rounded to -2
    EXPECT_NEAR(plug->DelayMicros(), -1.0 / 0.0441, 1e-9);

    SetPlain(*plug, kParamOversampleMode, 1);
    SetPlain(*plug, kParamJuice, 4);
    EXPECT_STREQ(plug->Readout(kReadoutJuice), "Clear  4 ");
    SetPlain(*plug, kParamTight, 48.18182);
    EXPECT_STREQ(plug->Readout(kReadoutTight), "48 ");
}

TEST(OstrandReadouts, BannerTypesScrollsAndEnds)
{
    ReadoutText text;
    FormatBannerText(5, text);
    EXPECT_STREQ(text, "");
    FormatBannerText(9, text);
    EXPECT_STREQ(text, "Welc");
    FormatBannerText(40, text);
    EXPECT_STREQ(text, "Welcome to Tarvo");
    FormatBannerText(70, text);
    EXPECT_STREQ(text, "ome to Tarvo    ");
    FormatBannerText(150, text);
    EXPECT_STREQ(text, "     v1.0.2     ");

    Ostrand plug;
    plug.IdleTick(); // first run
    ASSERT_TRUE(plug.FirstRunDone());
    for (int t = 0; t < 20; ++t)
        plug.IdleTick();
    EXPECT_STREQ(plug.Readout(kReadoutDelay), "Welcome to Tarvo");
    Settle(plug, 200);
    EXPECT_LE(plug.mIntroTicks, 0);
    EXPECT_STREQ(plug.Readout(kReadoutDelay), "   0 ^s  Delay  ");
}
