#pragma once
// "Regular" oversampling filter: one low-pass biquad (Q 0.707) at 0.9 times
// the base-rate Nyquist frequency, run at the oversampled rate.
//
// Real-time: allocation-free, never throws; output flushed when subnormal.

#include "engine/dsp/Denormal.h"

class ResampleBiquad
{
public:
    struct Coefficients
    {
        double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
    };
    // The low-pass for the factor F > 1.
    static Coefficients Design(int factor);

    // Designs for the factor F when F > 1 (a pass-through until then) and
    // always clears the state.
    void Configure(int factor);
    double ProcessSample(double x)
    {
        const double y = FlushDenormal(mB0 * x + mB1 * mX1 + mB2 * mX2 - mA1 * mY1 - mA2 * mY2);
        mX2 = mX1;
        mX1 = x;
        mY2 = mY1;
        mY1 = y;
        return y;
    }

private:
    double mB0 = 1.0, mB1 = 0.0, mB2 = 0.0, mA1 = 0.0, mA2 = 0.0;
    double mX1 = 0.0, mX2 = 0.0, mY1 = 0.0, mY2 = 0.0;
};
