#pragma once
// Attack/release level follower ("Classic" detector) with a release that the
// detector's drive value speeds up or slows down.
//
// Real-time: every member is allocation-free and never throws; the state is
// flushed to 0 when it becomes subnormal and never holds NaN or infinity.

#include "engine/dsp/Denormal.h"
#include "engine/dsp/DriveRelease.h"

#include <cmath>

class EnvelopeFollower
{
public:
    // Times in milliseconds to move 99 % of the way (to 1 % of the distance);
    // a time of 0 (or below) gives an instant step. `rate` in Hz.
    void SetTimes(double attackMs, double releaseMs, int rate);

    // Follows abs(input); returns the new state.
    double ProcessSample(double input, double drive, double strength);

    double State() const { return mState; }
    double AttackCoefficient() const { return mAttack; }
    double ReleaseCoefficient() const { return mRelease; }
    int Rate() const { return mRate; }
    void Reset() { mState = 0.0; }

private:
    double mState = 0.0;
    double mAttack = 0.0;
    double mRelease = 0.0;
    int mRate = 44100;
};

// 1 % time constant of a one-pole coefficient: e^(ln 0.01 / (rate·ms/1000)),
// 0 for a time or rate of 0 or less.
double FollowerCoefficient(double ms, double rate);

inline double EnvelopeFollower::ProcessSample(double input, double drive, double strength)
{
    const double d = std::fabs(input);
    double s;
    if (mState < d)
    {
        s = (mState - d) * mAttack + d;
    }
    else
    {
        const double q = DriveReleaseFactor(drive, strength);
        s = ((q * mRelease + mRelease) * 0.5) * (mState - d) + d;
    }
    // A drive/strength pair far outside the engine's range could push the
    // release factor to infinity; never keep a non-finite state.
    if (!std::isfinite(s))
        s = std::isfinite(d) ? d : 0.0;
    mState = FlushDenormal(s);
    return mState;
}
