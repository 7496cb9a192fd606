// Speed of the DSP blocks: the FFT against FFTW, the rotator, block against
// direct convolution of the longest oversampling table, and the envelopes.
#include "engine/dsp/ComplexFft.h"
#include "engine/dsp/EnvelopeFollower.h"
#include "engine/dsp/FirTables.h"
#include "engine/dsp/NoiseSource.h"
#include "engine/dsp/ResampleBlockFir.h"
#include "engine/dsp/ResampleBlockFirPair.h"
#include "engine/dsp/SpectralRotator.h"
#include "engine/dsp/SpectralRotatorPair.h"
#include "engine/dsp/TransientEnvelope.h"
#include "engine/dsp/TransientEnvelopePair.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<double> Noise(size_t count)
{
    std::mt19937 gen(1);
    std::uniform_real_distribution<double> dist(-0.5, 0.5);
    std::vector<double> v(count);
    for (double& x : v)
        x = dist(gen);
    return v;
}

// Reports the time per processed sample (or per transform point).
void PerSample(benchmark::State& state, int64_t samplesPerIteration)
{
    state.counters["per_sample"] = benchmark::Counter(
        static_cast<double>(samplesPerIteration),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void OurFft(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ComplexFft fft(n);
    std::vector<double> data = Noise(2 * static_cast<size_t>(n));
    for (auto _ : state)
    {
        fft.Forward(data.data());
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    PerSample(state, n);
}

// The forward transform that leaves the bins bit-reversed (what the paired
// rotator runs).
void OurFftBitReversed(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ComplexFft fft(n);
    std::vector<double> data = Noise(2 * static_cast<size_t>(n));
    for (auto _ : state)
    {
        fft.ForwardToBitReversed(data.data());
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
    PerSample(state, n);
}

void Fftw(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    fftw_complex* data = fftw_alloc_complex(static_cast<size_t>(n));
    fftw_plan plan = fftw_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_MEASURE);
    const std::vector<double> init = Noise(2 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
    {
        data[i][0] = init[2 * static_cast<size_t>(i)];
        data[i][1] = init[2 * static_cast<size_t>(i) + 1];
    }
    for (auto _ : state)
    {
        fftw_execute(plan);
        benchmark::DoNotOptimize(data);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(data);
    PerSample(state, n);
}

void Rotator(benchmark::State& state)
{
    SpectralRotator r;
    r.SetSize(static_cast<int>(state.range(0)));
    r.SetPhase(std::cos(-1.0), std::sin(-1.0));
    const std::vector<double> in = Noise(16384);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (double v : in)
        {
            r.ProcessSample(v);
            sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, static_cast<int64_t>(in.size()));
}

// Mid and side through one pair; counted per stream sample, so the figure
// compares with Rotator directly (two single rotators cost twice Rotator).
void RotatorPair(benchmark::State& state)
{
    SpectralRotatorPair r;
    r.SetSize(static_cast<int>(state.range(0)));
    r.SetPhase(std::cos(-1.0), std::sin(-1.0));
    const std::vector<double> in = Noise(16384);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (size_t i = 0; i + 1 < in.size(); ++i)
        {
            double m = in[i], s = in[i + 1];
            r.ProcessPair(m, s);
            sum += m + s;
        }
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, 2 * static_cast<int64_t>(in.size() - 1));
}

void BlockFir1774(benchmark::State& state)
{
    ResampleBlockFir fir;
    fir.Configure(512, 44100, 12);
    const std::vector<double> in = Noise(16384);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (double v : in)
            sum += fir.ProcessSample(v);
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, static_cast<int64_t>(in.size()));
}

// Two streams through one pair; counted per stream sample, so the figure
// compares with BlockFir1774 directly.
// Range 0 keeps the products to SSE2, range 1 lets them use AVX.
void BlockFirPair1774(benchmark::State& state)
{
    ResampleBlockFirPair pair;
    pair.Configure(512, 44100, 12);
    pair.AllowWideVectors(state.range(0) != 0);
    const std::vector<double> in = Noise(16384);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (size_t i = 0; i + 1 < in.size(); ++i)
        {
            double m = in[i], s = in[i + 1];
            pair.ProcessPair(m, s);
            sum += m + s;
        }
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, 2 * static_cast<int64_t>(in.size() - 1));
}

// The same table convolved directly, the way the short tables are run.
void DirectFir1774(benchmark::State& state)
{
    const FirTable t = BlockFirTable(44100, 12);
    const int len = t.length;
    std::vector<double> history(2 * static_cast<size_t>(len), 0.0);
    int index = len - 1;
    const std::vector<double> in = Noise(4096);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (double v : in)
        {
            history[static_cast<size_t>(index)] = history[static_cast<size_t>(index + len)] = v;
            const double* h = history.data() + index;
            double s0 = 0.0, s1 = 0.0;
            for (int j = 0; j + 1 < len; j += 2)
            {
                s0 += t.taps[j] * h[j];
                s1 += t.taps[j + 1] * h[j + 1];
            }
            sum += s0 + s1;
            index = index == 0 ? len - 1 : index - 1;
        }
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, static_cast<int64_t>(in.size()));
}

void Transient(benchmark::State& state)
{
    const bool simple = state.range(0) != 0;
    TransientEnvelope t;
    t.Configure(88200);
    const std::vector<double> in = Noise(16384);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (double v : in)
        {
            if (simple)
                t.ProcessSampleSimple(v, true);
            else
                t.ProcessSample(v, 0.3, 2.0, true);
            sum += v;
        }
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, static_cast<int64_t>(in.size()));
}

