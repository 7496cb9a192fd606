#pragma once
// Shared helpers of the Ostrand tests: a ready-to-run instance, block-wise
// rendering and test signals.
#include "engine/ostrand/Ostrand.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace ostrand_test {

struct Stereo {
    std::vector<double> left;
    std::vector<double> right;
};

// Sets a parameter by its plain value, as the host's automation would.
inline void SetPlain(Ostrand& plug, int idx, double plain)
{
    plug.GetParam(idx)->SetPlain(plain);
    plug.ParamChanged(idx);
}

// Runs the timer until the engine is past its opening banner with every
// structure, style and latency change applied.
inline void Settle(Ostrand& plug, int ticks = 210)
{
    for (int i = 0; i < ticks; ++i)
        plug.IdleTick();
}

// An instance at the rate, set up the way a host sets one up, with a fixed
// noise seed and settled after its first run.
inline std::unique_ptr<Ostrand> MakeReady(double rate)
{
    auto plug = std::make_unique<Ostrand>();
    plug->SetSampleRate(rate);
    plug->ResetProcessing();
    plug->SeedNoise(1234u);
    Settle(*plug);
    return plug;
}

// Renders in blocks of blockSize; the sidechain is silent unless given.
inline Stereo Render(Ostrand& plug, const Stereo& in, const Stereo* sidechain = nullptr, int blockSize = 512)
{
    const std::size_t n = in.left.size();
    Stereo out{std::vector<double>(n), std::vector<double>(n)};
    std::vector<double> silence(n, 0.0);
    for (std::size_t pos = 0; pos < n; pos += static_cast<std::size_t>(blockSize)) {
        int frames = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(blockSize), n - pos));
        double* inputs[4] = {const_cast<double*>(in.left.data() + pos), const_cast<double*>(in.right.data() + pos),
                             sidechain ? const_cast<double*>(sidechain->left.data() + pos) : silence.data() + pos,
                             sidechain ? const_cast<double*>(sidechain->right.data() + pos) : silence.data() + pos};
        double* outputs[2] = {out.left.data() + pos, out.right.data() + pos};
        plug.RenderBlock(inputs, outputs, frames);
    }
    return out;
}

inline Stereo Noise(std::size_t n, double level, std::uint32_t seed = 7u)
{
    std::mt19937 gen(seed);
    std::normal_distribution<double> dist(0.0, level);
    Stereo s{std::vector<double>(n), std::vector<double>(n)};
    for (std::size_t i = 0; i < n; ++i) {
        s.left[i] = dist(gen);
        s.right[i] = dist(gen);
    }
    return s;
}

inline Stereo Sine(std::size_t n, double freq, double rate, double level, double rightPhase = 0.0)
{
    Stereo s{std::vector<double>(n), std::vector<double>(n)};
    const double w = 2.0 * 3.14159265358979323846 * freq / rate;
    for (std::size_t i = 0; i < n; ++i) {
        s.left[i] = level * std::sin(w * static_cast<double>(i));
        s.right[i] = level * std::sin(w * static_cast<double>(i) + rightPhase);
    }
    return s;
}

inline double Rms(const std::vector<double>& x, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += x[i] * x[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

} // namespace ostrand_test
