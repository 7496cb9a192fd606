#pragma once
// Smoothing record of one per-sample parameter glide: a one-pole low-pass
// in the parameter's normalised domain whose per-sample coefficient is
// base^(1/(trunc(rate)/44100)), i.e. 0.99 at 44100 Hz, the same glide time
// at every rate.
//
// Real-time: every member is allocation-free and never throws.

class GlideCoefficient
{
public:
    double base = 0.99;
    double oneMinusCoefficient = 0.01; // 1 - c of the last step
    double state = 0.0;

    // Per-sample coefficient c for the sample rate (rates below 1 Hz count
    // as 1 Hz, which makes the glide practically instant).
    double Coefficient(double rate) const;

    // One glide step toward the normalised target n: stores 1 - c and
    // returns the new state c·state + (1 - c)·n.
    double Step(double target, double rate);

private:
    mutable double mLastRate = 44100.0;
    mutable double mLastBase = 0.99;
    mutable double mLastCoefficient = 0.99;
};
