#include "engine/ostrand/OstrandMapping.h"

#include "engine/dsp/FirTables.h"

#include <algorithm>
#include <climits>
#include <cmath>

//------------------------------------------------------------------------
double DelayShift(double delayValue, double rate)
{
    return delayValue * (rate < 50000.0 ? 0.25 : 0.5);
}

//------------------------------------------------------------------------
double SensitivityOffset(double knob)
{
    return knob >= 0.0 ? knob / 200.0 : -(knob * knob) * 0.002;
}

//------------------------------------------------------------------------
double SensitivityFromOffset(double offset)
{
    return offset >= 0.0 ? offset * 200.0 : -std::sqrt(offset / -0.002);
}

//------------------------------------------------------------------------
double BalanceOffset(double knob)
{
    double t = 0.5 * knob * knob * 0.0001;
    return knob >= 0.0 ? t : -t;
}

//------------------------------------------------------------------------
double BalanceFromOffset(double offset)
{
    return offset >= 0.0 ? std::sqrt(2.0 * offset / 0.0001) : -std::sqrt(2.0 * offset / -0.0001);
}

//------------------------------------------------------------------------
double OutputGain(double db)
{
    return std::min(std::exp(db / kDbPerNeper), kMaxOutputGain);
}

//------------------------------------------------------------------------
double NormalizeGlide(const GlideRange& range, double value)
{
    double n = (value - range.min) / (range.max - range.min);
    if (range.shape == 1.0)
        return n;
    return std::pow(std::max(n, 0.0), 1.0 / range.shape);
}

//------------------------------------------------------------------------
double DenormalizeGlide(const GlideRange& range, double normalized)
{
    if (range.shape != 1.0)
        normalized = std::pow(std::max(normalized, 0.0), range.shape);
    return normalized * (range.max - range.min) + range.min;
}

//------------------------------------------------------------------------
JuiceSettings JuiceFor(int juice, double rate)
{
    JuiceSettings s;
    bool low = rate < 50000.0;
    switch (juice) {
    case 0:
        s.factor = low ? 2 : 1;
        s.singleStage = s.simpleDetector = s.integerDelay = true;
        s.frameMultiple = 1;
        break;
    case 1:
        s.factor = low ? 2 : 1;
        s.simpleDetector = s.integerDelay = true;
        break;
    case 2:
        s.factor = low ? 2 : 1;
        s.integerDelay = true;
        break;
    default:
        s.factor = low ? 4 * juice - 8 : 2 * juice - 4;
        break;
    }
    s.factor = std::clamp(s.factor, 1, 512);
    return s;
}

//------------------------------------------------------------------------
int BaseFrameSize(double rate)
{
    return rate > 50000.0 ? 4096 : 2048;
}

//------------------------------------------------------------------------
int ResamplerDelay(int style, double rate, int factor)
{
    if (style != kClearStyle || factor <= 1)
        return 0;
    int intRate = static_cast<int>(rate);
    if (rate > 50000.0)
        return (DirectFirTable(intRate, factor).length - 1) / factor;
    int length = BlockFirTable(intRate, factor).length;
    int r = 2 * ((length / 2 + 512) / factor);
    // The corrections belong to the tables, not to one rate: every rate up
    // to 50000 Hz but 48000 shares the 44100 tables and so their delay.
    const bool ownTables = intRate == 48000;
    if (!ownTables && factor >= 8)
        ++r;
    else if (!ownTables && factor == 4)
        --r;
    else if (ownTables && factor == 12)
        ++r;
    return r;
}

//------------------------------------------------------------------------
int LatencyFor(double rate, int factor, int frameMultiple, int style)
{
    factor = std::max(factor, 1);
    return 72 / factor + frameMultiple * BaseFrameSize(rate) + ResamplerDelay(style, rate, factor);
}

//------------------------------------------------------------------------
int LookaheadSamples(double rate)
{
    return static_cast<int>(std::floor(0.004 * rate + 0.5));
}

//------------------------------------------------------------------------
double OversampledDelay(double shift, int factor, bool integerDelay, bool* corrected)
{
    double os = shift * factor;
    bool changed = false;
    if (integerDelay) {
        double rounded = os > 0.0 ? std::ceil(os) : std::floor(os);
        changed = rounded != os;
        os = rounded;
    }
    if (corrected != nullptr)
        *corrected = changed;
    return os;
}

//------------------------------------------------------------------------
int RoundHalfAway(double v)
{
    if (!(v == v))
        return 0;
    double r = std::round(v);
    if (r >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (r <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(r);
}

//------------------------------------------------------------------------
double Round14(double v)
{
    return std::round(v * 1e14) / 1e14;
}
