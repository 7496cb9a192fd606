#include "raster/RasterBitmap.h"

intptr_t RasterBitmap::Extended(int32_t, void*) {
  return 0;
}
