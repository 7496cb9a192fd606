#include "tools/tarvo-render/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace render {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Small deterministic noise (xorshift), so every demo render is identical.
struct Noise {
    std::uint32_t state = 0x9E3779B9u;
    double Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }
};

void AddKick(StereoAudio& a, std::size_t at, double rate)
{
    double phase = 0.0;
    auto len = static_cast<std::size_t>(0.45 * rate);
    for (std::size_t i = 0; i < len && at + i < a.Frames(); ++i) {
        double t = static_cast<double>(i) / rate;
        double freq = 45.0 + 110.0 * std::exp(-t * 28.0);
        phase += 2.0 * kPi * freq / rate;
        double s = 0.75 * std::sin(phase) * std::exp(-t * 7.0);
        a.left[at + i] += s;
        a.right[at + i] += s;
    }
}

void AddSnare(StereoAudio& a, std::size_t at, double rate, Noise& noise)
{
    auto len = static_cast<std::size_t>(0.25 * rate);
    double lp = 0.0;
    for (std::size_t i = 0; i < len && at + i < a.Frames(); ++i) {
        double t = static_cast<double>(i) / rate;
        lp += 0.5 * (noise.Next() - lp);
        double body = 0.3 * std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t * 25.0);
        double s = body + 0.35 * lp * std::exp(-t * 16.0);
        a.left[at + i] += s * 0.95;
        a.right[at + i] += s;
    }
}

void AddHat(StereoAudio& a, std::size_t at, double rate, Noise& noise, double level)
{
    auto len = static_cast<std::size_t>(0.06 * rate);
    double prev = 0.0;
    for (std::size_t i = 0; i < len && at + i < a.Frames(); ++i) {
        double t = static_cast<double>(i) / rate;
        double n = noise.Next();
        double hp = n - prev;  // first difference: bright
        prev = n;
        double s = level * hp * std::exp(-t * 70.0);
        a.left[at + i] += 0.6 * s;
        a.right[at + i] += 1.0 * s;
    }
}

void AddBassNote(StereoAudio& a, std::size_t at, std::size_t len, double freq, double rate)
{
    double phase = 0.0, lp = 0.0;
    for (std::size_t i = 0; i < len && at + i < a.Frames(); ++i) {
        double t = static_cast<double>(i) / rate;
        phase += freq / rate;
        phase -= std::floor(phase);
        double saw = 2.0 * phase - 1.0;
        double cutoff = 0.04 + 0.10 * std::exp(-t * 9.0);
        lp += cutoff * (saw - lp);
        double env = std::min(1.0, t * 400.0) * std::exp(-t * 2.5);
        double release = std::min(1.0, static_cast<double>(len - i) / (0.01 * rate));
        double s = 0.45 * lp * env * release;
        a.left[at + i] += s;
        a.right[at + i] += s;
    }
}

} // namespace

//------------------------------------------------------------------------
StereoAudio MakeDemo(double rate)
{
    const double beat = 0.5;  // 120 BPM
    const int bars = 4;
    StereoAudio a;
    a.sampleRate = rate;
    auto frames = static_cast<std::size_t>(bars * 4 * beat * rate + rate * 0.5);
    a.left.assign(frames, 0.0);
    a.right.assign(frames, 0.0);
    Noise noise;
    auto at = [&](double beats) { return static_cast<std::size_t>(beats * beat * rate); };

    // Bass line in A: root, octave, fifth, minor seventh, one note per eighth.
    const double notes[8] = {55.0, 55.0, 110.0, 55.0, 82.41, 55.0, 98.0, 73.42};
    for (int bar = 0; bar < bars; ++bar) {
        double b0 = bar * 4.0;
        AddKick(a, at(b0), rate);
        AddKick(a, at(b0 + 2.0), rate);
        if (bar % 2 == 1)
            AddKick(a, at(b0 + 2.5), rate);
        AddSnare(a, at(b0 + 1.0), rate, noise);
        AddSnare(a, at(b0 + 3.0), rate, noise);
        for (int e = 0; e < 8; ++e) {
            AddHat(a, at(b0 + e * 0.5), rate, noise, e % 2 ? 0.12 : 0.2);
            double f = notes[e] * (bar == 3 && e >= 4 ? 1.1892 : 1.0);
            AddBassNote(a, at(b0 + e * 0.5), at(0.45), f, rate);
        }
    }
    // Scale to a -3 dBFS peak.
    double peak = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
        peak = std::max({peak, std::fabs(a.left[i]), std::fabs(a.right[i])});
    double gain = peak > 0.0 ? 0.7079 / peak : 1.0;
    for (std::size_t i = 0; i < frames; ++i) {
        a.left[i] *= gain;
        a.right[i] *= gain;
    }
    return a;
}

} // namespace render