// Mid and side detectors per (mid, side) sample: two single detectors
// (range 0) against the two-lane pair (range 1).
void TransientMidSide(benchmark::State& state)
{
    const bool paired = state.range(0) != 0;
    TransientEnvelope mid, side;
    TransientEnvelopePair pair;
    mid.Configure(88200);
    side.Configure(88200);
    pair.Configure(88200);
    const std::vector<double> in = Noise(2 * 16384);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (size_t i = 0; i < in.size(); i += 2)
        {
            double m = in[i];
            double s = in[i + 1];
            if (paired)
            {
                pair.ProcessPair(m, s, 0.3, -0.2, 2.0, true);
            }
            else
            {
                mid.ProcessSample(m, 0.3, 2.0, true);
                side.ProcessSample(s, -0.2, 2.0, true);
            }
            sum += m + s;
        }
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, static_cast<int64_t>(in.size() / 2));
}

// The detector noise as the engine draws it at Juice 5: coloured method-3
// pairs in batches of 12 at 529200 Hz, per pair. Range 0 keeps the
// generator to SSE2, range 1 lets it use AVX2.
void DetectorNoise(benchmark::State& state)
{
    NoiseSource noise(3, -148.5, true);
    noise.SetRate(529200);
    noise.Seed(1u);
    noise.AllowWideVectors(state.range(0) != 0);
    double a[12], b[12];
    constexpr int kBatches = 1024;
    for (auto _ : state)
    {
        double sum = 0.0;
        for (int i = 0; i < kBatches; ++i)
        {
            noise.NextPairs(a, b, 12);
            sum += a[0] + b[11];
        }
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, 12 * kBatches);
}

void Follower(benchmark::State& state)
{
    EnvelopeFollower f;
    f.SetTimes(5.0, 500.0, 88200);
    const std::vector<double> in = Noise(16384);
    for (auto _ : state)
    {
        double sum = 0.0;
        for (double v : in)
            sum += f.ProcessSample(v, 0.3, 2.0);
        benchmark::DoNotOptimize(sum);
    }
    PerSample(state, static_cast<int64_t>(in.size()));
}

} // namespace

BENCHMARK(OurFft)->RangeMultiplier(2)->Range(512, 8192);
BENCHMARK(OurFftBitReversed)->RangeMultiplier(2)->Range(512, 8192);
BENCHMARK(Fftw)->RangeMultiplier(2)->Range(512, 8192);
BENCHMARK(Rotator)->Arg(1024)->Arg(2048)->Arg(4096);
BENCHMARK(RotatorPair)->Arg(1024)->Arg(2048)->Arg(4096);
BENCHMARK(BlockFir1774);
BENCHMARK(BlockFirPair1774)->ArgName("wide")->Arg(0)->Arg(1);
BENCHMARK(DirectFir1774);
BENCHMARK(Transient)->ArgName("simple")->Arg(0)->Arg(1);
BENCHMARK(TransientMidSide)->ArgName("paired")->Arg(0)->Arg(1);
BENCHMARK(DetectorNoise)->ArgName("wide")->Arg(0)->Arg(1);
BENCHMARK(Follower);

BENCHMARK_MAIN();
