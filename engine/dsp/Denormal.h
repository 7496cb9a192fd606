#pragma once
// Denormal guard shared by the filters and followers: a value whose exponent
// bits are all zero (a zero or a subnormal number) becomes +0, so that
// recursive state never decays into the slow subnormal range.

#include <cfloat>
#include <cmath>

inline double FlushDenormal(double x)
{
    return std::fabs(x) < DBL_MIN ? 0.0 : x;
}
