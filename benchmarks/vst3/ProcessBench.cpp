// process() through the host interfaces. The gain bundle does almost no DSP,
// so its figures are the binding's own overhead per block (parameter queue,
// routing, 32-bit conversion); the Tarvo bundle gives the whole plug-in.
#include "vst3/host/HostModule.h"
#include "vst3/host/HostPlugin.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

template <typename T>
void RunProcess(benchmark::State& state, const char* bundle)
{
    const int block = static_cast<int>(state.range(0));
    static tarvo::host::HostModule* module = nullptr;
    static std::string loaded;
    if (loaded != bundle) {
        delete module;
        module = new tarvo::host::HostModule;
        module->Load(bundle);
        loaded = bundle;
    }
    tarvo::host::HostPlugin plug("bench", true);
    std::string error;
    if (!plug.Create(module->Factory(), &error) || !plug.Prepare(44100.0, block, sizeof(T) == 8, false, false, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (int i = 0; i < 300; ++i)
        plug.loop.Tick();  // settle
    std::vector<std::vector<T>> in(2, std::vector<T>(static_cast<std::size_t>(block)));
    std::vector<std::vector<T>> out(2, std::vector<T>(static_cast<std::size_t>(block)));
    for (int i = 0; i < block; ++i)
        in[0][static_cast<std::size_t>(i)] = in[1][static_cast<std::size_t>(i)] =
            static_cast<T>(0.5 * std::sin(0.05 * i));
    std::vector<T*> inPtr{in[0].data(), in[1].data()}, outPtr{out[0].data(), out[1].data()}, none;
    tarvo::host::ParameterChanges changes;
    changes.Add(0, 0.6);  // one automated parameter per block, as a host sends it
    for (auto _ : state) {
        plug.Process<T>(inPtr, none, outPtr, block, &changes);
        benchmark::DoNotOptimize(out[0][0]);
    }
    state.SetItemsProcessed(state.iterations() * block);
}

void BM_GainBinding32(benchmark::State& s) { RunProcess<float>(s, GAIN_BUNDLE); }
void BM_GainBinding64(benchmark::State& s) { RunProcess<double>(s, GAIN_BUNDLE); }
void BM_Tarvo32(benchmark::State& s) { RunProcess<float>(s, TARVO_BUNDLE); }
void BM_Tarvo64(benchmark::State& s) { RunProcess<double>(s, TARVO_BUNDLE); }

BENCHMARK(BM_GainBinding32)->Arg(64)->Arg(512);
BENCHMARK(BM_GainBinding64)->Arg(64)->Arg(512);
BENCHMARK(BM_Tarvo32)->Arg(512);
BENCHMARK(BM_Tarvo64)->Arg(512);

} // namespace

BENCHMARK_MAIN();
