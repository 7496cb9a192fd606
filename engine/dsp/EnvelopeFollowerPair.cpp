#include "engine/dsp/EnvelopeFollowerPair.h"

#include "engine/dsp/EnvelopeFollower.h"

//------------------------------------------------------------------------------
void EnvelopeFollowerPair::SetTimes(double attackMs, double releaseMs, int rate)
{
    mAttack = _mm_set1_pd(FollowerCoefficient(attackMs, rate));
    mRelease = _mm_set1_pd(FollowerCoefficient(releaseMs, rate));
}
