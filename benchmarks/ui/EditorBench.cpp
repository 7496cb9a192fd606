// The plug-in's editor on the headless surface: what one draw tick costs
// while audio keeps the meters moving, what building the editor costs (the
// first build in a process reads the PNG headers of the art), what the first
// full draw costs (it decodes the art it shows; later editors share it), and
// how much memory one instance's editor holds.
#include "editor/headless/IEditorSurfaceHeadless.h"
#include "engine/ostrand/Ostrand.h"
#include "raster/RasterLazyPngBitmap.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<Ostrand> ReadyPlug()
{
    auto plug = std::make_unique<Ostrand>();
    plug->SetSampleRate(44100.0);
    plug->ResetProcessing();
    auto* surface = static_cast<IEditorSurface*>(plug->EditorSurface());
    for (int i = 0; i < 220; ++i) {
        plug->IdleTick();
        surface->TickAndRedraw();
    }
    return plug;
}

struct Audio {
    std::vector<double> l = std::vector<double>(512), r = std::vector<double>(512), sc = std::vector<double>(512),
                        outL = std::vector<double>(512), outR = std::vector<double>(512);
    long pos = 0;
    // One block of a swelling two-tone signal, so the meters keep moving.
    void Block(Ostrand& plug)
    {
        for (int i = 0; i < 512; ++i, ++pos) {
            const double env = 0.5 + 0.45 * std::sin(1e-4 * static_cast<double>(pos));
            l[static_cast<std::size_t>(i)] = env * std::sin(0.05 * static_cast<double>(pos));
            r[static_cast<std::size_t>(i)] = env * std::sin(0.031 * static_cast<double>(pos));
        }
        double* in[4] = {l.data(), r.data(), sc.data(), sc.data()};
        double* out[2] = {outL.data(), outR.data()};
        plug.RenderBlock(in, out, 512);
    }
};

// Heap bytes in use now, large blocks that malloc maps on their own included.
double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// First: the very first editor build of the process, art headers included.
// The instance is kept for the next case; the heap counter holds the
// instance and any art it made.
std::unique_ptr<Ostrand> gFirstPlug;

void BM_EditorBuildFirstInProcess(benchmark::State& state)
{
    double heap = 0.0;
    for (auto _ : state) {
        const double before = HeapInUse();
        gFirstPlug = std::make_unique<Ostrand>();
        benchmark::DoNotOptimize(gFirstPlug.get());
        heap = HeapInUse() - before;
    }
    state.counters["heap_bytes"] = heap;
    state.counters["images_decoded"] = static_cast<double>(RasterLazyPngBitmap::DecodesSoFar());
}
BENCHMARK(BM_EditorBuildFirstInProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// Second: the first full draw of an editor in the process, as on the first
// open of a window (every control dirty, one tick and its redraw), which
// decodes the art it shows; the heap counter holds what that draw left
// allocated.
void BM_FirstFullDrawInProcess(benchmark::State& state)
{
    double heap = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!gFirstPlug)
            gFirstPlug = std::make_unique<Ostrand>();
        auto* surface = static_cast<IEditorSurface*>(gFirstPlug->EditorSurface());
        const double before = HeapInUse();
        state.ResumeTiming();
        surface->MarkAllControlsDirty();
        surface->TickAndRedraw();
        state.PauseTiming();
        heap = HeapInUse() - before;
        gFirstPlug.reset();
        state.ResumeTiming();
    }
    state.counters["heap_bytes"] = heap;
    state.counters["images_decoded"] = static_cast<double>(RasterLazyPngBitmap::DecodesSoFar());
}
BENCHMARK(BM_FirstFullDrawInProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

// The editor build alone on an existing instance, art already decoded.
void BM_EditorBuild(benchmark::State& state)
{
    auto plug = std::make_unique<Ostrand>();
    for (auto _ : state)
        plug->BuildEditor();
}
BENCHMARK(BM_EditorBuild)->Unit(benchmark::kMillisecond);

// A whole plug-in instance with its editor (engine construction included).
void BM_InstanceWithEditor(benchmark::State& state)
{
    for (auto _ : state) {
        auto plug = std::make_unique<Ostrand>();
        benchmark::DoNotOptimize(plug.get());
    }
}
BENCHMARK(BM_InstanceWithEditor)->Unit(benchmark::kMillisecond);

// One draw tick (hand-over of the engine's state, then every dirty control
// redrawn) after a block of audio and a timer tick.
void BM_DrawTickOnAudio(benchmark::State& state)
{
    auto plug = ReadyPlug();
    auto* surface = static_cast<IEditorSurface*>(plug->EditorSurface());
    Audio audio;
    for (auto _ : state) {
        state.PauseTiming();
        audio.Block(*plug);
        plug->IdleTick();
        state.ResumeTiming();
        surface->TickAndRedraw();
    }
}
BENCHMARK(BM_DrawTickOnAudio)->Unit(benchmark::kMicrosecond);

// The worst tick: every one of the 78 controls dirty and redrawn.
void BM_DrawTickAllControls(benchmark::State& state)
{
    auto plug = ReadyPlug();
    auto* surface = static_cast<IEditorSurface*>(plug->EditorSurface());
    for (auto _ : state) {
        surface->MarkAllControlsDirty();
        surface->TickAndRedraw();
    }
}
BENCHMARK(BM_DrawTickAllControls)->Unit(benchmark::kMicrosecond);

// Heap bytes one instance's editor holds (surface, back buffer, the 78
// controls; the art is shared by every instance and not counted): what the
// heap gives back when the surface goes, and what a whole instance takes.
void BM_EditorMemoryPerInstance(benchmark::State& state)
{
    double editorBytes = 0.0, instanceBytes = 0.0;
    for (auto _ : state) {
        const auto empty = mallinfo2().uordblks;
        auto plug = std::make_unique<Ostrand>();
        const auto built = mallinfo2().uordblks;
        // Frees the surface and its controls (the engine is told nothing
        // more, and nothing ticks the surface's hook again).
        plug->SetEditorServices(nullptr);
        plug->AttachEditor(nullptr);
        const auto without = mallinfo2().uordblks;
        instanceBytes = static_cast<double>(built - empty);
        editorBytes = static_cast<double>(built - without);
    }
    state.counters["editor_bytes"] = editorBytes;
    state.counters["instance_bytes"] = instanceBytes;
}
BENCHMARK(BM_EditorMemoryPerInstance)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
