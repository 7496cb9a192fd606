#include "engine/dsp/ResampleBiquad.h"

#include "engine/dsp/Denormal.h"

#include <cmath>
#include <numbers>

//------------------------------------------------------------------------------
ResampleBiquad::Coefficients ResampleBiquad::Design(int factor)
{
    // Low-pass at 0.9 times the base-rate Nyquist frequency, Q = 1/1.414.
    const double w = 0.9 * std::numbers::pi / factor;
    const double alpha = std::sin(w) / 1.414;
    const double a0 = 1.0 + alpha;
    Coefficients c;
    c.b1 = (1.0 - std::cos(w)) / a0;
    c.b0 = c.b2 = c.b1 / 2.0;
    c.a1 = -2.0 * std::cos(w) / a0;
    c.a2 = (1.0 - alpha) / a0;
    return c;
}

//------------------------------------------------------------------------------
void ResampleBiquad::Configure(int factor)
{
    if (factor > 1)
    {
        const Coefficients c = Design(factor);
        mB0 = c.b0;
        mB1 = c.b1;
        mB2 = c.b2;
        mA1 = c.a1;
        mA2 = c.a2;
    }
    mX1 = mX2 = mY1 = mY2 = 0.0;
}
