#pragma once
// FFT of n real values through one complex FFT of n/2 points.
//
// Packed spectrum layout (n doubles, in place): [0] = Re X[0], [1] = Re X[n/2],
// then (Re X[k], Im X[k]) at [2k], [2k+1] for k = 1 ... n/2-1. The bins above
// n/2 are the complex conjugates of those below. No scaling either way, so
// Inverse(Forward(x)) = n·x.
//
// Real-time: SetSize allocates; Forward and Inverse never allocate.

#include "engine/dsp/ComplexFft.h"

#include <vector>

class RealFft
{
public:
    RealFft() = default;
    explicit RealFft(int n) { SetSize(n); }

    // n must be a power of two, 4 ... 65536; returns false otherwise.
    bool SetSize(int n);
    int Size() const { return mSize; }

    void Forward(double* data) const;
    void Inverse(double* data) const;

private:
    int mSize = 0;
    ComplexFft mHalf;
    std::vector<double> mTwiddles; // e^(-j2πk/n), k = 0 ... n/4, as (cos, sin) pairs
};
