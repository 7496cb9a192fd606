// Realtime factor of Ostrand::RenderBlock on ten seconds of a music-like
// signal (tones and noise under a beat-like envelope), per Juice setting,
// filter style and sample rate, with and without the sidechain; the share
// of one core an instance takes; and the memory one instance holds.
#include "engine/ostrand/Ostrand.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr int kBlock = 512;

struct Signal {
    std::vector<double> ch[4]; // main left, right, sidechain left, right
};

Signal MusicLike(double rate, double seconds)
{
    const std::size_t n = static_cast<std::size_t>(rate * seconds);
    Signal s;
    for (auto& c : s.ch)
        c.resize(n);
    std::mt19937 gen(11u);
    std::normal_distribution<double> noise(0.0, 1.0);
    const double tones[] = {55.0, 110.0, 220.5, 331.0, 440.0, 662.0, 1320.0, 2637.0};
    for (std::size_t i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / rate;
        double beat = std::fmod(t * 2.0, 1.0);  // 120 beats per minute
        double env = std::exp(-beat * 6.0);
        double tone = 0.0;
        for (int k = 0; k < 8; ++k)
            tone += std::sin(2.0 * std::numbers::pi * tones[k] * t + k) / (k + 1);
        double hiss = noise(gen) * 0.05 * (0.3 + env);
        s.ch[0][i] = 0.25 * tone * (0.4 + 0.6 * env) + hiss;
        s.ch[1][i] = 0.25 * tone * (0.4 + 0.6 * env) * 0.8 - hiss;
        s.ch[2][i] = env * noise(gen) * 0.3; // a kick-like sidechain
        s.ch[3][i] = s.ch[2][i];
    }
    return s;
}

const Signal& SignalFor(double rate)
{
    static std::unique_ptr<Signal> cache[3];
    int slot = rate == 44100.0 ? 0 : rate == 48000.0 ? 1 : 2;
    if (!cache[slot])
        cache[slot] = std::make_unique<Signal>(MusicLike(rate, 10.0));
    return *cache[slot];
}

void SetPlain(Ostrand& plug, int idx, double value)
{
    plug.GetParam(idx)->SetPlain(value);
    plug.ParamChanged(idx);
}

// Args: rate, Juice, style, sidechain.
void BM_RenderBlock(benchmark::State& state)
{
    const double rate = static_cast<double>(state.range(0));
    const Signal& sig = SignalFor(rate);
    auto plug = std::make_unique<Ostrand>();
    plug->SetSampleRate(rate);
    plug->ResetProcessing();
    SetPlain(*plug, kParamJuice, static_cast<double>(state.range(1)));
    SetPlain(*plug, kParamOversampleMode, static_cast<double>(state.range(2)));
    SetPlain(*plug, kParamExtSidechain, static_cast<double>(state.range(3)));
    SetPlain(*plug, kParamStrength, 4.0);
    SetPlain(*plug, kParamAngle, -70.0);
    for (int i = 0; i < 210; ++i)
        plug->IdleTick();

    const std::size_t n = sig.ch[0].size();
    std::vector<double> outL(kBlock), outR(kBlock);
    double seconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (std::size_t pos = 0; pos < n; pos += kBlock) {
            int frames = static_cast<int>(std::min<std::size_t>(kBlock, n - pos));
            double* in[4] = {const_cast<double*>(&sig.ch[0][pos]), const_cast<double*>(&sig.ch[1][pos]),
                             const_cast<double*>(&sig.ch[2][pos]), const_cast<double*>(&sig.ch[3][pos])};
            double* out[2] = {outL.data(), outR.data()};
            plug->RenderBlock(in, out, frames);
            benchmark::DoNotOptimize(outL.data());
        }
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    const double audio = static_cast<double>(n) / rate * static_cast<double>(state.iterations());
    state.counters["realtime_x"] = audio / seconds;
}

void RenderArgs(benchmark::internal::Benchmark* b)
{
    for (int rate : {44100, 48000, 96000})
        for (int sidechain : {0, 1})
            for (int style : {0, 1})
                for (int juice = 0; juice <= 5; ++juice)
                    b->Args({rate, juice, style, sidechain});
    b->ArgNames({"rate", "juice", "clear", "sc"});
    b->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_RenderBlock)->Apply(RenderArgs);

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The figure a producer reads off a host's meter: the share of one core an
// instance takes while playing, in percent (CPU time over audio time), for
// the settings a fresh instance opens with (Juice 1 "Regular") and for
// Juice 5 "Clear". Args: rate, setting (0 default, 1 Juice 5 "Clear").
void BM_CorePercent(benchmark::State& state)
{
    const double rate = static_cast<double>(state.range(0));
    const Signal& sig = SignalFor(rate);
    auto plug = std::make_unique<Ostrand>();
    plug->SetSampleRate(rate);
    plug->ResetProcessing();
    if (state.range(1) == 1) {
        SetPlain(*plug, kParamJuice, 5.0);
        SetPlain(*plug, kParamOversampleMode, 1.0);
    }
    for (int i = 0; i < 210; ++i)
        plug->IdleTick();

    const std::size_t n = sig.ch[0].size();
    std::vector<double> outL(kBlock), outR(kBlock);
    double cpu = 0.0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        for (std::size_t pos = 0; pos < n; pos += kBlock) {
            int frames = static_cast<int>(std::min<std::size_t>(kBlock, n - pos));
            double* in[4] = {const_cast<double*>(&sig.ch[0][pos]), const_cast<double*>(&sig.ch[1][pos]),
                             const_cast<double*>(&sig.ch[2][pos]), const_cast<double*>(&sig.ch[3][pos])};
            double* out[2] = {outL.data(), outR.data()};
            plug->RenderBlock(in, out, frames);
            benchmark::DoNotOptimize(outL.data());
        }
        const double spent = ThreadCpuSeconds() - start;
        state.SetIterationTime(spent);
        cpu += spent;
    }
    const double audio = static_cast<double>(n) / rate * static_cast<double>(state.iterations());
    state.counters["core_pct"] = 100.0 * cpu / audio;
    state.counters["realtime_x"] = audio / cpu;
}
BENCHMARK(BM_CorePercent)
    ->ArgNames({"rate", "juice5clear"})
    ->ArgsProduct({{44100, 48000, 96000}, {0, 1}})
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Resident pages of the process, in bytes.
double ResidentBytes()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * 4096.0;
}

// Memory one instance holds once it is set up for processing: heap in use
// (malloc's view), and resident memory, which also counts the large
// buffers taken from the system directly and leaves out what no one touched.
void BM_InstanceMemory(benchmark::State& state)
{
    for (auto _ : state) {
        struct mallinfo2 before = mallinfo2();
        const double residentBefore = ResidentBytes();
        auto plug = std::make_unique<Ostrand>();
        plug->SetSampleRate(static_cast<double>(state.range(0)));
        plug->ResetProcessing();
        for (int i = 0; i < 5; ++i)
            plug->IdleTick();
        struct mallinfo2 after = mallinfo2();
        double bytes = static_cast<double>((after.uordblks + after.hblkhd) - (before.uordblks + before.hblkhd));
        state.counters["MiB"] = bytes / (1024.0 * 1024.0);
        state.counters["resident_MiB"] = (ResidentBytes() - residentBefore) / (1024.0 * 1024.0);
        benchmark::DoNotOptimize(plug.get());
    }
}
BENCHMARK(BM_InstanceMemory)->Arg(44100)->Arg(96000)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
