// PNG decoding into 32-bit bitmaps (straight alpha, A << 24 | R << 16 |
// G << 8 | B; images without alpha get A = 255). Every libpng error, a bad
// signature, a truncated image or a target that cannot take the image's size
// yields nullptr. Decoding allocates; call it outside real-time code.
#pragma once

#include <cstddef>

#include "raster/RasterBitmap.h"

// File-type description of this decoder, for file dialogs.
extern const char kRasterPngFileTypes[];

// Decodes size bytes of PNG data. With a target, the target is resized to the
// image, filled and returned; otherwise a new RasterMemBitmap (rows aligned to
// 4 pixels) is returned, owned by the caller.
RasterBitmap* DecodePngMemory(const void* bytes, size_t size, RasterBitmap* target);

// Decodes the PNG file at utf8Path (wide-character file names on Windows).
// With checkExtension the name must end in ".png" (any case).
RasterBitmap* DecodePngFile(const char* utf8Path, RasterBitmap* target, bool checkExtension);
