#include "engine/dsp/ResampleBiquad.h"

#include "engine/dsp/Denormal.h"

#include <cmath>
#include <numbers>

//------------------------------------------------------------------------------
void ResampleBiquad::Configure(int factor)
{
    if (factor > 1)
    {
        // Low-pass at 0.9 times the base-rate Nyquist frequency, Q = 1/1.414.
        const double w = 0.9 * std::numbers::pi / factor;
        const double alpha = std::sin(w) / 1.414;
        const double a0 = 1.0 + alpha;
        mB1 = (1.0 - std::cos(w)) / a0;
        mB0 = mB2 = mB1 / 2.0;
        mA1 = -2.0 * std::cos(w) / a0;
        mA2 = (1.0 - alpha) / a0;
    }
    mX1 = mX2 = mY1 = mY2 = 0.0;
}

//------------------------------------------------------------------------------
double ResampleBiquad::ProcessSample(double x)
{
    const double y = FlushDenormal(mB0 * x + mB1 * mX1 + mB2 * mX2 - mA1 * mY1 - mA2 * mY2);
    mX2 = mX1;
    mX1 = x;
    mY2 = mY1;
    mY1 = y;
    return y;
}
