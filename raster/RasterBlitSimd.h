// Vectorised source-alpha copy rows (library internal). Results are identical
// to the per-pixel kernels CopySourceAlphaFull and CopySourceAlpha.
#pragma once

#include "raster/RasterBlitRows.h"

// a == 256: the exact full-opacity kernel; otherwise the weighted one.
void RasterCopySourceAlphaRows(const RasterRows& rows, int a);
