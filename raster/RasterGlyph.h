// Drawing of one glyph's 8-bit coverage mask into a bitmap (used by
// RasterFont). Integer arithmetic only; no allocation.
#pragma once

#include "raster/RasterBitmap.h"

enum RasterGlyphKind : int32_t {
  kRasterGlyphAntialiased = 0,  // the mask is the per-pixel weight of the text colour
  kRasterGlyphMonochrome = 1,   // any set mask pixel is text
  kRasterGlyphEffect = 2,       // 255 is text, other set values are shadow or outline
};

struct RasterGlyphPaint {
  uint32_t textColour = 0;              // ARGB
  uint32_t effectColour = 0xffffffffu;  // ARGB of shadow and outline pixels
  uint32_t backgroundColour = 0xffffffffu;
  int32_t backgroundMode = 1;           // 1 transparent, 2 opaque (fills the glyph cell)
  int32_t blendMode = 0;                // kRasterCopy .. kRasterHsvAdjust
  float opacity = 1.0f;
  RasterGlyphKind kind = kRasterGlyphAntialiased;
};

// Draws the width x height mask (row by row) with its top-left corner at
// (x, y), cut to clip (right and bottom exclusive) and to the bitmap. Mask
// pixels of 0 leave the bitmap untouched.
void RasterDrawGlyph(RasterBitmap* dest, const uint8_t* mask, int32_t width, int32_t height, int32_t x, int32_t y,
                     const RasterRect& clip, const RasterGlyphPaint& paint);
