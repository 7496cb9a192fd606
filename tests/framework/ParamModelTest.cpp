#include "framework/IFxParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

IFxParam Continuous(double def, double lo, double hi, double step, double shape = 1.0)
{
    IFxParam p;
    p.SetupContinuous("name", def, lo, hi, step, "ms", "");
    p.SetShapeExponent(shape);
    return p;
}

std::string Format(const IFxParam& p, double v, bool normalized)
{
    char out[128];
    p.FormatValue(v, normalized, out, true);
    return out;
}

} // namespace

TEST(ParamSetup, RangeDecimalsAndKinds)
{
    IFxParam narrow = Continuous(0, 5, 2, 0.5);
    EXPECT_EQ(narrow.Max(), 5.5); // max never below min + step

    EXPECT_EQ(Continuous(0, 0, 1, 1.0).Decimals(), 0);
    EXPECT_EQ(Continuous(0, 0, 1, 0.1).Decimals(), 1);
    EXPECT_EQ(Continuous(0, 0, 1, 0.01).Decimals(), 2);
    EXPECT_EQ(Continuous(0, -180, 180, 1e-13).Decimals(), 6);

    IFxParam integer;
    integer.SetupInteger("int", 0, 0, 1);
    EXPECT_EQ(integer.Kind(), kKindInt);
    EXPECT_EQ(integer.Step(), 1.0);
    EXPECT_EQ(integer.Decimals(), 0);

    IFxParam shaped = Continuous(0, 0, 1, 0.1, 3.0);
    shaped.SetShapeExponent(0.0);
    EXPECT_EQ(shaped.Shape(), 3.0);
}

TEST(ParamMapping, ShapeRoundTripsAndIntegerSnapping)
{
    IFxParam p = Continuous(0, 0, 100, 0.01, 2.0);
    p.SetFromNormalized(0.5);
    EXPECT_DOUBLE_EQ(p.Value(), 25.0);
    EXPECT_DOUBLE_EQ(p.ToNormalized(), 0.5);
    EXPECT_EQ(p.ToNormalized(1000.0), 1.0);
    EXPECT_EQ(p.ToNormalized(-5.0), 0.0);

    IFxParam toggle;
    toggle.SetupInteger("t", 0, 0, 1);
    toggle.SetFromNormalized(0.49);
    EXPECT_EQ(toggle.Value(), 0.0);
    toggle.SetFromNormalized(0.5);
    EXPECT_EQ(toggle.Value(), 1.0);

    // Snapping counts multiples of the step from 0, not from min.
    IFxParam offset;
    offset.SetupInteger("o", 3, -3, 7);
    offset.SetFromNormalized(0.26); // -3 + 2.6 = -0.4 -> 0
    EXPECT_EQ(offset.Value(), 0.0);
}

TEST(ParamMapping, HostilenormalisedInputNeverLeavesTheRange)
{
    IFxParam p = Continuous(5, 0, 10, 0.01, 2.5);
    p.SetFromNormalized(-0.2); // a fractional power of a negative base would be NaN
    EXPECT_EQ(p.Value(), 0.0);
    p.SetFromNormalized(7.0);
    EXPECT_EQ(p.Value(), 10.0);
    p.SetFromNormalized(0.5);
    double before = p.Value();
    p.SetFromNormalized(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(p.Value(), before);

    p.SetPlain(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(p.Value(), 0.0);
    p.SetPlain(1e9);
    EXPECT_EQ(p.Value(), 10.0);
}

TEST(ParamText, FormatValueAndLabels)
{
    IFxParam angle = Continuous(0, -180, 180, 1e-13);
    EXPECT_EQ(Format(angle, 0.5, true), "0.000000");

    IFxParam ms = Continuous(0, 0, 100, 0.1);
    EXPECT_EQ(Format(ms, 12.345, false), "12.3");
    EXPECT_EQ(std::string(ms.UnitLabel()), "ms");
    EXPECT_EQ(std::string(ms.ValueText(3)), "");

    IFxParam whole = Continuous(0, -10, 10, 1.0);
    EXPECT_EQ(Format(whole, 2.9, false), "2");
    EXPECT_EQ(Format(whole, -2.9, false), "-2");
    EXPECT_EQ(Format(whole, 1e300, false), "2147483647"); // saturates, no overflow

    whole.SetShowNegated(true);
    EXPECT_EQ(Format(whole, 4.0, false), "-4");

    whole.AddValueText(0, "off");
    whole.AddValueText(0, "second");
    EXPECT_EQ(Format(whole, 0.7, false), "off");
    whole.SetPlain(0.0);
    EXPECT_EQ(std::string(whole.UnitLabel()), "");
    int found = -1;
    EXPECT_TRUE(whole.FindValueText("off", &found));
    EXPECT_EQ(found, 0);
    EXPECT_FALSE(whole.FindValueText("Off", &found));
}

TEST(ParamText, OverlongTextsAreCutToTheirFields)
{
    const char* longText = "a name far longer than thirty-one characters, surely";
    IFxParam p;
    p.SetupContinuous(longText, 0, 0, 1, 0.1, longText, longText);
    p.AddValueText(1, longText);
    EXPECT_EQ(std::strlen(p.DisplayName()), 31u);
    EXPECT_EQ(std::strlen(p.Label()), 31u);
    EXPECT_EQ(std::strlen(p.GroupName()), 31u);
    EXPECT_EQ(std::strlen(p.ValueText(1)), 31u);
    EXPECT_EQ(std::strncmp(p.DisplayName(), longText, 31), 0);
}
