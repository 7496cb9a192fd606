#include "engine/ostrand/OstrandReadouts.h"

#include "engine/ostrand/OstrandMapping.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char kBanner[] = "Welcome to Tarvo     v1.0.2          ";
const char kGuideHint[] = "Open User Guide";

// Copies count characters of text from start, padding with spaces.
void CopySlice(const char* text, int start, int count, ReadoutText out)
{
    int length = static_cast<int>(std::strlen(text));
    int n = 0;
    for (; n < count && n + 1 < static_cast<int>(kReadoutTextSize); ++n) {
        int i = start + n;
        out[n] = i < length ? text[i] : ' ';
    }
    out[n] = '\0';
}

} // namespace

//------------------------------------------------------------------------
double DelayReadoutMicros(double shift, bool corrected, double rate)
{
    if (corrected) {
        double step = rate < 50000.0 ? 0.25 : 0.5;
        shift += shift > 0.0 ? step : -step;
    }
    return shift / (rate * 1e-6);
}

//------------------------------------------------------------------------
void FormatDelayReadout(double v, ReadoutText out)
{
    const char* format;
    if (v >= 100.0)
        format = " %1.00f ^s  Delay  ";
    else if (v >= 10.0)
        format = "  %1.00f ^s  Delay  ";
    else if (v >= 0.0)
        format = "   %1.00f ^s  Delay  ";
    else if (v <= -100.0)
        format = "%1.00f ^s  Delay  ";
    else if (v <= -10.0)
        format = " %1.00f ^s  Delay  ";
    else
        format = "  %1.00f ^s  Delay  ";
    std::snprintf(out, kReadoutTextSize, format, v);
}

//------------------------------------------------------------------------
void FormatJuiceReadout(int juice, bool clearStyle, ReadoutText out)
{
    std::snprintf(out, kReadoutTextSize, clearStyle ? "Clear  %i " : "Regular %i ", juice);
}

//------------------------------------------------------------------------
void FormatWeightReadout(double weight, ReadoutText out)
{
    std::snprintf(out, kReadoutTextSize, "%1.00f ", weight * 100.0);
}

//------------------------------------------------------------------------
void FormatAttackReadout(double ms, ReadoutText out)
{
    const char* format = ms < 1.0    ? " %0.03f ms"
                         : ms < 30.0  ? " %0.02f ms"
                         : ms < 100.0 ? " %0.01f ms"
                                      : " %0.00f ms";
    std::snprintf(out, kReadoutTextSize, format, ms);
}

//------------------------------------------------------------------------
void FormatReleaseReadout(double ms, ReadoutText out)
{
    const char* format = ms < 30.0 ? " %0.02f ms" : ms < 100.0 ? " %0.01f ms" : " %0.00f ms";
    std::snprintf(out, kReadoutTextSize, format, ms);
}

//------------------------------------------------------------------------
void FormatAngleReadout(double v, ReadoutText out)
{
    const char* format = v >= 100.0  ? " %0.02f$"
                         : v >= 0.0   ? "  %0.02f$"
                         : v <= -100.0 ? "%0.02f$"
                                       : " %0.02f$";
    std::snprintf(out, kReadoutTextSize, format, v);
}

//------------------------------------------------------------------------
void FormatSensitivityReadout(double offset, ReadoutText out)
{
    std::snprintf(out, kReadoutTextSize, " %1.00f ", SensitivityFromOffset(offset));
}

//------------------------------------------------------------------------
void FormatBalanceReadout(double offset, ReadoutText out)
{
    std::snprintf(out, kReadoutTextSize, " %1.00f ", BalanceFromOffset(offset));
}

//------------------------------------------------------------------------
void FormatStrengthReadout(double v, ReadoutText out)
{
    const char* format = v >= 0.1 ? " %0.01f " : v >= 0.01 ? " %0.02f " : " %0.03f ";
    std::snprintf(out, kReadoutTextSize, format, v);
}

//------------------------------------------------------------------------
void FormatOutputReadout(double db, ReadoutText out)
{
    std::snprintf(out, kReadoutTextSize, " %0.02f dB", db);
}

//------------------------------------------------------------------------
void FormatBannerText(int tick, ReadoutText out)
{
    int count = std::min(std::max(tick - 5, 0), 16);
    int start = tick - 5 <= 61 ? 0 : std::min(tick - 66, 16);
    CopySlice(kBanner, start, count, out);
}

//------------------------------------------------------------------------
void FormatGuideHint(int chars, ReadoutText out)
{
    CopySlice(kGuideHint, 0, std::clamp(chars, 0, kGuideHintLength), out);
}
