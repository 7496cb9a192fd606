#include "raster/RasterGlyph.h"

#include <cstddef>

#include "raster/RasterBlit.h"
#include "raster/RasterBlitRows.h"
#include "raster/RasterPixelOps.h"

using namespace raster_ops;

namespace {

struct Colour {
  uint8_t b[4];
  uint32_t word;
};

//---
Colour Split(uint32_t word) {
  return {{static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word >> 16),
           static_cast<uint8_t>(word >> 24)},
          word};
}

// Copy-mode blend of a colour into a pixel, e keeping the destination (0..256).
inline void Keep(uint8_t* d, const Colour& c, int e) {
  for (int i = 0; i < 3; ++i) {
    d[i] = static_cast<uint8_t>((d[i] - c.b[i]) * e / 256 + c.b[i]);
  }
  d[3] = static_cast<uint8_t>(255 - (255 - d[3]) * e / 256);
}

// The other modes: B, G, R by the mode's formula with weight k, alpha as in copy.
inline void Combine(uint8_t* d, const Colour& c, int mode, int k) {
  const uint8_t alpha = d[3];
  switch (mode) {
    case kRasterAdd:
      for (int i = 0; i < 3; ++i) d[i] = AddChannel(d[i], c.b[i], k);
      break;
    case kRasterDodge:
      for (int i = 0; i < 3; ++i) d[i] = DodgeChannel(d[i], c.b[i], k);
      break;
    case kRasterMultiply:
      for (int i = 0; i < 3; ++i) d[i] = MultiplyChannel(d[i], c.b[i], k);
      break;
    case kRasterOverlay:
      for (int i = 0; i < 3; ++i) d[i] = OverlayChannel(d[i], c.b[i], k);
      break;
    case kRasterHsvAdjust:
      HsvAdjust(d, c.b, k);
      break;
    default:
      return;
  }
  d[3] = static_cast<uint8_t>(255 - (255 - alpha) * (256 - k) / 256);
}

}  // namespace

//---
void RasterDrawGlyph(RasterBitmap* dest, const uint8_t* mask, int32_t width, int32_t height, int32_t x, int32_t y,
                     const RasterRect& clip, const RasterGlyphPaint& paint) {
  if (dest == nullptr || mask == nullptr || width <= 0 || height <= 0 || !(paint.opacity > 0.0f)) {
    return;
  }
  uint32_t* bits = dest->GetBits();
  if (bits == nullptr) {
    return;
  }
  int64_t l = clip.left > 0 ? clip.left : 0;
  int64_t t = clip.top > 0 ? clip.top : 0;
  int64_t r = clip.right < dest->GetWidth() ? clip.right : dest->GetWidth();
  int64_t b = clip.bottom < dest->GetHeight() ? clip.bottom : dest->GetHeight();
  if (x > l) l = x;
  if (y > t) t = y;
  if (int64_t{x} + width < r) r = int64_t{x} + width;
  if (int64_t{y} + height < b) b = int64_t{y} + height;
  if (l >= r || t >= b) {
    return;
  }
  const int32_t cl = static_cast<int32_t>(l), ct = static_cast<int32_t>(t);
  const int32_t cw = static_cast<int32_t>(r - l), ch = static_cast<int32_t>(b - t);
  if (paint.backgroundMode == 2) {
    RasterFillRect(dest, cl, ct, cw, ch, paint.backgroundColour, paint.opacity,
                   paint.blendMode & ~kRasterUseSourceAlpha);
  }
  const int mode = paint.blendMode & 0xff;
  const bool plain = mode == kRasterCopy && paint.opacity == 1.0f;
  const int weight = paint.opacity >= 256.0f ? 65536 : static_cast<int>(paint.opacity * 256.0f);
  if (weight == 0) {
    return;
  }
  const int capped = weight > 256 ? 256 : weight;
  const Colour text = Split(paint.textColour);
  const Colour effect = Split(paint.effectColour);
  ptrdiff_t step = 0;
  uint8_t* first = RasterRows::RowStart(dest, bits, ct, step) + ptrdiff_t{cl} * 4;
  for (int32_t row = 0; row < ch; ++row) {
    const uint8_t* m = mask + static_cast<ptrdiff_t>(ct - y + row) * width + (cl - x);
    uint8_t* d = first + row * step;
    for (int32_t col = 0; col < cw; ++col, d += 4) {
      const int cover = m[col];
      if (cover == 0) continue;
      if (paint.kind != kRasterGlyphAntialiased) {
        const Colour& c = (paint.kind == kRasterGlyphEffect && cover < 255) ? effect : text;
        if (plain) {
          *reinterpret_cast<uint32_t*>(d) = c.word;
        } else if (mode == kRasterCopy) {
          Keep(d, c, 256 - capped);
        } else {
          Combine(d, c, mode, capped);
        }
      } else if (mode == kRasterCopy) {
        if (plain) {
          Keep(d, text, 255 - cover);
        } else {
          const int k = weight * cover / 256;
          Keep(d, text, 256 - (k > 256 ? 256 : k));
        }
      } else {
        int k = paint.opacity == 1.0f ? cover + 1 : weight * cover / 256;
        Combine(d, text, mode, k > 256 ? 256 : k);
      }
    }
  }
}
