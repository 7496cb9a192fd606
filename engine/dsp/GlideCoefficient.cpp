#include "engine/dsp/GlideCoefficient.h"

#include <cmath>

//------------------------------------------------------------------------------
double GlideCoefficient::Coefficient(double rate) const
{
    if (!(rate >= 1.0))
        rate = 1.0;
    if (rate != mLastRate || base != mLastBase)
    {
        // The power is taken only when the rate changes.
        mLastCoefficient = std::pow(base, 1.0 / (std::trunc(rate) / 44100.0));
        mLastRate = rate;
        mLastBase = base;
    }
    return mLastCoefficient;
}

//------------------------------------------------------------------------------
double GlideCoefficient::Step(double target, double rate)
{
    const double c = Coefficient(rate);
    oneMinusCoefficient = 1.0 - c;
    state = c * state + oneMinusCoefficient * target;
    return state;
}
