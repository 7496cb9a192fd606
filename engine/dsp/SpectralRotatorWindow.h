#pragma once
// The analysis window of a rotator of size n (its first half: the window is
// symmetric) and the overlap-add gain that makes the windowed frames sum
// back to the input; shared by the single and the paired rotator.
#include <cmath>
#include <numbers>

inline void FillRotatorWindowAndGain(double* window, double* gain, int n)
{
    for (int i = 0; i < n / 2; ++i) {
        const double t = 2.0 * std::numbers::pi * i / n;
        window[i] = 0.42 - 0.5 * std::cos(t) + 0.08 * std::cos(2.0 * t);
    }
    for (int i = 0; i < n / 2; ++i)
        gain[i] = 2.0 * (0.5 / (n * (window[i] + window[n / 2 - 1 - i])));
}
