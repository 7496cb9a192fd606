#pragma once
// One equivalence scenario (rate, Juice, style, sidechain) and the block
// loop that renders it on any engine type with Ostrand's interface: set up
// as a host does, fixed noise seed, a few seconds of a music-like signal.
#include "engine/ostrand/OstrandParams.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

namespace ostrand_scenario {

struct Scenario {
    int rate = 44100;
    int juice = 1;
    bool clear = false;
    bool sidechain = false;
    double seconds = 2.0;
};

struct Output {
    std::vector<double> left;
    std::vector<double> right;
};

// Tones and a hash-based hiss under a beat envelope that falls silent for
// a while (so the engine also sleeps and wakes); the sidechain is a
// kick-like burst. Deterministic and identical on every platform.
inline void MusicLike(int rate, double seconds, std::vector<double> (&ch)[4])
{
    const std::size_t n = static_cast<std::size_t>(rate * seconds);
    for (auto& c : ch)
        c.assign(n, 0.0);
    uint32_t hash = 12345u;
    auto hiss = [&hash] {
        hash = hash * 1664525u + 1013904223u;
        return static_cast<double>(hash >> 8) / 16777216.0 - 0.5;
    };
    const double tones[] = {55.0, 110.0, 220.5, 331.0, 440.0, 662.0, 1320.0, 2637.0};
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double env = std::exp(-std::fmod(t * 2.0, 1.0) * 6.0);
        double tone = 0.0;
        for (int k = 0; k < 8; ++k)
            tone += std::sin(2.0 * std::numbers::pi * tones[k] * t + k) / (k + 1);
        const double gate = (t > 0.9 && t < 1.3) ? 0.0 : 1.0; // a silent gap
        const double h = hiss() * 0.1 * (0.3 + env) * gate;
        ch[0][i] = gate * 0.25 * tone * (0.4 + 0.6 * env) + h;
        ch[1][i] = gate * 0.2 * tone * (0.4 + 0.6 * env) - h;
        ch[2][i] = env * hiss() * 0.6;
        ch[3][i] = ch[2][i] * 0.7;
    }
}

template <class Plug>
void SetPlain(Plug& plug, int idx, double plain)
{
    plug.GetParam(idx)->SetPlain(plain);
    plug.ParamChanged(idx);
}

struct Signal {
    std::vector<double> ch[4]; // main left, right, sidechain left, right
};

inline Signal SignalFor(const Scenario& s)
{
    Signal signal;
    MusicLike(s.rate, s.seconds, signal.ch);
    return signal;
}

// Renders the scenario on its signal (SignalFor), which it leaves unchanged.
template <class Plug>
Output Render(const Scenario& s, const Signal& signal)
{
    Signal copy = signal; // the engine may process in place
    auto& ch = copy.ch;
    auto owner = std::make_unique<Plug>();
    Plug& plug = *owner;
    plug.SetSampleRate(s.rate);
    plug.ResetProcessing();
    plug.SeedNoise(1234u);
    SetPlain(plug, kParamJuice, s.juice);
    SetPlain(plug, kParamOversampleMode, s.clear ? 1.0 : 0.0);
    SetPlain(plug, kParamExtSidechain, s.sidechain ? 1.0 : 0.0);
    SetPlain(plug, kParamStrength, 4.0);
    SetPlain(plug, kParamAngle, -70.0);
    for (int i = 0; i < 210; ++i)
        plug.IdleTick();

    Output out;
    const std::size_t n = ch[0].size();
    out.left.assign(n, 0.0);
    out.right.assign(n, 0.0);
    constexpr std::size_t kBlock = 512;
    for (std::size_t pos = 0; pos < n; pos += kBlock) {
        // Glides and the invert switch change while audio runs.
        if (pos == n / 4) {
            SetPlain(plug, kParamAttack, 3.0);
            SetPlain(plug, kParamRelease, 40.0);
            SetPlain(plug, kParamAngle, 35.0);
        }
        if (pos == n / 2)
            SetPlain(plug, kParamInvertEnvelope, 1.0);
        const int frames = static_cast<int>(std::min(kBlock, n - pos));
        double* in[4] = {&ch[0][pos], &ch[1][pos], &ch[2][pos], &ch[3][pos]};
        double* o[2] = {&out.left[pos], &out.right[pos]};
        plug.RenderBlock(in, o, frames);
    }
    return out;
}

} // namespace ostrand_scenario
