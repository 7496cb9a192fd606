// Rectangle blits and fills with an opacity and a combine mode.
//
// All arithmetic is integer and exact: the editor's fades depend on it. The
// opacity becomes a weight a = trunc(opacity x 256), limited to 0..256 so that
// no channel can wrap. Nothing here allocates or locks.
#pragma once

#include "raster/RasterBitmap.h"

// Blit mode: the low byte selects the combine operation, kRasterUseSourceAlpha
// adds weighting by each source pixel's alpha.
enum : int32_t {
  kRasterCopy = 0,        // replace, blending towards the source by a
  kRasterAdd = 1,         // add the source scaled by a, saturating
  kRasterDodge = 2,       // colour dodge by the source scaled by a
  kRasterMultiply = 3,    // multiply by the source blended with white by a
  kRasterOverlay = 4,     // overlay of the source blended with mid grey by a
  kRasterHsvAdjust = 5,   // shift the destination's hue, saturation and value
  kRasterChannelCopy = 0xf0,  // 0xf0 | dstByte << 2 | srcByte: copy one byte per pixel
  kRasterUseSourceAlpha = 0x10000,
};

// Combines src (or the part srcRect of it) into dest with its top-left corner
// at (dstX, dstY). Clipped to both bitmaps; a source rectangle reaching left
// of or above the source moves the destination by the cut-off amount. Draws
// nothing for a missing bitmap, a bitmap without pixels, opacity 0 (or not a
// number) or an empty clipped area.
void RasterBlit(RasterBitmap* dest, RasterBitmap* src, int32_t dstX, int32_t dstY,
                const RasterRect* srcRect, float opacity, int32_t mode);

// Fills a rectangle of dest with colour (an ARGB word) at an opacity. With
// kRasterUseSourceAlpha the opacity is scaled by the colour's alpha instead.
void RasterFillRect(RasterBitmap* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                    uint32_t colour, float opacity, int32_t mode);
