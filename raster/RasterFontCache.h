// The process-wide font cache: one RasterFont per {size, orientation, style,
// name}. Styles that differ only in colour, alignment or quality share a font
// (which keeps the quality of the style that created it). Fonts live until
// the module unloads. The lock is held only for lookup and insertion.
#pragma once

#include "raster/RasterFont.h"
#include "raster/TextStyle.h"

// Finds or creates the font of a style and stores it in style.font. Returns
// nullptr (and caches nothing) when the system font cannot be made.
RasterFont* ResolveFont(ITextStyle& style);
