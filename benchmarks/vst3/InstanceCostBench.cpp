// What a large session pays for instances that are loaded but not playing,
// measured from outside on the built bundle, the way a host drives it:
// create, initialise, arrange buses, set up processing at 44.1 kHz / 512
// and activate, then wait. The host offers no run loop, so the plug-in ticks
// on a timer thread of its own (hosts that run headless).
//
// Figures are process CPU time (every thread of the process), so timer
// threads and anything the instances do in the background count.
#include "vst3/host/HostModule.h"
#include "vst3/host/HostPlugin.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using tarvo::host::HostModule;
using tarvo::host::HostPlugin;

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The calling thread's own CPU time: the host's thread, which only sleeps
// while idle cost is measured.
double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double WallSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Creates, initialises, sets up and activates one instance as a headless
// host does; null on failure (error set).
std::unique_ptr<HostPlugin> MakeInstance(HostModule& module, std::string* error)
{
    auto plug = std::make_unique<HostPlugin>("bench", false);
    if (!plug->Create(module.Factory(), error) || !plug->Prepare(44100.0, 512, false, false, false, error))
        return nullptr;
    return plug;
}

struct Bundle {
    HostModule module;
    bool loaded = false;
    double firstInstanceCpu = 0.0;  // the first instance pays for decoding the editor art
};

// The module, loaded once per process, with the cost of its first instance.
Bundle& LoadedBundle()
{
    static Bundle bundle;
    static bool tried = false;
    if (!tried) {
        tried = true;
        // TARVO_BENCH_BUNDLE names another bundle to compare (an older build).
        const char* other = std::getenv("TARVO_BENCH_BUNDLE");
        bundle.loaded = bundle.module.Load(other != nullptr && other[0] != '\0' ? other : TARVO_BUNDLE);
        if (bundle.loaded) {
            std::string error;
            double cpu = ProcessCpuSeconds();
            auto first = MakeInstance(bundle.module, &error);
            bundle.firstInstanceCpu = ProcessCpuSeconds() - cpu;
        }
    }
    return bundle;
}

//------------------------------------------------------------------------
void BM_FirstInstanceSetup(benchmark::State& state)
{
    Bundle& bundle = LoadedBundle();
    if (!bundle.loaded) {
        state.SkipWithError(bundle.module.Error().c_str());
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(bundle.firstInstanceCpu);
    state.counters["cpu_ms"] = 1e3 * bundle.firstInstanceCpu;
}

//------------------------------------------------------------------------
void BM_InstanceSetup(benchmark::State& state)
{
    Bundle& bundle = LoadedBundle();
    if (!bundle.loaded) {
        state.SkipWithError(bundle.module.Error().c_str());
        return;
    }
    const auto count = static_cast<std::size_t>(state.range(0));
    double cpuTotal = 0.0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<HostPlugin>> plugs;
        plugs.reserve(count);
        std::string error;
        double cpu = ProcessCpuSeconds();
        for (std::size_t i = 0; i < count; ++i) {
            plugs.push_back(MakeInstance(bundle.module, &error));
            if (!plugs.back()) {
                state.SkipWithError(error.c_str());
                return;
            }
        }
        double spent = ProcessCpuSeconds() - cpu;
        cpuTotal += spent;
        state.SetIterationTime(spent);
        plugs.clear();
    }
    state.counters["cpu_ms_per_instance"] =
        1e3 * cpuTotal / (static_cast<double>(state.iterations()) * static_cast<double>(count));
}

//------------------------------------------------------------------------
void BM_IdleCost(benchmark::State& state)
{
    Bundle& bundle = LoadedBundle();
    if (!bundle.loaded) {
        state.SkipWithError(bundle.module.Error().c_str());
        return;
    }
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<std::unique_ptr<HostPlugin>> plugs;
    std::string error;
    for (std::size_t i = 0; i < count; ++i) {
        plugs.push_back(MakeInstance(bundle.module, &error));
        if (!plugs.back()) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    // Past the opening banner (200 ticks of 8 ms) and the first settling.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));

    double cpuTotal = 0.0;
    double hostCpuTotal = 0.0;
    double wallTotal = 0.0;
    for (auto _ : state) {
        double cpu = ProcessCpuSeconds();
        double hostCpu = ThreadCpuSeconds();
        double wall = WallSeconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(2000));
        double spentCpu = ProcessCpuSeconds() - cpu;
        hostCpuTotal += ThreadCpuSeconds() - hostCpu;
        wallTotal += WallSeconds() - wall;
        cpuTotal += spentCpu;
        state.SetIterationTime(spentCpu);
    }
    // Share of one core, in percent, per idle instance: the whole process,
    // and without this sleeping host thread (on these virtual machines its
    // one wake-up alone was seen to cost from 0.05 to over 1 ms).
    state.counters["core_pct_per_instance"] = 100.0 * cpuTotal / wallTotal / static_cast<double>(count);
    state.counters["plugin_core_pct_per_instance"] =
        100.0 * (cpuTotal - hostCpuTotal) / wallTotal / static_cast<double>(count);
    plugs.clear();
}

BENCHMARK(BM_FirstInstanceSetup)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstanceSetup)
    ->ArgName("instances")
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleCost)
    ->ArgName("instances")
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
