// The system side of fonts (library internal): creating system fonts,
// measuring them and drawing single characters white on black into a
// scratch surface, plus the Windows text drawing. One implementation per
// system: GDI on Windows, FreeType with fontconfig elsewhere.
#pragma once

#include <cstdint>

#include "raster/RasterFont.h"
#include "raster/RasterSysBitmap.h"

struct RasterSystemFontRequest {
  const char* face;
  int32_t height;         // pixels (the cell height)
  int32_t escapement;     // tenths of a degree
  int32_t weight;         // 400 normal, 700 bold
  bool italic;
  int32_t quality;        // 0 default, 1 non-antialiased, 2 antialiased, 3 ClearType
};

RasterSystemFont RasterCreateSystemFont(const RasterSystemFontRequest& request);
void RasterDeleteSystemFont(RasterSystemFont font);

// The process-wide scratch surface for measuring and glyph capture (at least
// 256 x 256, created on first use; editor thread only).
RasterSysBitmap& RasterGlyphScratch();

// The font's character height in pixels.
int32_t RasterMeasureLineHeight(RasterSystemFont font);

// Measures one character: its advance and height in pixels (0 when unknown).
void RasterMeasureChar(RasterSystemFont font, uint32_t codePoint, int32_t& advance, int32_t& height);

// Draws one character white on an opaque black width x height cell at the
// top-left of the scratch surface, which must be at least that large.
void RasterDrawCharCell(RasterSystemFont font, uint32_t codePoint, int32_t width, int32_t height);

// True when the process runs under Wine (asked once, then remembered).
bool RasterRunningUnderWine();

// True when this system has its own text drawing for RasterFont to use.
bool RasterHasSystemTextDrawing();
