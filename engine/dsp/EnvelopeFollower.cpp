#include "engine/dsp/EnvelopeFollower.h"

#include "engine/dsp/Denormal.h"

#include <cmath>

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
