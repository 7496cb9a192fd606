// Soak: long stretches of music-like audio (peaks at 0 dBFS, with quiet and
// silent passages where filters decay towards denormals) through one Ostrand
// instance per sample rate, every parameter set at random every few seconds
// and Juice cycled through all its settings, the idle timer ticking every
// 8 ms of audio. Reports, per rate: realtime factor, the output's peak, any
// sample that is not finite, how far block times stray from their segment's
// median (a denormal slowdown shows as slow blocks late in a segment or in
// quiet passages), and how much the heap and the resident set grew.
//
// TARVO_SOAK_SECONDS sets the seconds of audio per rate (default 900: one
// hour over the four rates).
#include "engine/ostrand/Ostrand.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr int kBlock = 512;

double SoakSeconds()
{
    const char* text = std::getenv("TARVO_SOAK_SECONDS");
    double s = text != nullptr ? std::atof(text) : 900.0;
    return s > 0.0 ? s : 900.0;
}

// Heap bytes in use and resident set, in MiB.
double HeapMiB()
{
    struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

double ResidentMiB()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Music-like stereo signal with a kick-like sidechain, made on the fly.
// Passages: 0 loud, 1 quiet (-60 dB), 2 digital silence.
class Music {
public:
    explicit Music(double rate) : mRate(rate), mGen(5u) {}
    void SetPassage(int passage) { mPassage = passage; }
    void Next(double& l, double& r, double& scl, double& scr)
    {
        static const double kTones[] = {55.0, 110.0, 220.5, 331.0, 440.0, 662.0, 1320.0, 2637.0};
        double t = static_cast<double>(mN++) / mRate;
        double beat = std::fmod(t * 2.0, 1.0);
        double env = std::exp(-beat * 6.0);
        double tone = 0.0;
        for (int k = 0; k < 8; ++k)
            tone += std::sin(2.0 * std::numbers::pi * kTones[k] * t + k) / (k + 1);
        double hiss = mNoise(mGen) * 0.05 * (0.3 + env);
        double gain = mPassage == 0 ? 1.0 : mPassage == 1 ? 0.001 : 0.0;
        // Peaks stay at or below 0 dBFS.
        l = std::clamp(gain * (0.36 * tone * (0.4 + 0.6 * env) + hiss), -1.0, 1.0);
        r = std::clamp(gain * (0.36 * tone * (0.4 + 0.6 * env) * 0.8 - hiss), -1.0, 1.0);
        scl = scr = std::clamp(gain * env * mNoise(mGen) * 0.3, -1.0, 1.0);
    }

private:
    double mRate;
    long mN = 0;
    int mPassage = 0;
    std::mt19937 mGen;
    std::normal_distribution<double> mNoise{0.0, 1.0};
};

// CPU time of this thread: block times unaffected by other programs
// share of the cores.
double ThreadSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::size_t k = std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())));
    std::nth_element(v.begin(), v.begin() + static_cast<long>(k), v.end());
    return v[k];
}

