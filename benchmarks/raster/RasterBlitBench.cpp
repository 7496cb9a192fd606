// Blit throughput (Mpixel/s as items_per_second) and the time of a full editor
// redraw, each also measured with pixman's OVER composite of the same sizes.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <random>
#include <vector>

#include "raster/RasterBlit.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterSysBitmap.h"

namespace {

constexpr int kSide = 256;

// Art-like pixels: a third fully transparent, a third opaque, the rest between.
void FillArt(RasterBitmap& b, uint32_t seed) {
  std::mt19937 random(seed);
  for (int y = 0; y < b.GetHeight(); ++y) {
    for (int x = 0; x < b.GetWidth(); ++x) {
      const uint32_t colour = random() & 0xffffff;
      const uint32_t pick = random() % 3;
      const uint32_t alpha = pick == 0 ? 0 : (pick == 1 ? 255 : 1 + random() % 254);
      b.GetBits()[y * b.GetRowSpan() + x] = alpha << 24 | colour;
    }
  }
}

//---
void BlitSquare(benchmark::State& state, float opacity, int32_t mode) {
  RasterMemBitmap src(kSide, kSide, 4), dest(kSide, kSide, 4);
  FillArt(src, 1);
  FillArt(dest, 2);
  for (auto _ : state) {
    RasterBlit(&dest, &src, 0, 0, nullptr, opacity, mode);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_SourceAlphaCopy_Opacity1(benchmark::State& s) { BlitSquare(s, 1.0f, kRasterUseSourceAlpha); }
void BM_SourceAlphaCopy_Opacity05(benchmark::State& s) { BlitSquare(s, 0.5f, kRasterUseSourceAlpha); }
void BM_PlainCopy(benchmark::State& s) { BlitSquare(s, 1.0f, kRasterCopy); }
void BM_SourceAlphaAdd_Opacity1(benchmark::State& s) { BlitSquare(s, 1.0f, kRasterUseSourceAlpha | kRasterAdd); }

// pixman works on premultiplied pixels; the art is converted once up front.
pixman_image_t* PixmanArt(int w, int h, uint32_t seed, std::vector<uint32_t>& store) {
  RasterMemBitmap b(w, h, 1);
  FillArt(b, seed);
  store.assign(b.GetBits(), b.GetBits() + w * h);
  for (uint32_t& p : store) {
    const uint32_t a = p >> 24;
    auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
    p = a << 24 | mul((p >> 16) & 0xff) << 16 | mul((p >> 8) & 0xff) << 8 | mul(p & 0xff);
  }
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, store.data(), w * 4);
}

//---
void BM_PixmanOver(benchmark::State& state) {
  std::vector<uint32_t> s, d;
  pixman_image_t* src = PixmanArt(kSide, kSide, 1, s);
  pixman_image_t* dest = PixmanArt(kSide, kSide, 2, d);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dest, 0, 0, 0, 0, 0, 0, kSide, kSide);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
  pixman_image_unref(src);
  pixman_image_unref(dest);
}

// A full 674 x 262 editor redraw: the background and 79 controls of typical
// sizes (knobs, buttons, faders, lights and labels), all with source alpha;
// a few fading at partial opacity.
struct Control {
  int x, y, w, h;
  float opacity;
};

std::vector<Control> EditorLayout() {
  std::vector<Control> controls;
  controls.push_back({0, 0, 674, 262, 1.0f});
  for (int i = 0; i < 12; ++i) controls.push_back({20 + i * 52, 40, 48, 48, 1.0f});           // knobs
  for (int i = 0; i < 4; ++i) controls.push_back({40 + i * 150, 110, 64, 64, 1.0f});          // big knobs
  for (int i = 0; i < 24; ++i) controls.push_back({10 + i * 27, 190, 24, 16, i % 6 ? 1.0f : 0.5f});  // buttons
  for (int i = 0; i < 6; ++i) controls.push_back({560 + (i % 3) * 34, 100 + (i / 3) * 80, 20, 72, 1.0f});  // faders
  for (int i = 0; i < 16; ++i) controls.push_back({10 + i * 41, 220, 36, 12, 1.0f});          // lights
  for (int i = 0; i < 17; ++i) controls.push_back({10 + i * 38, 240, 34, 14, i % 4 ? 1.0f : 0.75f});  // labels
  return controls;
}

//---
void BM_EditorRedraw(benchmark::State& state) {
  const std::vector<Control> controls = EditorLayout();
  RasterSysBitmap back(674, 262);
  RasterMemBitmap art(674, 262, 4);
  FillArt(art, 3);
  int64_t pixels = 0;
  for (const Control& c : controls) pixels += int64_t{c.w} * c.h;
  for (auto _ : state) {
    for (const Control& c : controls) {
      const RasterRect part{c.x, c.y, c.x + c.w, c.y + c.h};
      RasterBlit(&back, &art, c.x, c.y, &part, c.opacity, c.w == 674 ? kRasterCopy : kRasterUseSourceAlpha);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["blits"] = static_cast<double>(controls.size());
}

//---
void BM_PixmanEditorRedraw(benchmark::State& state) {
  const std::vector<Control> controls = EditorLayout();
  std::vector<uint32_t> a, b;
  pixman_image_t* art = PixmanArt(674, 262, 3, a);
  pixman_image_t* back = PixmanArt(674, 262, 4, b);
  int64_t pixels = 0;
  for (const Control& c : controls) pixels += int64_t{c.w} * c.h;
  for (auto _ : state) {
    for (const Control& c : controls) {
      const pixman_op_t op = c.w == 674 ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
      pixman_image_composite32(op, art, nullptr, back, c.x, c.y, 0, 0, c.x, c.y, c.w, c.h);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * pixels);
  pixman_image_unref(art);
  pixman_image_unref(back);
}

}  // namespace

BENCHMARK(BM_SourceAlphaCopy_Opacity1);
BENCHMARK(BM_SourceAlphaCopy_Opacity05);
BENCHMARK(BM_PlainCopy);
BENCHMARK(BM_SourceAlphaAdd_Opacity1);
BENCHMARK(BM_PixmanOver);
BENCHMARK(BM_EditorRedraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanEditorRedraw)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
