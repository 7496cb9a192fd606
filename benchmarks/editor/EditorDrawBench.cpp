// Draw-cycle cost of an editor the size of the plug-in's: 674 x 262 with a
// background and 79 bitmap controls (40 x 40 frames blended with source
// alpha), i.e. 80 controls. Bitmaps are made in memory, not decoded.
#include "editor/IBitmapControl.h"
#include "editor/headless/IEditorSurfaceHeadless.h"
#include "raster/RasterMemBitmap.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 674;
constexpr int kHeight = 262;
constexpr int kKnob = 40;
constexpr int kFrames = 64;
constexpr int kBackgroundId = 30100;
constexpr int kStripId = 30101;

// Makes the two bitmaps instead of decoding resources.
class BenchSurface : public IEditorSurfaceHeadless {
public:
    BenchSurface() : IEditorSurfaceHeadless(nullptr, kWidth, kHeight) {}

    bool PresentBounds(const IBounds&) override { return true; }
    RasterBitmap* LoadPlatformBitmap(int id, const char*) override
    {
        const bool background = id == kBackgroundId;
        auto* bitmap = new RasterMemBitmap(background ? kWidth : kKnob, background ? kHeight : kKnob * kFrames);
        uint32_t* px = bitmap->GetBits();
        for (int y = 0; y < bitmap->GetHeight(); ++y)
            for (int x = 0; x < bitmap->GetWidth(); ++x) {
                const uint32_t alpha = background ? 255u : static_cast<uint32_t>((x * 7 + y * 3) & 255);
                px[y * bitmap->GetRowSpan() + x] = alpha << 24 | static_cast<uint32_t>(x * 5 + y) % 0xffffffu;
            }
        return bitmap;
    }
};

std::unique_ptr<BenchSurface> MakeEditor()
{
    auto surface = std::make_unique<BenchSurface>();
    surface->AddBackground(kBackgroundId, "background.png");
    const IBitmapStrip strip = surface->LoadStrip(kStripId, "knob.png", kFrames, false);
    for (int i = 0; i < 79; ++i) {
        const int x = 4 + (i % 16) * 42;
        const int y = 4 + (i / 16) * 52;
        auto* knob = new IBitmapControl(nullptr, x, y, -1, strip);
        knob->mValue = (i % 17) / 16.0;
        surface->AddControl(knob);
    }
    surface->CreateBackBuffer();
    surface->TickAndRedraw();
    return surface;
}

//------------------------------------------------------------------------
void BM_IdleTick80Controls(benchmark::State& state)
{
    auto surface = MakeEditor();
    IBounds dirty;
    for (auto _ : state) {
        benchmark::DoNotOptimize(surface->DrawTick(dirty));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_IdleTick80Controls);

//------------------------------------------------------------------------
void BM_FullRedraw80Controls(benchmark::State& state)
{
    auto surface = MakeEditor();
    for (auto _ : state) {
        surface->MarkAllControlsDirty();
        benchmark::DoNotOptimize(surface->TickAndRedraw());
    }
}
BENCHMARK(BM_FullRedraw80Controls)->Unit(benchmark::kMicrosecond);

//------------------------------------------------------------------------
void BM_OneKnobTurn80Controls(benchmark::State& state)
{
    // One knob changes per tick: only what touches it is drawn.
    auto surface = MakeEditor();
    IControl* knob = surface->GetControl(20);
    double v = 0.0;
    for (auto _ : state) {
        v = v > 0.98 ? 0.0 : v + 0.01;
        knob->SetValueFromHost(v);
        benchmark::DoNotOptimize(surface->TickAndRedraw());
    }
}
BENCHMARK(BM_OneKnobTurn80Controls)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
