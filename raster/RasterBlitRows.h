// Row addressing of a clipped blit (library internal): the first row of each
// bitmap and the byte step to the next, negative for bottom-up bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/RasterBitmap.h"

// The opacity as a weight 0..256 (trunc(opacity x 256), held at 256 above 1.0).
int RasterOpacityWeight(float opacity);

struct RasterRows {
  uint8_t* dest = nullptr;
  const uint8_t* src = nullptr;
  ptrdiff_t destStep = 0;
  ptrdiff_t srcStep = 0;
  int32_t width = 0;
  int32_t height = 0;

  // Addresses the w x h area at (dx, dy) of dest and (sx, sy) of src; false
  // when either bitmap has no pixels. The area must already be clipped.
  bool Set(RasterBitmap* d, RasterBitmap* s, int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t w,
           int32_t h) {
    uint32_t* dBits = d->GetBits();
    uint32_t* sBits = s->GetBits();
    if (dBits == nullptr || sBits == nullptr) {
      return false;
    }
    dest = RowStart(d, dBits, dy, destStep) + ptrdiff_t{dx} * 4;
    src = RowStart(s, sBits, sy, srcStep) + ptrdiff_t{sx} * 4;
    width = w;
    height = h;
    return true;
  }

  uint32_t* DestRow(int32_t y) const { return reinterpret_cast<uint32_t*>(dest + y * destStep); }
  const uint32_t* SourceRow(int32_t y) const { return reinterpret_cast<const uint32_t*>(src + y * srcStep); }

  static uint8_t* RowStart(RasterBitmap* b, uint32_t* bits, int32_t y, ptrdiff_t& step) {
    const ptrdiff_t span = ptrdiff_t{b->GetRowSpan()} * 4;
    uint8_t* base = reinterpret_cast<uint8_t*>(bits);
    if (b->IsFlipped()) {
      step = -span;
      return base + (b->GetHeight() - 1 - y) * span;
    }
    step = span;
    return base + y * span;
  }
};

// Applies op(destPixel, srcPixel) to every pixel of the area, row by row.
template <class Op>
inline void ForEachPixel(const RasterRows& r, Op op) {
  for (int32_t y = 0; y < r.height; ++y) {
    uint8_t* d = r.dest + y * r.destStep;
    const uint8_t* s = r.src + y * r.srcStep;
    for (int32_t x = 0; x < r.width; ++x) {
      op(d + 4 * x, s + 4 * x);
    }
  }
}
