#include "engine/dsp/TransientEnvelopePair.h"

#include "engine/dsp/Denormal.h"
#include "engine/dsp/EnvelopeFollower.h"
#include "engine/dsp/TransientEnvelope.h"
#include "engine/dsp/TransientWindows.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace transient_windows;

namespace {

// Lanes of `yes` where the mask is set, of `no` elsewhere.
inline __m128d Select(__m128d mask, __m128d yes, __m128d no)
{
    return _mm_or_pd(_mm_and_pd(mask, yes), _mm_andnot_pd(mask, no));
}

} // namespace

//------------------------------------------------------------------------------
TransientEnvelopePair::TransientEnvelopePair()
{
    size_t total = 0;
    for (int j = 0; j < 3; ++j)
        total += 4 * static_cast<size_t>(WindowSamples(j, TransientEnvelope::kMaxRate));
    total += 2 * 4 * static_cast<size_t>(kDelayCapacity);
    mStorage = ZeroedBuffer(total);

    double* p = mStorage.data();
    for (int j = 0; j < 3; ++j)
    {
        Window& w = mWindows[j];
        const int capacity = WindowSamples(j, TransientEnvelope::kMaxRate);
        w.levels = p;
        w.averages = p + 2 * static_cast<size_t>(capacity);
        p += 4 * static_cast<size_t>(capacity);
        w.decay = _mm_setzero_pd();
        w.threshold = _mm_set1_pd(0.2);
        w.floor = _mm_set1_pd(kFloor[j]);
        w.level = _mm_setzero_pd();
        w.sum = _mm_setzero_pd();
        w.divisor = _mm_set1_pd(static_cast<double>(w.length));
    }
    // Delay content starts as silence (see MakeSilent), slot by slot as the
    // delay lengths reach it.
    for (Delay& d : mDelays)
    {
        d.slots = p;
        d.capacity = kDelayCapacity;
        p += 4 * static_cast<size_t>(kDelayCapacity);
    }
}

//------------------------------------------------------------------------------
void TransientEnvelopePair::MakeSilent(Delay& d)
{
    // Silence is value 0 and level -infinity (that of 0). Slots no length
    // has reached yet hold nothing else, so they are set when first reached.
    const double minusInf = -std::numeric_limits<double>::infinity();
    for (int i = d.silentUpTo; i < d.length; ++i)
        d.slots[4 * i + 2] = d.slots[4 * i + 3] = minusInf;
    d.silentUpTo = std::max(d.silentUpTo, d.length);
}

//------------------------------------------------------------------------------
void TransientEnvelopePair::Resize(Window& w, int length)
{
    // Entries that remain keep their values; new ones start at 0. The running
    // sums are rebuilt from the entries, in entry order as a single detector does.
    for (int i = 2 * w.length; i < 2 * length; ++i)
        w.levels[i] = w.averages[i] = 0.0;
    w.length = length;
    w.divisor = _mm_set1_pd(static_cast<double>(length));
    double sumM = 0.0;
    double sumS = 0.0;
    for (int i = 0; i < length; ++i)
    {
        sumM += w.levels[2 * i];
        sumS += w.levels[2 * i + 1];
    }
    w.sum = _mm_set_pd(sumS, sumM);
    w.level = _mm_setzero_pd();
    w.index = length - 1;
}

//------------------------------------------------------------------------------
void TransientEnvelopePair::Configure(int rate)
{
    rate = std::clamp(rate, 1, TransientEnvelope::kMaxRate);
    for (int j = 0; j < 3; ++j)
    {
        Window& w = mWindows[j];
        const int length = WindowSamples(j, rate);
        if (length != w.length || rate != mRate)
            Resize(w, length);
        w.decay = _mm_set1_pd(kDecayPerSecond[j] / rate);
        w.threshold = _mm_set1_pd(kThreshold[j]);
    }
    mRate = rate;
    mReleaseCoefficient = FollowerCoefficient(kReleaseMs, rate);
    for (int j = 0; j < 2; ++j)
    {
        const int n = mWindows[2].length - mWindows[j].length;
        mDelays[j].length = n > 0 ? std::min(n, mDelays[j].capacity) : 0;
        MakeSilent(mDelays[j]);
    }
}

//------------------------------------------------------------------------------
inline void TransientEnvelopePair::DelayStep(Delay& d, __m128d& v, __m128d& level)
{
    if (d.length == 0)
        return;
    if (d.position >= d.length)
        d.position = 0;
    double* slot = d.slots + 4 * static_cast<size_t>(d.position);
    const __m128d oldValue = _mm_loadu_pd(slot);
    const __m128d oldLevel = _mm_loadu_pd(slot + 2);
    _mm_storeu_pd(slot, v);
    _mm_storeu_pd(slot + 2, level);
    v = oldValue;
    level = oldLevel;
    if (++d.position >= d.length)
        d.position = 0;
}

