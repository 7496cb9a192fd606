#pragma once
// Measuring and drawing one line of text with the raster library's fonts,
// for the editor-drawn text entry and popup menus.
#include "raster/RasterBitmap.h"
#include "raster/TextStyle.h"

// Width in pixels of the first length bytes of text; 0 without a font.
int X11TextWidth(ITextStyle& style, const char* text, int length);
// Height of one line of the style's font; the style's size without a font.
int X11LineHeight(ITextStyle& style);
// Draws the first length bytes of text with its top-left corner at (x, y)
// in colour (an ARGB word), unclipped except by the bitmap.
void X11DrawText(RasterBitmap& target, ITextStyle& style, const char* text, int length, int x, int y,
                 uint32_t colour);
