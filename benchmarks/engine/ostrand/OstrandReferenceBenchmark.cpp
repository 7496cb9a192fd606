// The optimised engine and the previous straightforward code (the
// equivalence test's reference) on the same ten seconds of the test's
// music-like signal, alternately, so that both see the same machine load.
// Counter: realtime factor from CPU time (signal generation excluded).
#include "engine/ostrand/Ostrand.h"
#include "tests/engine/ostrand/reference/ReferenceRender.h"

#include <benchmark/benchmark.h>

namespace {

// Args: rate, Juice, style, sidechain; the first of a pair is the
// reference, the second the optimised engine.
void Run(benchmark::State& state, bool optimised)
{
    const ostrand_scenario::Scenario s{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                       state.range(2) != 0, state.range(3) != 0, 10.0};
    const ostrand_scenario::Signal signal = ostrand_scenario::SignalFor(s);
    for (auto _ : state) {
        auto out = optimised ? ostrand_scenario::Render<Ostrand>(s, signal) : RenderWithReference(s, signal);
        benchmark::DoNotOptimize(out.left.data());
    }
    state.counters["realtime_x"] =
        benchmark::Counter(s.seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Reference(benchmark::State& state) { Run(state, false); }
void BM_Optimised(benchmark::State& state) { Run(state, true); }

void Args(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"rate", "juice", "clear", "sc"});
    for (auto args : {std::vector<int64_t>{44100, 1, 0, 0}, {44100, 1, 1, 0}, {44100, 5, 0, 0}, {44100, 5, 1, 0}})
        b->Args(args);
    b->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_Reference)->Apply(Args);
BENCHMARK(BM_Optimised)->Apply(Args);

} // namespace

BENCHMARK_MAIN();
