#pragma once
// The window table of the "Tight" transient detector, shared by the single
// and the mid/side pair form.

#include <algorithm>
#include <cmath>

namespace transient_windows {

// Window lengths in seconds, fall rates in dB per second, rise thresholds
// in dB and silence floors in dB, for windows 1, 2 and 3.
constexpr double kSeconds[3] = {0.00175, 0.0025, 0.004};
constexpr double kDecayPerSecond[3] = {15.0, 3.75, 0.46875};
constexpr double kThreshold[3] = {0.8, 0.2, 0.025};
constexpr double kFloor[3] = {-96.0, -256.0, -223.0};
constexpr double kReleaseMs = 26.4375;
// The longest window difference at the highest rate (4 ms - 1.75 ms), rounded up.
constexpr int kDelayCapacity = 10400;

inline int WindowSamples(int j, int rate)
{
    return std::max(1, static_cast<int>(std::floor(kSeconds[j] * rate + 0.5)));
}

} // namespace transient_windows
