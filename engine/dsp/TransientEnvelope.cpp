#include "engine/dsp/TransientEnvelope.h"

#include "engine/dsp/Denormal.h"
#include "engine/dsp/EnvelopeFollower.h"
#include "engine/dsp/TransientWindows.h"

#include <algorithm>
#include <cmath>

using namespace transient_windows;

//------------------------------------------------------------------------------
TransientEnvelope::TransientEnvelope()
    : mDelays{LevelDelay(kDelayCapacity), LevelDelay(kDelayCapacity)}
{
    size_t total = 0;
    for (int j = 0; j < 3; ++j)
        total += 2 * static_cast<size_t>(WindowSamples(j, kMaxRate));
    mStorage.assign(total, 0.0);

    double* p = mStorage.data();
    for (int j = 0; j < 3; ++j)
    {
        Window& w = mWindows[j];
        const int capacity = WindowSamples(j, kMaxRate);
        w.levels = p;
        w.averages = p + capacity;
        p += 2 * static_cast<size_t>(capacity);
        w.floor = kFloor[j];
        w.length = 110;
        w.index = w.length - 1;
    }
    mDelays[0].SetLength(0);
    mDelays[1].SetLength(0);
}

//------------------------------------------------------------------------------
void TransientEnvelope::Resize(Window& w, int length)
{
    // Entries that remain keep their values; new ones start at 0. The running
    // sum is rebuilt from the entries so that it is their true sum.
    for (int i = w.length; i < length; ++i)
        w.levels[i] = w.averages[i] = 0.0;
    w.length = length;
    double sum = 0.0;
    for (int i = 0; i < length; ++i)
        sum += w.levels[i];
    w.sum = sum;
    w.level = 0.0;
    w.index = length - 1;
}

//------------------------------------------------------------------------------
void TransientEnvelope::Configure(int rate)
{
    rate = std::clamp(rate, 1, kMaxRate);
    for (int j = 0; j < 3; ++j)
    {
        Window& w = mWindows[j];
        const int length = WindowSamples(j, rate);
        if (length != w.length || rate != mRate)
            Resize(w, length);
        w.decay = kDecayPerSecond[j] / rate;
        w.threshold = kThreshold[j];
    }
    mRate = rate;
    mReleaseCoefficient = FollowerCoefficient(kReleaseMs, rate);
    mDelays[0].SetLength(mWindows[2].length - mWindows[0].length);
    mDelays[1].SetLength(mWindows[2].length - mWindows[1].length);
}

//------------------------------------------------------------------------------
inline double TransientEnvelope::WindowStep(Window& w, double v, double level)
{
    if (!(level >= w.floor)) // also catches -inf from a zero input
        level = w.floor;
    // Levels rise at once and fall by at most `decay` per sample.
    if (level <= w.level && level <= w.level - w.decay)
        level = w.level - w.decay;
    w.level = level;

    w.sum = w.sum - w.levels[w.index] + level;
    w.levels[w.index] = level;
    const double average = w.sum / w.length;
    const double out = average > w.threshold + w.averages[w.index] ? 3.0 * v : v;
    w.averages[w.index] = average;
    w.index = w.index == 0 ? w.length - 1 : w.index - 1;
    return out;
}

//------------------------------------------------------------------------------
inline double TransientEnvelope::Blend(double v)
{
    // One logarithm per sample: the delayed windows reuse the level that
    // was computed when their value entered the delay.
    const double level = std::log(v) * kLevelScale;
    double v1 = v, l1 = level;
    double v2 = v, l2 = level;
    mDelays[0].ProcessSample(v1, l1);
    mDelays[1].ProcessSample(v2, l2);
    const double e1 = WindowStep(mWindows[0], v1, l1);
    const double e2 = WindowStep(mWindows[1], v2, l2);
    const double e3 = WindowStep(mWindows[2], v, level);
    return (e1 + 3.0 * e2 + 2.0 * e3) / 6.0;
}

//------------------------------------------------------------------------------
void TransientEnvelope::ProcessSample(double& x, double drive, double strength, bool release)
{
    x = Blend(std::fabs(x));
    if (!release)
        return;
    if (x < mState)
    {
        const double q = DriveReleaseFactor(drive, strength);
        const double c = mReleaseCoefficient;
        double s = ((q * c + c) * 0.5) * (mState - x) + x;
        if (!std::isfinite(s))
            s = x;
        mState = FlushDenormal(s);
    }
    else
    {
        mState = x;
    }
    x = mState;
}

//------------------------------------------------------------------------------
void TransientEnvelope::ProcessSampleSimple(double& x, bool release)
{
    x = Blend(std::fabs(x));
    if (!release)
        return;
    if (x >= mState)
        mState = x;
    else
        mState = FlushDenormal((mState - x) * mReleaseCoefficient + x);
    x = mState;
}
