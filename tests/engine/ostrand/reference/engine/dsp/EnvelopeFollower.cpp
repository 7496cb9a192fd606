#include "engine/dsp/EnvelopeFollower.h"

#include "engine/dsp/Denormal.h"

#include <cmath>

namespace {

// Per-sample factor of the drive-dependent release: q = k0^(drive/strength)
// with k0 = 0.9999999999708188, taken as e^(ln k0 · drive/strength).
const double kLogDriveBase = std::log(0.9999999999708188);

} // namespace

//------------------------------------------------------------------------------
double FollowerCoefficient(double ms, double rate)
{
    const double samples = rate * ms * 0.001;
    if (!(samples > 0.0))
        return 0.0;
    return std::exp(std::log(0.01) / samples);
}

//------------------------------------------------------------------------------
void EnvelopeFollower::SetTimes(double attackMs, double releaseMs, int rate)
{
    mRate = rate;
    mAttack = FollowerCoefficient(attackMs, rate);
    mRelease = FollowerCoefficient(releaseMs, rate);
}

//------------------------------------------------------------------------------
double EnvelopeFollower::ProcessSample(double input, double drive, double strength)
{
    const double d = std::fabs(input);
    double s;
    if (mState < d)
    {
        s = (mState - d) * mAttack + d;
    }
    else
    {
        const double q = std::exp(kLogDriveBase * (drive / strength));
        s = ((q * mRelease + mRelease) * 0.5) * (mState - d) + d;
    }
    // A drive/strength pair far outside the engine's range could push the
    // release factor to infinity; never keep a non-finite state.
    if (!std::isfinite(s))
        s = std::isfinite(d) ? d : 0.0;
    mState = FlushDenormal(s);
    return mState;
}
