#include <cstddef>

#include "raster/RasterBlit.h"
#include "raster/RasterBlitRows.h"
#include "raster/RasterPixelOps.h"

using namespace raster_ops;

namespace {

//---
template <class Op>
void ForEachFillPixel(uint8_t* first, ptrdiff_t step, int32_t w, int32_t h, Op op) {
  for (int32_t y = 0; y < h; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(first + y * step);
    for (int32_t x = 0; x < w; ++x) {
      op(row[x]);
    }
  }
}

//---
template <class Kernel>
void CombineFill(uint8_t* first, ptrdiff_t step, int32_t w, int32_t h, const uint8_t* colour, Kernel k) {
  ForEachFillPixel(first, step, w, h, [colour, k](uint32_t& p) { k(reinterpret_cast<uint8_t*>(&p), colour); });
}

}  // namespace

//---
void RasterFillRect(RasterBitmap* dest, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour,
                    float opacity, int32_t mode) {
  if (dest == nullptr) {
    return;
  }
  if (mode & kRasterUseSourceAlpha) {
    opacity = opacity * (static_cast<float>(colour >> 24) * 0.003921569f);
    mode &= ~kRasterUseSourceAlpha;
  }
  uint32_t* bits = dest->GetBits();
  if (!(opacity > 0.0f) || bits == nullptr) {
    return;
  }
  int64_t x0 = x, y0 = y, w = width, h = height;
  if (x0 < 0) {
    w += x0;
    x0 = 0;
  }
  if (y0 < 0) {
    h += y0;
    y0 = 0;
  }
  if (x0 + w > dest->GetWidth()) w = dest->GetWidth() - x0;
  if (y0 + h > dest->GetHeight()) h = dest->GetHeight() - y0;
  if (w <= 0 || h <= 0) {
    return;
  }
  const int o = RasterOpacityWeight(opacity);
  if (o == 0) {
    return;
  }
  ptrdiff_t step = 0;
  uint8_t* first = RasterRows::RowStart(dest, bits, static_cast<int32_t>(y0), step) + x0 * 4;
  const int32_t cw = static_cast<int32_t>(w), ch = static_cast<int32_t>(h);
  const uint8_t c[4] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 24)};
  const uint32_t half = (colour >> 1) & 0x7f7f7f7fu;
  const uint32_t quarter = (colour >> 2) & 0x3f3f3f3fu;
  if ((mode & 0xff) >= kRasterChannelCopy) {
    const int to = (mode >> 2) & 3;
    const uint8_t value = c[mode & 3];
    ForEachFillPixel(first, step, cw, ch, [to, value](uint32_t& p) { reinterpret_cast<uint8_t*>(&p)[to] = value; });
    return;
  }
  switch (mode) {
    case kRasterCopy:
      if (o == 256) {
        ForEachFillPixel(first, step, cw, ch, [colour](uint32_t& p) { p = colour; });
      } else if (o == 128) {
        ForEachFillPixel(first, step, cw, ch, [half](uint32_t& p) { p = half + ((p >> 1) & 0x7f7f7f7fu); });
      } else if (o == 64) {
        ForEachFillPixel(first, step, cw, ch, [quarter](uint32_t& p) {
          p = ((p >> 1) & 0x7f7f7f7fu) + ((p >> 2) & 0x3f3f3f3fu) + quarter;
        });
      } else if (o == 192) {
        ForEachFillPixel(first, step, cw, ch,
                         [half, quarter](uint32_t& p) { p = half + quarter + ((p >> 2) & 0x3f3f3f3fu); });
      } else {
        CombineFill(first, step, cw, ch, c, [o](uint8_t* d, const uint8_t* s) { CopyWeighted(d, s, o); });
      }
      break;
    case kRasterAdd:
      CombineFill(first, step, cw, ch, c, [o](uint8_t* d, const uint8_t* s) { Add(d, s, o); });
      break;
    case kRasterDodge:
      CombineFill(first, step, cw, ch, c, [o](uint8_t* d, const uint8_t* s) { Dodge(d, s, o); });
      break;
    case kRasterMultiply:
      CombineFill(first, step, cw, ch, c, [o](uint8_t* d, const uint8_t* s) { Multiply(d, s, o); });
      break;
    case kRasterOverlay:
      CombineFill(first, step, cw, ch, c, [o](uint8_t* d, const uint8_t* s) { Overlay(d, s, o); });
      break;
    case kRasterHsvAdjust:
      CombineFill(first, step, cw, ch, c, [o](uint8_t* d, const uint8_t* s) { HsvAdjust(d, s, o); });
      break;
    default:
      break;
  }
}
