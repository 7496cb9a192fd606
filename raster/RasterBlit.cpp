#include "raster/RasterBlit.h"

#include <cstddef>
#include <cstring>

#include "raster/RasterBlitRows.h"
#include "raster/RasterBlitSimd.h"
#include "raster/RasterPixelOps.h"

using namespace raster_ops;

namespace {

//---
void AverageRows(const RasterRows& r) {
  for (int32_t y = 0; y < r.height; ++y) {
    uint32_t* d = r.DestRow(y);
    const uint32_t* s = r.SourceRow(y);
    for (int32_t x = 0; x < r.width; ++x) {
      d[x] = ((s[x] >> 1) & 0x7f7f7f7fu) + ((d[x] >> 1) & 0x7f7f7f7fu);
    }
  }
}

//---
void CopyRows(const RasterRows& r) {
  const size_t bytes = static_cast<size_t>(r.width) * 4;
  for (int32_t y = 0; y < r.height; ++y) {
    std::memmove(r.DestRow(y), r.SourceRow(y), bytes);
  }
}

//---
void ChannelCopyRows(const RasterRows& r, int32_t mode) {
  const int to = (mode >> 2) & 3;
  const int from = mode & 3;
  ForEachPixel(r, [to, from](uint8_t* d, const uint8_t* s) { d[to] = s[from]; });
}

//---
void CombineRows(const RasterRows& r, int32_t mode, int a) {
  switch (mode) {
    case kRasterCopy:
      if (a == 256) {
        CopyRows(r);
      } else {
        ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { CopyWeighted(d, s, a); });
      }
      break;
    case kRasterAdd:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { Add(d, s, a); });
      break;
    case kRasterDodge:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { Dodge(d, s, a); });
      break;
    case kRasterMultiply:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { Multiply(d, s, a); });
      break;
    case kRasterOverlay:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { Overlay(d, s, a); });
      break;
    case kRasterHsvAdjust:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { HsvAdjust(d, s, a); });
      break;
    case kRasterUseSourceAlpha | kRasterCopy:
      RasterCopySourceAlphaRows(r, a);
      break;
    case kRasterUseSourceAlpha | kRasterAdd:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { AddSourceAlpha(d, s, a); });
      break;
    case kRasterUseSourceAlpha | kRasterDodge:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { DodgeSourceAlpha(d, s, a); });
      break;
    case kRasterUseSourceAlpha | kRasterMultiply:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { MultiplySourceAlpha(d, s, a); });
      break;
    case kRasterUseSourceAlpha | kRasterOverlay:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { OverlaySourceAlpha(d, s, a); });
      break;
    case kRasterUseSourceAlpha | kRasterHsvAdjust:
      ForEachPixel(r, [a](uint8_t* d, const uint8_t* s) { HsvAdjustSourceAlpha(d, s, a); });
      break;
    default:
      break;  // any other combination draws nothing
  }
}

}  // namespace

//---
int RasterOpacityWeight(float opacity) {
  // Not-a-number and negative opacities draw nothing; above 1.0 the weight is
  // held at 256 so that no kernel extrapolates past the source.
  if (!(opacity > 0.0f)) {
    return 0;
  }
  if (opacity >= 1.0f) {
    return 256;
  }
  return static_cast<int>(opacity * 256.0f);
}

//---
void RasterBlit(RasterBitmap* dest, RasterBitmap* src, int32_t dstX, int32_t dstY,
                const RasterRect* srcRect, float opacity, int32_t mode) {
  // Zero, negative and not-a-number opacities draw nothing in every mode,
  // the channel copy (which otherwise ignores the opacity) included.
  if (dest == nullptr || src == nullptr || !(opacity > 0.0f)) {
    return;
  }
  // Clip in 64 bits so that absurd positions cannot overflow.
  int64_t x0 = 0, y0 = 0, x1 = src->GetWidth(), y1 = src->GetHeight();
  int64_t dx = dstX, dy = dstY;
  if (srcRect != nullptr) {
    x1 = srcRect->right < x1 ? srcRect->right : x1;
    y1 = srcRect->bottom < y1 ? srcRect->bottom : y1;
    x0 = srcRect->left > 0 ? srcRect->left : 0;
    y0 = srcRect->top > 0 ? srcRect->top : 0;
    if (srcRect->left < 0) dx -= srcRect->left;
    if (srcRect->top < 0) dy -= srcRect->top;
  }
  if (dx < 0) {
    x0 -= dx;
    dx = 0;
  }
  if (dy < 0) {
    y0 -= dy;
    dy = 0;
  }
  if (dest->GetWidth() < x1 + dx - x0) x1 = dest->GetWidth() + x0 - dx;
  if (dest->GetHeight() < y1 + dy - y0) y1 = dest->GetHeight() + y0 - dy;
  if (x0 >= x1 || y0 >= y1) {
    return;
  }
  RasterRows rows;
  if (!rows.Set(dest, src, static_cast<int32_t>(dx), static_cast<int32_t>(dy), static_cast<int32_t>(x0),
                static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0), static_cast<int32_t>(y1 - y0))) {
    return;
  }
  if ((mode & 0xff) >= kRasterChannelCopy) {
    ChannelCopyRows(rows, mode);
    return;
  }
  if (mode == kRasterCopy) {
    if (opacity == 1.0f) {
      CopyRows(rows);
      return;
    }
    if (opacity == 0.5f) {
      AverageRows(rows);
      return;
    }
  }
  const int a = RasterOpacityWeight(opacity);
  if (a == 0) {
    return;
  }
  CombineRows(rows, mode, a);
}