// Arg: sample rate.
void BM_Soak(benchmark::State& state)
{
    const double rate = static_cast<double>(state.range(0));
    const double seconds = SoakSeconds();
    std::mt19937 random(static_cast<unsigned>(state.range(0)));
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    for (auto _ : state) {
        auto plug = std::make_unique<Ostrand>();
        plug->SetSampleRate(rate);
        plug->ResetProcessing();
        for (int i = 0; i < 260; ++i)
            plug->IdleTick();
        Music music(rate);
        const double heapStart = HeapMiB();
        double heapMax = heapStart, residentStart = 0.0, residentMax = 0.0;

        std::vector<double> inL(kBlock), inR(kBlock), scL(kBlock), scR(kBlock), outL(kBlock), outR(kBlock);
        const long total = static_cast<long>(seconds * rate);
        const int ticksEvery = std::max(1, static_cast<int>(0.008 * rate));
        long done = 0, sinceTick = 0;
        int segment = 0;
        double peak = 0.0, wall = 0.0;
        long nonFinite = 0;
        double worstTail = 0.0;   // p99 / median of block CPU times, worst segment
        double worstLate = 0.0;   // median of a segment's last quarter / its first quarter
        while (done < total) {
            // A new segment of 2 to 6 seconds with random settings; Juice
            // cycles through every setting in turn.
            for (int p = 0; p < kNumOstrandParams; ++p)
                plug->GetParam(p)->SetFromNormalized(unit(random));
            plug->GetParam(kParamJuice)->SetPlain(segment % 6);
            for (int p = 0; p < kNumOstrandParams; ++p)
                plug->ParamChanged(p);
            const double r = unit(random);
            const int passage = r < 0.7 ? 0 : r < 0.85 ? 1 : 2;
            music.SetPassage(passage);
            const long length = std::min(total - done, static_cast<long>((2.0 + 4.0 * unit(random)) * rate));
            std::vector<double> times;
            times.reserve(static_cast<std::size_t>(length / kBlock + 1));
            for (long pos = 0; pos < length; pos += kBlock) {
                const int frames = static_cast<int>(std::min<long>(kBlock, length - pos));
                for (int i = 0; i < frames; ++i)
                    music.Next(inL[static_cast<std::size_t>(i)], inR[static_cast<std::size_t>(i)],
                               scL[static_cast<std::size_t>(i)], scR[static_cast<std::size_t>(i)]);
                double* in[4] = {inL.data(), inR.data(), scL.data(), scR.data()};
                double* out[2] = {outL.data(), outR.data()};
                const double start = ThreadSeconds();
                plug->RenderBlock(in, out, frames);
                const double t = ThreadSeconds() - start;
                wall += t;
                times.push_back(t / frames * kBlock);
                for (int i = 0; i < frames; ++i) {
                    for (double v : {outL[static_cast<std::size_t>(i)], outR[static_cast<std::size_t>(i)]}) {
                        if (!std::isfinite(v))
                            ++nonFinite;
                        else
                            peak = std::max(peak, std::fabs(v));
                    }
                }
                sinceTick += frames;
                while (sinceTick >= ticksEvery) {
                    sinceTick -= ticksEvery;
                    plug->IdleTick();
                }
            }
            done += length;
            // Skip the segment's first second: the new settings reconfigure
            // the engine there.
            const std::size_t skip = std::min(times.size(), static_cast<std::size_t>(rate / kBlock));
            std::vector<double> settled(times.begin() + static_cast<long>(skip), times.end());
            // In digital silence the engine goes to sleep, so its block times
            // say nothing about slowdowns.
            if (settled.size() >= 40 && passage != 2) {
                double median = Median(settled);
                worstTail = std::max(worstTail, Percentile(settled, 0.99) / median);
                std::size_t q = settled.size() / 4;
                std::vector<double> first(settled.begin(), settled.begin() + static_cast<long>(q));
                std::vector<double> last(settled.end() - static_cast<long>(q), settled.end());
                worstLate = std::max(worstLate, Median(last) / Median(first));
            }
            if (segment == 2)
                residentStart = ResidentMiB();
            heapMax = std::max(heapMax, HeapMiB());
            residentMax = std::max(residentMax, ResidentMiB());
            ++segment;
        }
        state.SetIterationTime(wall);
        state.counters["audio_s"] = seconds;
        state.counters["realtime_x"] = seconds / wall;
        state.counters["segments"] = segment;
        state.counters["peak_dBFS"] = peak > 0.0 ? 20.0 * std::log10(peak) : -999.0;
        state.counters["non_finite"] = static_cast<double>(nonFinite);
        state.counters["p99_over_median"] = worstTail;
        state.counters["late_over_early"] = worstLate;
        state.counters["heap_growth_MiB"] = heapMax - heapStart;
        state.counters["rss_growth_MiB"] = residentStart > 0.0 ? residentMax - residentStart : 0.0;
    }
}
BENCHMARK(BM_Soak)->Arg(44100)->Arg(48000)->Arg(96000)->Arg(192000)->ArgName("rate")->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