//------------------------------------------------------------------------------
inline __m128d TransientEnvelopePair::WindowStep(Window& w, __m128d v, __m128d level)
{
    // The state is read once and written once: the entry stores go through
    // double pointers, which the compiler must assume may change it.
    const __m128d previous = w.level;
    const __m128d decay = w.decay;
    const __m128d threshold = w.threshold;
    const int index = w.index;
    const int length = w.length;

    // The floor: maxpd returns its second operand unless the first is
    // greater, so a NaN level (never expected) also takes the floor, as does
    // -inf from a zero input.
    level = _mm_max_pd(level, w.floor);
    // Levels rise at once and fall by at most `decay` per sample. With
    // decay > 0 the fallen level is below the previous one, so "at or below
    // both" is "at or below the fallen level", and equal values are equal.
    level = _mm_max_pd(level, _mm_sub_pd(previous, decay));

    double* levelSlot = w.levels + 2 * static_cast<size_t>(index);
    double* averageSlot = w.averages + 2 * static_cast<size_t>(index);
    const __m128d sum = _mm_add_pd(_mm_sub_pd(w.sum, _mm_loadu_pd(levelSlot)), level);
    const __m128d oldAverage = _mm_loadu_pd(averageSlot);
    const __m128d average = _mm_div_pd(sum, w.divisor);
    const __m128d rise = _mm_cmpgt_pd(average, _mm_add_pd(threshold, oldAverage));
    const __m128d out = Select(rise, _mm_mul_pd(_mm_set1_pd(3.0), v), v);
    _mm_storeu_pd(levelSlot, level);
    _mm_storeu_pd(averageSlot, average);
    w.level = level;
    w.sum = sum;
    w.index = index == 0 ? length - 1 : index - 1;
    return out;
}

//------------------------------------------------------------------------------
inline __m128d TransientEnvelopePair::Blend(__m128d v)
{
    // One logarithm per lane and sample; the delayed windows reuse the level
    // that was computed when their value entered the delay.
    // The library's scalar logarithm (table-driven, no division) measured
    // faster here than a two-lane polynomial one with its division.
    const __m128d level = _mm_mul_pd(
        _mm_set_pd(std::log(_mm_cvtsd_f64(_mm_unpackhi_pd(v, v))), std::log(_mm_cvtsd_f64(v))),
        _mm_set1_pd(TransientEnvelope::kLevelScale));
    __m128d v1 = v, l1 = level;
    __m128d v2 = v, l2 = level;
    DelayStep(mDelays[0], v1, l1);
    DelayStep(mDelays[1], v2, l2);
    const __m128d e1 = WindowStep(mWindows[0], v1, l1);
    const __m128d e2 = WindowStep(mWindows[1], v2, l2);
    const __m128d e3 = WindowStep(mWindows[2], v, level);
    const __m128d sum = _mm_add_pd(_mm_add_pd(e1, _mm_mul_pd(_mm_set1_pd(3.0), e2)), _mm_mul_pd(_mm_set1_pd(2.0), e3));
    return _mm_div_pd(sum, _mm_set1_pd(6.0));
}

//------------------------------------------------------------------------------
void TransientEnvelopePair::ProcessPair(double& m, double& s, double driveM, double driveS, double strength,
                                        bool release)
{
    const __m128d sign = _mm_set1_pd(-0.0);
    const __m128d e = Blend(_mm_andnot_pd(sign, _mm_set_pd(s, m)));
    double x[2] = {_mm_cvtsd_f64(e), _mm_cvtsd_f64(_mm_unpackhi_pd(e, e))};
    if (release)
    {
        const double drive[2] = {driveM, driveS};
        for (int lane = 0; lane < 2; ++lane)
        {
            if (x[lane] < mState[lane])
            {
                const double q = DriveReleaseFactor(drive[lane], strength);
                const double c = mReleaseCoefficient;
                double y = ((q * c + c) * 0.5) * (mState[lane] - x[lane]) + x[lane];
                if (!std::isfinite(y))
                    y = x[lane];
                mState[lane] = FlushDenormal(y);
            }
            else
            {
                mState[lane] = x[lane];
            }
            x[lane] = mState[lane];
        }
    }
    m = x[0];
    s = x[1];
}

//------------------------------------------------------------------------------
void TransientEnvelopePair::ProcessPairSimple(double& m, double& s, bool release)
{
    const __m128d sign = _mm_set1_pd(-0.0);
    const __m128d e = Blend(_mm_andnot_pd(sign, _mm_set_pd(s, m)));
    double x[2] = {_mm_cvtsd_f64(e), _mm_cvtsd_f64(_mm_unpackhi_pd(e, e))};
    if (release)
    {
        for (int lane = 0; lane < 2; ++lane)
        {
            if (x[lane] >= mState[lane])
                mState[lane] = x[lane];
            else
                mState[lane] = FlushDenormal((mState[lane] - x[lane]) * mReleaseCoefficient + x[lane]);
            x[lane] = mState[lane];
        }
    }
    m = x[0];
    s = x[1];
}
