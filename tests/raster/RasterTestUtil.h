// Helpers of the raster tests: filled bitmaps and pixel access.
#pragma once

#include <cstdint>
#include <memory>

#include "raster/RasterMemBitmap.h"

inline std::unique_ptr<RasterMemBitmap> MakeFilled(int32_t w, int32_t h, uint32_t pixel) {
  auto b = std::make_unique<RasterMemBitmap>(w, h, 4);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      b->GetBits()[y * b->GetRowSpan() + x] = pixel;
    }
  }
  return b;
}

inline uint32_t& Px(RasterBitmap& b, int32_t x, int32_t y) {
  return b.GetBits()[y * b.GetRowSpan() + x];
}

inline int CountNot(RasterBitmap& b, uint32_t pixel) {
  int n = 0;
  for (int32_t y = 0; y < b.GetHeight(); ++y) {
    for (int32_t x = 0; x < b.GetWidth(); ++x) {
      n += Px(b, x, y) != pixel ? 1 : 0;
    }
  }
  return n;
}
